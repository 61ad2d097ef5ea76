// Checks of the X11 test harness itself, on a window the test creates: it
// runs with and without a window manager (scripts/x11-session.sh --no-wm).
#include "child_process.h"
#include "pointer.h"
#include "regions.h"
#include "screenshot.h"
#include "test_window.h"
#include "wait.h"
#include "window_manager.h"
#include "window_query.h"
#include "x_connection.h"

#include <gtest/gtest.h>

#include <QRect>

#include <X11/Xlib.h>
#include <X11/extensions/shape.h>

namespace zentaro::x11test {
namespace {

const QRect kProbeGeometry(300, 200, 240, 160);

class HarnessTest : public ::testing::Test
{
protected:
    bool wmRuns() { return windowManagerRunning(x); }

    XConnection x;
};

TEST_F(HarnessTest, FindsAManagedWindowByTitleAndReadsItsGeometry)
{
    TestWindow window(x, {kProbeGeometry, "harness plain window", qRgb(0, 0, 255), false});
    window.map();

    std::vector<XId> found;
    ASSERT_TRUE(waitUntil([&] {
        found = findClientWindowsByTitle(x, "harness plain window");
        return found.size() == 1 && isViewable(x, found.front());
    })) << "windows found: "
        << found.size() << "; ours exists: " << windowExists(x, window.id())
        << ", viewable: " << isViewable(x, window.id());
    EXPECT_EQ(found.front(), window.id());
    EXPECT_TRUE(findClientWindowsByTitle(x, "harness plain").empty());
    EXPECT_EQ(windowSize(x, window.id()), kProbeGeometry.size());

    const auto shape = boundingShape(x, window.id());
    ASSERT_TRUE(shape);
    EXPECT_FALSE(shape->shaped);
    EXPECT_TRUE(samePixels(shape->region, QRect(QPoint(0, 0), kProbeGeometry.size())))
        << describe(shape->region);

    if (wmRuns()) {
        // The window manager frames the client: its client area lies inside
        // the frame by the announced extents.
        std::optional<QMargins> extents;
        ASSERT_TRUE(waitUntil([&] {
            extents = frameExtents(x, window.id());
            return extents && extents->top() > 0;
        }));
        const auto position = rootPosition(x, window.id());
        ASSERT_TRUE(position);
        EXPECT_GE(position->y(), extents->top());
    } else {
        EXPECT_EQ(rootPosition(x, window.id()), kProbeGeometry.topLeft());
        EXPECT_FALSE(frameExtents(x, window.id()));
    }
}

TEST_F(HarnessTest, ReadsTheShapeAsAPixelSet)
{
    TestWindow window(x, {kProbeGeometry, "harness shaped window", qRgb(0, 255, 0), true});
    // Two overlapping rectangles and a one-pixel sliver.
    XRectangle rects[] = {{10, 10, 50, 20}, {40, 20, 30, 40}, {100, 5, 1, 1}};
    XShapeCombineRectangles(x.display(), window.id(), ShapeBounding, 0, 0, rects, 3, ShapeSet,
                            Unsorted);
    window.map();
    const QRegion expected =
        QRegion(10, 10, 50, 20).united(QRect(40, 20, 30, 40)).united(QRect(100, 5, 1, 1));

    const auto shape = boundingShape(x, window.id());
    ASSERT_TRUE(shape);
    EXPECT_TRUE(shape->shaped);
    EXPECT_TRUE(samePixels(shape->region, expected)) << describeDifference(shape->region, expected);
    EXPECT_FALSE(samePixels(shape->region, expected.united(QRect(0, 0, 1, 1))));
}

TEST_F(HarnessTest, ScreenshotAndClicksSeeAnUnmanagedWindow)
{
    TestWindow window(x, {kProbeGeometry, "harness click target", qRgb(0, 200, 100), true});
    window.map();
    const QPoint inside = kProbeGeometry.center();
    ASSERT_TRUE(waitUntil([&] { return screenPixel(x, inside) == QColor(0, 200, 100); }))
        << "pixel: " << screenPixel(x, inside).name().toStdString();

    Pointer pointer(x);
    ASSERT_TRUE(pointer.click(inside, kLeftButton));
    std::vector<QPoint> presses;
    ASSERT_TRUE(waitUntil([&] {
        const auto more = window.takeButtonPresses();
        presses.insert(presses.end(), more.begin(), more.end());
        return !presses.empty();
    }));
    EXPECT_EQ(presses, std::vector<QPoint>{inside});

    // A click elsewhere does not reach it.
    ASSERT_TRUE(pointer.click(kProbeGeometry.bottomRight() + QPoint(20, 20), kLeftButton));
    EXPECT_TRUE(window.takeButtonPresses().empty());
}

TEST_F(HarnessTest, PointerDragHoldsTheButtonUntilReleased)
{
    Pointer pointer(x);
    ASSERT_TRUE(pointer.moveTo({50, 60}));
    ASSERT_TRUE(pointer.press(kLeftButton));
    EXPECT_TRUE(pointer.isHeld(kLeftButton));
    ASSERT_TRUE(pointer.moveInSteps({90, 40}, 4));
    EXPECT_EQ(pointer.position(), QPoint(90, 40));
    ASSERT_TRUE(pointer.release(kLeftButton));
    EXPECT_FALSE(pointer.isHeld(kLeftButton));
}

TEST(ChildProcessTest, CapturesOutputAndExitStatusWithoutAShell)
{
    // The argument holds shell syntax that must reach the program untouched.
    ChildProcess child(ChildOptions{{"printf", "%s|", "a b", "$(x)"}, {}, "/", true});
    const auto status = child.waitForExit(kDefaultWait);
    ASSERT_TRUE(status);
    EXPECT_TRUE(status->isSuccess());
    EXPECT_EQ(child.output(), "a b|$(x)|");

    const auto failed = runToEnd({"false"}, kDefaultWait);
    ASSERT_TRUE(failed);
    EXPECT_TRUE(failed->exited);
    EXPECT_EQ(failed->code, 1);
}

TEST(ChildProcessTest, SetsEnvironmentAndWorkingDirectory)
{
    ChildProcess child(
        ChildOptions{{"env"}, {"ZENTARO_HARNESS_PROBE=yes", "HOME=/nowhere"}, "/", true});
    ASSERT_TRUE(child.waitForExit(kDefaultWait));
    const std::string& out = child.output();
    EXPECT_NE(out.find("ZENTARO_HARNESS_PROBE=yes\n"), std::string::npos);
    EXPECT_NE(out.find("HOME=/nowhere\n"), std::string::npos);

    ChildProcess pwd(ChildOptions{{"pwd"}, {}, "/usr", true});
    ASSERT_TRUE(pwd.waitForExit(kDefaultWait));
    EXPECT_EQ(pwd.output(), "/usr\n");
}

TEST(ChildProcessTest, FeedsStdinLineByLineAndSurvivesAnEndedReader)
{
    // head -n 1 answers the first line and ends: the second write finds the
    // reader gone, which must fail without a SIGPIPE ending this process.
    ChildProcess child(ChildOptions{{"head", "-n", "1"}, {}, {}, true, true});
    ASSERT_TRUE(child.writeToStdin("press 3 4\n"));
    ASSERT_TRUE(waitUntil([&] { return child.output() == "press 3 4\n"; })) << child.output();
    const auto status = child.waitForExit(kDefaultWait);
    ASSERT_TRUE(status);
    EXPECT_TRUE(status->isSuccess());
    EXPECT_FALSE(child.writeToStdin("release\n"));
}

TEST_F(HarnessTest, RestartedWindowManagerManagesTheWindowsAgain)
{
    if (!windowManagerPid()) {
        GTEST_SKIP() << "no window manager in this session";
    }
    TestWindow window(x, {kProbeGeometry, "harness survivor", qRgb(90, 0, 0), false});
    window.map();
    ASSERT_TRUE(
        waitUntil([&] { return findClientWindowsByTitle(x, "harness survivor").size() == 1; }));

    const auto before = windowManagerPid();
    const auto after = restartWindowManager(x);
    ASSERT_TRUE(after);
    EXPECT_NE(after, before);
    EXPECT_EQ(windowManagerPid(), after);
    EXPECT_TRUE(waitUntil([&] {
        return findClientWindowsByTitle(x, "harness survivor") == std::vector<XId>{window.id()} &&
               isViewable(x, window.id());
    }));
}

} // namespace
} // namespace zentaro::x11test
