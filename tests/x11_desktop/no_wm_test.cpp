// Reticle windows on a bare X server, with no window manager: nothing frames
// or places them, and nothing moves them for the program (the window system
// refuses the system move), so the program follows the pointer itself.
#include "design_geometry.h"
#include "pointer.h"
#include "reticle_driver.h"
#include "reticle_host_process.h"
#include "screenshot.h"
#include "wait.h"
#include "window_query.h"
#include "x_connection.h"

#include "designs/designs.h"
#include "platform/qt_bridge.h"
#include "reticle/reticle_painter.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace zentaro::x11test {
namespace {

constexpr std::chrono::milliseconds kExitWait{5000};

std::string designName(const ::testing::TestParamInfo<const ReticleDesign*>& info)
{
    return std::string(info.param->designName);
}

using platform::toQString;

class NoWindowManagerTest : public ::testing::TestWithParam<const ReticleDesign*>
{
protected:
    const ReticleDesign& design() const { return *GetParam(); }

    void SetUp() override
    {
        ASSERT_FALSE(windowManagerRunning(x_)) << "run this test in a session without one";
        host_ = std::make_unique<ReticleHostProcess>(
            x_, HostOptions{{std::string(design().windowName)}, false, {}});
        ASSERT_TRUE(host_->waitUntilShown());
        driver_.emplace(x_, *host_, design());
        const auto origin = driver_->origin();
        ASSERT_TRUE(origin);
        origin_ = *origin;
    }

    /// Whether the toggle label shows `caption` on the screen, pixel for
    /// pixel as the painter draws it.
    bool toggleLabelReads(std::string_view caption)
    {
        PaintOptions look;
        look.dpi = host_->dpi(design().windowName);
        look.toggleCaption = toQString(caption);
        const QImage expected = renderDesign(design(), look);
        const QRect label = driver_->geometry().elementRect(*design().find("Label1"));
        const auto origin = driver_->origin();
        return origin &&
               differingPixels(expected, grabScreen(x_, QRect(*origin, expected.size())), label)
                   .isEmpty();
    }

    XConnection x_;
    std::unique_ptr<ReticleHostProcess> host_;
    std::optional<ReticleDriver> driver_;
    QPoint origin_;
};

TEST_P(NoWindowManagerTest, ShowsTogglesDragsAndEnds)
{
    // Shown whole and unframed, the toggle label reading "Trasparente".
    ASSERT_TRUE(driver_->waitForState(false, origin_));
    EXPECT_TRUE(waitUntil([&] { return toggleLabelReads(kToggleToTransparent); }));

    // Transparent: shaped to the elements, in place, reading "Finestra".
    ASSERT_TRUE(driver_->toggle(true, origin_));
    EXPECT_TRUE(waitUntil([&] { return toggleLabelReads(kToggleToWindowed); }));

    // A left drag on a bar: the window follows the pointer by its travel
    // from the press until the release.
    const auto bar = driver_->geometry().pointOnThinnestBar();
    ASSERT_TRUE(bar) << design().designName << " has no bar to drag";
    Pointer& pointer = driver_->pointer();
    const QPoint pressedAt = origin_ + *bar;
    ASSERT_TRUE(pointer.moveTo(pressedAt));
    ASSERT_TRUE(pointer.press(kLeftButton));
    const QPoint firstMotion = pressedAt + QPoint(3, 2);
    ASSERT_TRUE(pointer.moveTo(firstMotion));
    const QPoint step(11, 7);
    constexpr int kSteps = 5;
    QPoint expected = origin_;
    for (int i = 1; i <= kSteps; ++i) {
        const QPoint at = firstMotion + step * i;
        ASSERT_TRUE(pointer.moveTo(at));
        expected = origin_ + (at - pressedAt);
        ASSERT_TRUE(waitUntil([&] { return driver_->origin() == expected; }))
            << "step " << i << ": expected origin " << toString(expected) << "; "
            << driver_->describeState();
    }
    ASSERT_TRUE(pointer.release(kLeftButton));

    // After the release the pointer goes on alone: the window stays where
    // the release left it. The toggle, handled after those motions, finds it
    // there, still transparent, and takes it back to the windowed state.
    ASSERT_TRUE(pointer.moveInSteps(firstMotion + step * kSteps + QPoint(60, 40), 4));
    ASSERT_TRUE(driver_->waitForState(true, expected));
    ASSERT_TRUE(driver_->toggle(false, expected));
    EXPECT_TRUE(waitUntil([&] { return toggleLabelReads(kToggleToTransparent); }));

    // "X" ends the program at once, successfully.
    ASSERT_TRUE(driver_->clickElement("Label2"));
    const auto status = host_->process().waitForExit(kExitWait);
    ASSERT_TRUE(status) << "the host still runs after a click on \"X\"";
    EXPECT_TRUE(status->isSuccess())
        << "exit code " << status->code << ", signal " << status->signal;
}

INSTANTIATE_TEST_SUITE_P(NoWindowManager, NoWindowManagerTest,
                         ::testing::Values(&designs::standardBianco(), &designs::punto(),
                                           &designs::centratore()),
                         designName);

} // namespace
} // namespace zentaro::x11test
