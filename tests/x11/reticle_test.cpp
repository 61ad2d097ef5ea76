// Reticle windows on a real X server with openbox: the shape of the two
// states, the drag by a bar, clicks through the transparent state, the
// close label and the centring scale's "20". Every element position comes
// from the design tables and the window's place on the screen.
#include "child_process.h"
#include "design_geometry.h"
#include "move_request_watch.h"
#include "pointer.h"
#include "regions.h"
#include "reticle_driver.h"
#include "reticle_host_process.h"
#include "screenshot.h"
#include "temporary_directory.h"
#include "test_window.h"
#include "wait.h"
#include "window_query.h"
#include "x_connection.h"

#include "designs/designs.h"

#include <gtest/gtest.h>

#include <X11/X.h>
#include <X11/Xatom.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zentaro::x11test {
namespace {

/// Clicks aimed at the background keep this far (pixels) from any element.
constexpr int kBackgroundMarginPixels = 4;
/// The reticle window's background, 0x00000040.
const QColor kReticleBackground(64, 0, 0);
/// The colour of the test's own window beneath a reticle window.
constexpr QRgb kBeneathColour = qRgb(0, 160, 90);

std::string designName(const ::testing::TestParamInfo<const ReticleDesign*>& info)
{
    return std::string(info.param->designName);
}

std::vector<const ReticleDesign*> allDesigns()
{
    const auto all = designs::all();
    return {all.begin(), all.end()};
}

QColor barColour(const ReticleDesign& design)
{
    return QColor(design.barColour.red(), design.barColour.green(), design.barColour.blue());
}

/// One reticle window, alone in its own host, shown windowed as loaded.
template <typename Param> class SingleReticleWindowTest : public ::testing::TestWithParam<Param>
{
protected:
    virtual const ReticleDesign& design() const = 0;

    void SetUp() override
    {
        host_ = std::make_unique<ReticleHostProcess>(
            x_, HostOptions{{std::string(design().windowName)}, false, {}});
        ASSERT_TRUE(host_->waitUntilShown());
        driver_.emplace(x_, *host_, design());
        ASSERT_NE(design().find("Label1"), nullptr) << design().designName << " has no Label1";
        const auto origin = driver_->origin();
        ASSERT_TRUE(origin);
        origin_ = *origin;
        ASSERT_TRUE(driver_->waitForState(false, origin_)) << "as loaded";
    }

    void TearDown() override
    {
        // The host ends with the test. Its window must be gone before the
        // next test's window appears in the same place: the window manager
        // resists a dragged window's edges against those of any window still
        // there, which would move the next window off the pointer's travel.
        const XId window = host_ ? host_->window(design().windowName) : XId{};
        driver_.reset();
        host_.reset();
        if (window != XId{}) {
            EXPECT_TRUE(waitUntilGone(x_, window))
                << design().designName << ": the ended host's window is still managed";
        }
    }

    XConnection x_;
    std::unique_ptr<ReticleHostProcess> host_;
    std::optional<ReticleDriver> driver_;
    QPoint origin_;
};

class ReticleWindowTest : public SingleReticleWindowTest<const ReticleDesign*>
{
protected:
    const ReticleDesign& design() const override { return *GetParam(); }
};

TEST_P(ReticleWindowTest, ToggleShowsOnlyTheElementsAndBackWithTheClientInPlace)
{
    const auto size = driver_->size();
    ASSERT_TRUE(size);
    // The screen under the client area, windowed, once a bar has been painted.
    const auto bar = driver_->geometry().pointOnThinnestBar();
    ASSERT_TRUE(bar);
    ASSERT_TRUE(waitUntil([&] { return screenPixel(x_, origin_ + *bar) == barColour(design()); }))
        << "windowed bar: " << screenPixel(x_, origin_ + *bar).name().toStdString();
    const QRect client(origin_, *size);
    const QImage windowed = grabScreen(x_, client);
    ASSERT_FALSE(windowed.isNull()) << "the client area is not wholly on the screen";

    ASSERT_TRUE(driver_->toggle(true, origin_));
    // Every element shows the same pixels as before, on the same screen
    // pixels; only the toggle label's caption changes.
    const QRect toggleLabel = driver_->geometry().elementRect(*design().find("Label1"));
    const QRegion unchanged = driver_->geometry().transparentRegion(*size).subtracted(toggleLabel);
    QRegion differing;
    const bool same = waitUntil([&] {
        differing = differingPixels(windowed, grabScreen(x_, client), unchanged);
        return differing.isEmpty();
    });
    EXPECT_TRUE(same) << "element pixels that changed: " << describe(differing);

    ASSERT_TRUE(driver_->toggle(false, origin_));
    // Once more each way: the shape is built afresh from the same window.
    ASSERT_TRUE(driver_->toggle(true, origin_));
    ASSERT_TRUE(driver_->toggle(false, origin_));

    // Back in the windowed state the whole window shows, also after it grew.
    const QSize larger = *size + QSize(80, 60);
    ASSERT_TRUE(runXdotool({"windowsize", std::to_string(driver_->window()),
                            std::to_string(larger.width()), std::to_string(larger.height())}));
    ASSERT_TRUE(waitUntil([&] { return driver_->size() == larger; })) << driver_->describeState();
    EXPECT_TRUE(waitUntil([&] {
        const auto shape = boundingShape(x_, driver_->window());
        return shape && samePixels(shape->region, QRect(QPoint(0, 0), larger));
    })) << driver_->describeState();
}

/// A gesture that must leave the window where it is.
struct StillGesture
{
    const char* what;
    enum class Target
    {
        ThinnestBar,
        ThinnestStroke,
        Background
    } target;
    std::vector<int> buttons; // pressed in this order, released in reverse
};

TEST_P(ReticleWindowTest, DragsThatAreNotALeftDragOnABarMoveNothing)
{
    // After each gesture a toggle, handled after the gesture's events, shows
    // that the window is still in place; the states alternate, starting
    // windowed.
    const std::vector<StillGesture> gestures = {
        {"left drag on a stroke", StillGesture::Target::ThinnestStroke, {kLeftButton}},
        {"right drag on a bar", StillGesture::Target::ThinnestBar, {kRightButton}},
        {"left drag on the background", StillGesture::Target::Background, {kLeftButton}},
        {"middle drag on a bar", StillGesture::Target::ThinnestBar, {kMiddleButton}},
        {"left and right drag on a bar",
         StillGesture::Target::ThinnestBar,
         {kLeftButton, kRightButton}},
    };
    const DesignGeometry& geometry = driver_->geometry();
    const auto size = driver_->size();
    ASSERT_TRUE(size);
    bool transparent = false;
    for (const StillGesture& gesture : gestures) {
        SCOPED_TRACE(std::string(gesture.what) + (transparent ? ", transparent" : ", windowed"));
        const std::optional<QPoint> start =
            gesture.target == StillGesture::Target::ThinnestBar ? geometry.pointOnThinnestBar()
            : gesture.target == StillGesture::Target::ThinnestStroke
                ? geometry.pointOnThinnestStroke()
                : geometry.backgroundPoint(*size, kBackgroundMarginPixels);
        if (!start) {
            // Not every design has strokes (CroceRossa has none); everything
            // else is in every design.
            EXPECT_EQ(gesture.target, StillGesture::Target::ThinnestStroke)
                << design().designName << " has nothing to aim at";
            continue;
        }
        Pointer& pointer = driver_->pointer();
        ASSERT_TRUE(pointer.moveTo(origin_ + *start));
        for (const int button : gesture.buttons) {
            ASSERT_TRUE(pointer.press(button));
        }
        ASSERT_TRUE(pointer.moveInSteps(origin_ + *start + QPoint(40, 25), 5));
        for (auto it = gesture.buttons.rbegin(); it != gesture.buttons.rend(); ++it) {
            ASSERT_TRUE(pointer.release(*it));
        }
        transparent = !transparent;
        ASSERT_TRUE(driver_->toggle(transparent, origin_));
    }
}

TEST_P(ReticleWindowTest, ClicksOutsideTheElementsReachTheWindowBeneath)
{
    const auto size = driver_->size();
    ASSERT_TRUE(size);
    const auto background = driver_->geometry().backgroundPoint(*size, kBackgroundMarginPixels);
    ASSERT_TRUE(background) << "no background in " << design().designName;
    const QPoint target = origin_ + *background;

    // A window of the test's own beneath everything, under that point.
    TestWindow beneath(
        x_, {QRect(target - QPoint(10, 10), QSize(21, 21)), "beneath", kBeneathColour, true});
    beneath.map();
    beneath.lower();

    // Windowed: the reticle window covers it and takes the click.
    EXPECT_TRUE(waitUntil([&] { return screenPixel(x_, target) == kReticleBackground; }))
        << screenPixel(x_, target).name().toStdString();
    ASSERT_TRUE(driver_->pointer().click(target));
    EXPECT_TRUE(beneath.takeButtonPresses().empty());

    // Transparent: it shows through and takes the click.
    ASSERT_TRUE(driver_->toggle(true, origin_));
    EXPECT_TRUE(waitUntil([&] { return screenPixel(x_, target) == QColor(kBeneathColour); }))
        << screenPixel(x_, target).name().toStdString();
    ASSERT_TRUE(driver_->pointer().click(target));
    std::vector<QPoint> presses;
    EXPECT_TRUE(waitUntil([&] {
        const auto more = beneath.takeButtonPresses();
        presses.insert(presses.end(), more.begin(), more.end());
        return !presses.empty();
    }));
    EXPECT_EQ(presses, std::vector<QPoint>{target});
    // And the reticle window stayed as it was.
    EXPECT_TRUE(driver_->waitForState(true, origin_));
}

INSTANTIATE_TEST_SUITE_P(AllDesigns, ReticleWindowTest, ::testing::ValuesIn(allDesigns()),
                         designName);

// ---- Drag on a bar ---------------------------------------------------------------

struct DesignInState
{
    const ReticleDesign* design;
    bool transparent;
};

void PrintTo(const DesignInState& c, std::ostream* out)
{
    *out << c.design->designName << (c.transparent ? ", transparent" : ", windowed");
}

class ReticleDragTest : public SingleReticleWindowTest<DesignInState>
{
protected:
    const ReticleDesign& design() const override { return *GetParam().design; }

    void SetUp() override
    {
        SingleReticleWindowTest::SetUp();
        if (!HasFatalFailure() && GetParam().transparent) {
            ASSERT_TRUE(driver_->toggle(true, origin_));
        }
    }

    /// A travel towards the middle of the screen, so that the screen edges'
    /// resistance plays no part.
    QPoint travelDirection()
    {
        const auto size = driver_->size();
        const QPoint middle = origin_ + QPoint(size->width(), size->height()) / 2;
        return QPoint(middle.x() < x_.screenWidth() / 2 ? 1 : -1,
                      middle.y() < x_.screenHeight() / 2 ? 1 : -1);
    }
};

TEST_P(ReticleDragTest, LeftDragOnAOnePixelBarMovesTheWindowUntilTheRelease)
{
    const auto bar = driver_->geometry().pointOnThinnestBar();
    ASSERT_TRUE(bar) << design().designName << " has no bar to drag";
    Pointer& pointer = driver_->pointer();
    const QPoint direction = travelDirection();
    const QPoint pressedAt = origin_ + *bar;

    ASSERT_TRUE(pointer.moveTo(pressedAt));
    ASSERT_TRUE(pointer.press(kLeftButton));
    // The first motion hands the move to the window manager: the program
    // asks for it, naming the pointer's place, and the window manager takes
    // the pointer once the request reaches it. Any motion before that goes
    // to the program alone, so the test waits for both before it moves on.
    const QPoint moveBegan = pressedAt + QPoint(3 * direction.x(), 2 * direction.y());
    const bool managed = windowManagerRunning(x_);
    std::optional<MoveRequestWatch> moveRequests;
    if (managed) {
        moveRequests.emplace();
    }
    ASSERT_TRUE(pointer.moveTo(moveBegan));
    if (managed) {
        const auto named = moveRequests->waitForMove(driver_->window());
        ASSERT_TRUE(named) << "no move request; " << driver_->describeState();
        // The window manager moves the window by the pointer's travel from
        // this point: it must be where the pointer was.
        ASSERT_EQ(*named, moveBegan) << "the move request names another point than the pointer's";
        ASSERT_TRUE(waitUntil([&] { return pointer.isGrabbedElsewhere(); }))
            << "the window manager's move did not begin; " << driver_->describeState();
    }
    // The window manager moves the window by the pointer's travel from where
    // it took the pointer; without one the program follows the pointer
    // itself, by its travel from the press (the pressed pixel stays under it).
    const QPoint followFrom = managed ? moveBegan : pressedAt;

    // The window follows every step.
    constexpr int kSteps = 6;
    const QPoint step(9 * direction.x(), 6 * direction.y());
    QPoint expected = origin_;
    for (int i = 1; i <= kSteps; ++i) {
        const QPoint at = moveBegan + step * i;
        ASSERT_TRUE(pointer.moveTo(at));
        expected = origin_ + (at - followFrom);
        ASSERT_TRUE(waitUntil([&] { return driver_->origin() == expected; }))
            << "step " << i << ": expected origin " << toString(expected) << " (origin "
            << toString(origin_) << ", pressed at " << toString(pressedAt) << ", first motion to "
            << toString(moveBegan) << ", pointer at " << toString(pointer.position()) << ", "
            << (managed ? "managed" : "unmanaged") << "); " << driver_->describeState();
    }
    ASSERT_TRUE(pointer.release(kLeftButton));
    EXPECT_TRUE(waitUntil([&] { return !pointer.isGrabbedElsewhere(); }))
        << "the pointer is still held after the release";

    // Released, the window no longer follows: not a bare motion, not a
    // right-button drag on the bar.
    const QPoint released = *pointer.position();
    ASSERT_TRUE(pointer.moveInSteps(released + QPoint(30, 20), 4));
    const QPoint barNow = expected + *bar;
    ASSERT_TRUE(pointer.moveTo(barNow));
    ASSERT_TRUE(pointer.press(kRightButton));
    ASSERT_TRUE(pointer.moveInSteps(barNow + QPoint(35, 25), 5));
    ASSERT_TRUE(pointer.release(kRightButton));
    // A toggle is handled after all those events: the window is still there.
    ASSERT_TRUE(driver_->toggle(!GetParam().transparent, expected));
}

std::vector<DesignInState> designsInBothStates()
{
    std::vector<DesignInState> cases;
    for (const ReticleDesign* design : designs::all()) {
        cases.push_back({design, false});
        cases.push_back({design, true});
    }
    return cases;
}

std::string designInStateName(const ::testing::TestParamInfo<DesignInState>& info)
{
    return std::string(info.param.design->designName) +
           (info.param.transparent ? "_Transparent" : "_Windowed");
}

INSTANTIATE_TEST_SUITE_P(AllDesigns, ReticleDragTest, ::testing::ValuesIn(designsInBothStates()),
                         designInStateName);

// ---- Window manager states across toggles -------------------------------------------

/// States the user gives the window through the window manager before the
/// toggles, and the _NET_WM_STATE atoms each state of the window must show.
struct WmStateCase
{
    const char* name;
    const char* wmctrlStates; // for wmctrl -b add,...
    std::vector<std::string> windowedAtoms;
    std::vector<std::string> transparentAtoms;
};

void PrintTo(const WmStateCase& c, std::ostream* out)
{
    *out << c.name;
}

class ReticleWmStateTest : public SingleReticleWindowTest<WmStateCase>
{
protected:
    const ReticleDesign& design() const override { return designs::standardBianco(); }

    bool hasStates(const std::vector<std::string>& names)
    {
        const std::vector<unsigned long> states =
            cardinalProperty(x_, driver_->window(), "_NET_WM_STATE", XA_ATOM);
        return std::all_of(names.begin(), names.end(), [&](const std::string& name) {
            return std::find(states.begin(), states.end(), x_.atom(name)) != states.end();
        });
    }
};

TEST_P(ReticleWmStateTest, StatesTheUserSetSurviveTogglesAndTheElementsStayInPlace)
{
    if (!windowManagerRunning(x_)) {
        GTEST_SKIP() << "window manager states need a window manager";
    }
    const WmStateCase& c = GetParam();
    const auto status = runToEnd({"wmctrl", "-i", "-r", std::to_string(driver_->window()), "-b",
                                  std::string("add,") + c.wmctrlStates},
                                 kDefaultWait);
    ASSERT_TRUE(status && status->isSuccess()) << "wmctrl failed";
    // The states are set before the window manager has placed the window
    // for them: the place counts once the window manager is done.
    ASSERT_TRUE(holdsOnceWindowManagerIsDone(x_, [&] {
        return hasStates(c.windowedAtoms) && isPlacedAndSettled(x_, driver_->window());
    })) << driver_->describeState();
    const auto origin = driver_->origin();
    ASSERT_TRUE(origin);

    // Twice each way: the client keeps its pixels (a maximised client does
    // not move into the place of the title bar) and the states come back.
    for (int round = 1; round <= 2; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        ASSERT_TRUE(driver_->toggle(true, *origin));
        EXPECT_TRUE(waitUntil([&] { return hasStates(c.transparentAtoms); }))
            << "transparent: " << driver_->describeState();
        ASSERT_TRUE(driver_->toggle(false, *origin));
        EXPECT_TRUE(waitUntil([&] {
            return hasStates(c.windowedAtoms) && driver_->origin() == origin;
        })) << "windowed: "
            << driver_->describeState();
    }
}

INSTANTIATE_TEST_SUITE_P(
    States, ReticleWmStateTest,
    ::testing::Values(
        WmStateCase{"Above", "above", {"_NET_WM_STATE_ABOVE"}, {"_NET_WM_STATE_ABOVE"}},
        WmStateCase{"Below", "below", {"_NET_WM_STATE_BELOW"}, {"_NET_WM_STATE_BELOW"}},
        // Without its frame the window leaves the maximised state (it would
        // move into the title bar's place) and takes it up again on return.
        WmStateCase{"Maximised",
                    "maximized_vert,maximized_horz",
                    {"_NET_WM_STATE_MAXIMIZED_VERT", "_NET_WM_STATE_MAXIMIZED_HORZ"},
                    {}}),
    [](const ::testing::TestParamInfo<WmStateCase>& info) { return info.param.name; });

// ---- The close label ---------------------------------------------------------------

/// Where the close test puts the target window and all the others: the
/// others start below the target's title strip (33 pixels high at 96 dpi).
const QPoint kStripCorner(100, 60);
const QPoint kOthersCorner(100, 300);

/// Asks for `window`'s client area to be placed at `clientOrigin` and waits
/// until it is there (or at least no higher and no further left: a window
/// manager may keep room for the frame).
bool moveClientTo(XConnection& x, XId window, QPoint clientOrigin)
{
    if (!runXdotool({"windowmove", std::to_string(window), std::to_string(clientOrigin.x()),
                     std::to_string(clientOrigin.y())})) {
        return false;
    }
    return waitUntil([&] {
        const auto origin = rootPosition(x, window);
        return origin && origin->x() >= clientOrigin.x() && origin->y() >= clientOrigin.y() &&
               (*origin - clientOrigin).manhattanLength() <= 60;
    });
}

/// All eight windows in one host; the "X" of one of them, in one state.
class ReticleCloseTest : public ::testing::TestWithParam<DesignInState>
{
};

TEST_P(ReticleCloseTest, XEndsTheProgramWithEveryWindow)
{
    XConnection x;
    std::vector<std::string> names;
    for (const ReticleDesign* design : designs::all()) {
        names.emplace_back(design->windowName);
    }
    ReticleHostProcess host(x, HostOptions{names, false, {}});
    ASSERT_TRUE(host.waitUntilShown());
    const ReticleDesign& design = *GetParam().design;
    ReticleDriver driver(x, host, design);
    ASSERT_NE(design.find("Label2"), nullptr) << design.designName << " has no Label2";

    // Windows of the host may still come to the top (Qt asks for a window
    // to be activated once it has seen it mapped): rather than race them,
    // put the target's title strip where no other window reaches.
    ASSERT_TRUE(moveClientTo(x, driver.window(), kStripCorner)) << design.designName;
    for (const std::string& name : names) {
        if (name != design.windowName) {
            ASSERT_TRUE(moveClientTo(x, host.window(name), kOthersCorner)) << name;
        }
    }
    for (const char* label : {"Label1", "Label2"}) {
        const auto point = driver.screenPointOf(label);
        ASSERT_TRUE(point && showsWindowAt(x, driver.window(), *point))
            << label << " of " << design.designName << " is covered";
    }
    const auto origin = driver.origin();
    ASSERT_TRUE(origin);
    if (GetParam().transparent) {
        ASSERT_TRUE(driver.toggle(true, *origin));
    }

    ASSERT_TRUE(driver.clickElement("Label2"));
    const auto status = host.process().waitForExit(kDefaultWait);
    ASSERT_TRUE(status) << "the host is still running";
    EXPECT_TRUE(status->exited) << "ended by signal " << status->signal;
    EXPECT_EQ(status->code, 0);
    for (const std::string& name : names) {
        const ReticleDesign* shown = designs::findByWindowName(name);
        const bool gone = waitUntil([&] {
            return !windowExists(x, host.window(name)) &&
                   findClientWindowsByTitle(x, shown->caption).empty();
        });
        EXPECT_TRUE(gone) << name << " is still on the screen";
    }
}

INSTANTIATE_TEST_SUITE_P(AllDesigns, ReticleCloseTest, ::testing::ValuesIn(designsInBothStates()),
                         designInStateName);

// ---- The centring scale's "20" -------------------------------------------------------

TEST(CentringScaleTest, TwentyAsksToOpenTheFileTwentyOncePerClickAndTwentyFiveNothing)
{
    const ReticleDesign& design = designs::centratore();
    ASSERT_NE(design.find("Label11"), nullptr) << "Centratore has no Label11";
    ASSERT_NE(design.find("Label10"), nullptr) << "Centratore has no Label10";
    TemporaryDirectory directory;
    ASSERT_FALSE(directory.path().empty());
    XConnection x;
    ReticleHostProcess host(
        x, HostOptions{{std::string(design.windowName)}, true, directory.path().string()});
    ASSERT_TRUE(host.waitUntilShown());
    ReticleDriver driver(x, host, design);
    const auto origin = driver.origin();
    ASSERT_TRUE(origin);
    const std::string expectedLine = "OPEN " + (directory.path() / "20").string();

    bool transparent = false;
    for (const std::size_t clicks : {1u, 2u}) {
        SCOPED_TRACE(transparent ? "transparent" : "windowed");
        ASSERT_TRUE(driver.clickElement("Label11"));
        std::vector<std::string> requests;
        const bool requested = waitUntil([&] {
            requests = host.linesStartingWith("OPEN");
            return requests.size() >= clicks;
        });
        ASSERT_TRUE(requested) << "no request to open after click " << clicks;
        // "25" asks for nothing; the toggle after it shows it was handled.
        ASSERT_TRUE(driver.clickElement("Label10"));
        transparent = !transparent;
        ASSERT_TRUE(driver.toggle(transparent, *origin));
        requests = host.linesStartingWith("OPEN");
        EXPECT_EQ(requests, std::vector<std::string>(clicks, expectedLine));
    }
}

} // namespace
} // namespace zentaro::x11test
