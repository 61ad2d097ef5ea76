// The soak session: what a user does with the program for hours, in a few
// minutes. Every menu window is opened and closed many times; while they are
// open, the reticle windows are toggled and dragged; at the end the main
// window is closed, the reticles carry on alone, and an "X" ends the program.
//
// Each action is a few steps of a StepRunner, so the program handles its
// events between them, and each is checked as it happens: a toggle by the
// window's state, its region in the program and its shape on the X server,
// and its client staying on the same screen pixel; a drag by where the window
// ends up and by the window manager giving the pointer back.
#pragma once

#include "pointer.h"
#include "soak_figures.h"
#include "soak_options.h"
#include "step_runner.h"
#include "x_connection.h"

#include <QPoint>
#include <QPointingDevice>
#include <QRegion>
#include <QWidget>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zentaro {
class ReticleWindow;
namespace shell {
class Application;
}
} // namespace zentaro

namespace zentaro::soak {

/// The union of the window's element boxes in its client coordinates, each
/// box's edges rounded by themselves: what the transparent state must show.
QRegion elementUnion(const ReticleWindow& window);

class SoakSession
{
public:
    SoakSession(shell::Application& app, StepRunner& runner, const SoakOptions& options,
                SoakFigures& figures);

    /// Plans the whole session into the runner: the cycles (each planned
    /// when it begins), then the end on the reticle windows alone.
    void plan();

private:
    enum class ToggleWay
    {
        Call,
        QtClick,
        RealClick
    };
    struct ActionState;

    // The parts of the plan.
    std::vector<Step> cycle(int index);
    std::vector<Step> openAll();
    std::vector<Step> closeAll();
    std::vector<Step> toggle(int reticle, ToggleWay way);
    std::vector<Step> toggleTo(int reticle, bool transparent);
    std::vector<Step> drag(int reticle);
    std::vector<Step> dragSteps(int reticle, const std::shared_ptr<ActionState>& state);
    Step raise(int reticle, const std::shared_ptr<ActionState>& state);
    StepResult windowFollows(const ReticleWindow& window, ActionState& state);
    Step checkAllRegions(const char* when);
    Step measureMemory(bool warmup);
    std::vector<Step> ending();

    // What the program and the X server show now.
    QWidget* menuWindow(int item) const;
    ReticleWindow* reticle(int index) const;
    std::optional<std::string> stateMismatch(ReticleWindow& window, bool transparent,
                                             QPoint origin);
    std::optional<std::string> regionMismatch(ReticleWindow& window);
    std::optional<QPoint> origin(const QWidget& window);
    /// A point on one of the window's bars, in client coordinates; `which`
    /// picks among the bars worth trying.
    QPoint barPoint(const ReticleWindow& window, long which) const;

    shell::Application& app_;
    StepRunner& runner_;
    SoakOptions options_;
    SoakFigures& figures_;
    x11test::XConnection x_;
    x11test::Pointer pointer_;
    /// Where the clicks built here come from (ToggleWay::QtClick): a mouse of
    /// their own, not the X pointer. Qt keeps the last press position per
    /// pointing device, and any press event built for a device sets it, even
    /// one that never came from that device; and Qt 6.8 (seen on 6.8.2,
    /// not on 6.4.2) lets a motion clear a pending double click only when it
    /// leaves that position. A built click on the label, then a real one
    /// there soon after another real press, made the real press the second
    /// of a double click, which toggles nothing.
    QPointingDevice builtClicks_;
    bool windowManager_ = false;
    long toggleCount_ = 0;
    long dragCount_ = 0;
    /// The X windows of the menu windows open in this cycle, to see them go.
    std::vector<x11test::XId> openedXWindows_;
};

} // namespace zentaro::soak
