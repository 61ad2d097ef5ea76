// Reticle windows on a real X server under the clicks real hands make: a
// double click on a label is one click, a tick lying over an axis lets the
// press through to the axis, and a click on a bar so quick that its release
// reaches the program before the window manager starts the move leaves the
// window where it is.
#include "design_geometry.h"
#include "pointer.h"
#include "quick_click.h"
#include "reticle_driver.h"
#include "reticle_host_process.h"
#include "temporary_directory.h"
#include "wait.h"
#include "window_query.h"
#include "x_connection.h"

#include "designs/designs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zentaro::x11test {
namespace {

/// One reticle window in a host of its own, shown windowed.
class InputTest : public ::testing::Test
{
protected:
    void start(const ReticleDesign& design, bool reportOpenRequests = false)
    {
        design_ = &design;
        host_ = std::make_unique<ReticleHostProcess>(
            x_, HostOptions{{std::string(design.windowName)},
                            reportOpenRequests,
                            reportOpenRequests ? directory_.path().string() : std::string()});
        ASSERT_TRUE(host_->waitUntilShown());
        driver_.emplace(x_, *host_, design);
        const auto origin = driver_->origin();
        ASSERT_TRUE(origin);
        origin_ = *origin;
        ASSERT_TRUE(driver_->waitForState(false, origin_)) << "as loaded";
    }

    void TearDown() override
    {
        // The next test's window must not meet this one (see reticle_test).
        const XId window = host_ ? host_->window(design_->windowName) : XId{};
        driver_.reset();
        host_.reset();
        if (window != XId{}) {
            EXPECT_TRUE(waitUntilGone(x_, window));
        }
    }

    /// The screen point of the element's middle pixel.
    QPoint pointOn(std::string_view name)
    {
        return origin_ + driver_->geometry().centreOf(*design_->find(name));
    }

    /// A single click on the toggle label (beside its middle, where the
    /// double clicks go) and the state it leads to.
    ::testing::AssertionResult toggleOnce(bool toTransparent)
    {
        return driver_->toggle(toTransparent, origin_);
    }

    XConnection x_;
    TemporaryDirectory directory_;
    const ReticleDesign* design_ = nullptr;
    std::unique_ptr<ReticleHostProcess> host_;
    std::optional<ReticleDriver> driver_;
    QPoint origin_;
};

TEST_F(InputTest, DoubleClickOnTheToggleLabelTogglesOnce)
{
    start(designs::standardRossoFine());
    ASSERT_TRUE(sendDoubleClick(x_, pointOn("Label1")));
    ASSERT_TRUE(driver_->waitForState(true, origin_));
    // Had the second press counted, the window would be windowed again and
    // this click would make it transparent.
    ASSERT_TRUE(toggleOnce(false));
    ASSERT_TRUE(sendDoubleClick(x_, pointOn("Label1")));
    ASSERT_TRUE(driver_->waitForState(true, origin_));
    ASSERT_TRUE(toggleOnce(false));
}

TEST_F(InputTest, DoubleClickOnTwentyAsksTheDesktopOnce)
{
    start(designs::centratore(), true);
    ASSERT_TRUE(sendDoubleClick(x_, pointOn("Label11")));
    const std::string expected = "OPEN " + (directory_.path() / "20").string();
    // The first click's request. The toggle click is sent only then: the
    // double click's events all carry one server time, and a click elsewhere
    // sent with no gap after them may reach the program before it has read
    // them, as no hand can click.
    ASSERT_TRUE(waitUntil([&] { return !host_->linesStartingWith("OPEN").empty(); }))
        << "the double click on \"20\" made no request";
    // The toggle is handled after the double click: once it shows, every
    // request the double click made has been printed.
    ASSERT_TRUE(toggleOnce(true));
    EXPECT_EQ(host_->linesStartingWith("OPEN"), std::vector<std::string>{expected});
}

/// A pixel where a stroke lies over a bar (a tick crossing an axis), the
/// stroke drawn on top, at least `margin` pixels from the design's title
/// strip; nullopt when the design has none.
std::optional<QPoint> strokeOverBar(const DesignGeometry& geometry)
{
    const ReticleDesign& design = geometry.design();
    for (const DesignElement& stroke : design.elements) {
        if (!stroke.isStroke()) {
            continue;
        }
        const QRect strokeRect = geometry.elementRect(stroke);
        for (const DesignElement& bar : design.elements) {
            // Bars 1 to 6 away from the strip: the axes and frames.
            if (!bar.isBar() || bar.index == 0 || geometry.elementRect(bar).top() < 40) {
                continue;
            }
            const QRect crossing = strokeRect.intersected(geometry.elementRect(bar));
            if (!crossing.isEmpty() && geometry.topmostAt(crossing.topLeft()) == &stroke) {
                return crossing.topLeft();
            }
        }
    }
    return std::nullopt;
}

class TickOverAxisTest : public InputTest,
                         public ::testing::WithParamInterface<const ReticleDesign*>
{
};

TEST_P(TickOverAxisTest, DragFromATickCrossingAnAxisMovesTheWindow)
{
    start(*GetParam());
    const auto crossing = strokeOverBar(driver_->geometry());
    ASSERT_TRUE(crossing) << design_->designName << " has no tick over an axis";
    Pointer& pointer = driver_->pointer();
    const QPoint pressedAt = origin_ + *crossing;
    ASSERT_TRUE(pointer.moveTo(pressedAt));
    const auto cursorBefore = pointer.cursorSerial();
    ASSERT_TRUE(pointer.press(kLeftButton));
    const QPoint moveBegan = pressedAt + QPoint(3, 2);
    ASSERT_TRUE(pointer.moveTo(moveBegan));
    const bool managed = windowManagerRunning(x_);
    if (managed) {
        ASSERT_TRUE(waitUntil([&] { return pointer.cursorSerial() != cursorBefore; }))
            << "the window manager's move did not begin; " << driver_->describeState();
    }
    const QPoint end = moveBegan + QPoint(30, 20);
    ASSERT_TRUE(pointer.moveInSteps(end, 5));
    const QPoint expected = origin_ + (end - (managed ? moveBegan : pressedAt));
    EXPECT_TRUE(waitUntil([&] { return driver_->origin() == expected; }))
        << "expected " << toString(expected) << "; " << driver_->describeState();
    ASSERT_TRUE(pointer.release(kLeftButton));
}

std::vector<const ReticleDesign*> designsWithTicksOverAxes()
{
    return {&designs::croceRossaMicrometrica(), &designs::standardRosso(), &designs::centratore()};
}

std::string designName(const ::testing::TestParamInfo<const ReticleDesign*>& info)
{
    return std::string(info.param->designName);
}

INSTANTIATE_TEST_SUITE_P(Designs, TickOverAxisTest, ::testing::ValuesIn(designsWithTicksOverAxes()),
                         designName);

class QuickClickTest : public InputTest, public ::testing::WithParamInterface<bool>
{
};

TEST_P(QuickClickTest, QuickClicksOnABarLeaveTheWindowInPlace)
{
    // Press, a one-pixel jitter and the release in one burst: the motion asks
    // for the window manager's move, and the release reaches the program
    // before the window manager can take the pointer.
    constexpr int kClicks = 10;
    start(designs::croceRossa());
    bool transparent = GetParam();
    if (transparent) {
        ASSERT_TRUE(toggleOnce(true));
    }
    const auto bar = driver_->geometry().pointOnThinnestBar();
    ASSERT_TRUE(bar);
    Pointer& pointer = driver_->pointer();
    for (int i = 0; i < kClicks; ++i) {
        SCOPED_TRACE("quick click " + std::to_string(i + 1));
        // Alternate jitters: without a window manager the program follows
        // each as a one-pixel drag, and they cancel out.
        const QPoint jitter(i % 2 == 0 ? 1 : -1, 0);
        const auto before = driver_->origin();
        ASSERT_TRUE(before);
        ASSERT_TRUE(sendQuickClick(x_, *before + *bar, jitter));
        // The pointer goes on with no button held: the window stays.
        ASSERT_TRUE(pointer.moveInSteps(*before + *bar + QPoint(40, 30), 4));
        // The next click reaches the program (a window manager still moving
        // the window would swallow it), at the toggle label's place.
        transparent = !transparent;
        const auto now = driver_->origin();
        ASSERT_TRUE(now);
        EXPECT_LE((*now - origin_).manhattanLength(), 1) << driver_->describeState();
        origin_ = *now;
        ASSERT_TRUE(toggleOnce(transparent)) << driver_->describeState();
    }
}

INSTANTIATE_TEST_SUITE_P(BothStates, QuickClickTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "Transparent" : "Windowed");
                         });

} // namespace
} // namespace zentaro::x11test
