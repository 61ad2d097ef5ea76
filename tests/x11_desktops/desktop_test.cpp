// The program on the desktops people run: each ctest test runs this binary
// in one desktop session (scripts/x11-session.sh --wm NAME) and drives the
// real program through its menu, as a user would. What must hold on every
// desktop: a toggle keeps the elements on the same screen pixels (windowed
// and maximised), only the elements show in the transparent state, "Always
// on top" survives the toggles, a window chosen from the menu comes to the
// front and is active, a bar drags the window, and "X" ends the program.
#include "child_process.h"
#include "design_geometry.h"
#include "move_request_watch.h"
#include "mutter_pointer_client.h"
#include "pointer.h"
#include "process_windows.h"
#include "regions.h"
#include "reticle_driver.h"
#include "screenshot.h"
#include "test_window.h"
#include "wait.h"
#include "window_query.h"
#include "x_connection.h"
#include "zentaro_session.h"

#include "designs/designs.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QRect>
#include <QRegion>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

// Xlib last: its macros (None, Bool) would clash with the headers above.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace zentaro::x11test {
namespace {

/// The session's resolution: Xvfb runs at 96 dpi, and the Wayland sessions'
/// XWayland reports 96 dpi as well.
constexpr double kScreenDpi = 96.0;

/// A colour that no window of the program paints, for the backdrop beneath.
constexpr QRgb kBackdropColour = qRgb(40, 120, 200);
/// How far a screen pixel may differ per channel (8-bit) from the backdrop
/// and still count as the backdrop: compositors may dither.
constexpr int kBackdropTolerance = 2;
/// Around the client area, the band (pixels) that must show the backdrop in
/// the transparent state: wider than any frame or shadow seen (Mutter's
/// shadow reaches about 30 px).
constexpr int kOutsideBandPixels = 48;
/// Around the main window's frame, the band (pixels) its own shadow may
/// darken: KWin's Breeze shadow reaches about 50 px.
constexpr int kMainWindowShadowPixels = 96;
/// Compositors fade windows in and out (KWin, picom's sample configuration):
/// the pixels settle within this time.
constexpr std::chrono::milliseconds kSettleWait{8000};

/// One reticle of the menu: its place on the menu and its window's name.
struct MenuDesign
{
    int index;
    std::string_view windowName;
};

constexpr MenuDesign kCroceRossa{3, "Form5"};
constexpr MenuDesign kPunto{6, "Form8"};

void PrintTo(const MenuDesign& d, std::ostream* out)
{
    *out << d.windowName;
}

std::string designName(const ::testing::TestParamInfo<MenuDesign>& info)
{
    return std::string(designs::findByWindowName(info.param.windowName)->designName);
}

/// The desktop the session runs (scripts/x11-session.sh --wm).
std::string desktop()
{
    const char* name = std::getenv("ZENTARO_TEST_DESKTOP");
    return name != nullptr ? name : "";
}

/// Whether the session is a Wayland one: XWayland is rootless there, its
/// root window holds no picture of the screen, and XTest does not reach the
/// compositor's own move.
bool isWaylandSession()
{
    return std::getenv("WAYLAND_DISPLAY") != nullptr;
}

std::string hexId(XId window)
{
    std::ostringstream out;
    out << "0x" << std::hex << window;
    return out.str();
}

/// Runs wmctrl on `window` with `args` (after -i -r WID).
::testing::AssertionResult wmctrl(XId window, const std::vector<std::string>& args)
{
    std::vector<std::string> argv{"wmctrl", "-i", "-r", hexId(window)};
    argv.insert(argv.end(), args.begin(), args.end());
    const auto status = runToEnd(argv, kDefaultWait);
    if (!status || !status->isSuccess()) {
        return ::testing::AssertionFailure() << "wmctrl failed on " << hexId(window);
    }
    return ::testing::AssertionSuccess();
}

/// Whether the window's _NET_WM_STATE holds `state` ("_NET_WM_STATE_ABOVE").
bool hasState(XConnection& x, XId window, const char* state)
{
    const auto states = cardinalProperty(x, window, "_NET_WM_STATE", x.atom("ATOM"));
    return std::find(states.begin(), states.end(), x.atom(state)) != states.end();
}

std::string describeBounds(const QRegion& region)
{
    const QRect box = region.boundingRect();
    std::ostringstream out;
    out << region.rectCount() << " rects in " << box.width() << "x" << box.height() << "+"
        << box.x() << "+" << box.y();
    return out.str();
}

/// The program started afresh on a plain backdrop of one colour, with the
/// main window shown.
class DesktopTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Beneath every other window: what the transparent state must show.
        // A desktop window, which every window manager keeps at the bottom
        // and leaves unframed; an override-redirect one would not do, as
        // Mutter stacks those above everything.
        backdrop_ = std::make_unique<TestWindow>(
            x_, TestWindowOptions{QRect(0, 0, x_.screenWidth(), x_.screenHeight()),
                                  "zentaro-test-backdrop", kBackdropColour, false});
        const unsigned long desktopType = x_.atom("_NET_WM_WINDOW_TYPE_DESKTOP");
        XChangeProperty(x_.display(), backdrop_->id(), x_.atom("_NET_WM_WINDOW_TYPE"), XA_ATOM, 32,
                        PropModeReplace, reinterpret_cast<const unsigned char*>(&desktopType), 1);
        backdrop_->map();
        ASSERT_TRUE(waitUntil([&] {
            return isViewable(x_, backdrop_->id()) &&
                   rootPosition(x_, backdrop_->id()) == QPoint(0, 0);
        })) << "the backdrop is not shown over the whole screen";
        session_.emplace(x_);
        ASSERT_TRUE(session_->waitForMainWindow());
    }

    /// Chooses the design from the menu and waits until its window is shown
    /// in front of the main window.
    ::testing::AssertionResult open(const MenuDesign& d)
    {
        const ReticleDesign* design = designs::findByWindowName(d.windowName);
        XId window = 0;
        if (auto typed = session_->typeIntoMainWindow(menuKeys(d.index)); !typed) {
            return typed;
        }
        if (auto shown = session_->waitForWindow(design->caption, window); !shown) {
            return shown;
        }
        // The window's own activation is checked by the menu test; here it
        // only has to be in front for the clicks.
        if (auto active = session_->activate(window); !active) {
            return active;
        }
        driver_.emplace(x_, window, *design, kScreenDpi);
        windowedFrame_ = frameMargins(x_, window).value_or(QMargins());
        return ::testing::AssertionSuccess();
    }

    /// Sets "Always on top" on the window from outside, as the window
    /// manager's menu does, and waits until the window manager has taken it.
    ::testing::AssertionResult keepAbove()
    {
        const XId window = driver_->window();
        if (auto set = wmctrl(window, {"-b", "add,above"}); !set) {
            return set;
        }
        if (!waitUntil([&] { return hasState(x_, window, "_NET_WM_STATE_ABOVE"); })) {
            return ::testing::AssertionFailure()
                   << "the window manager did not take \"above\" on " << desktop();
        }
        return ::testing::AssertionSuccess();
    }

    /// Whether the window manager has framed the window as the state asks:
    /// no frame around the client in the transparent state, a frame again
    /// in the windowed one. Until then a toggle is not over: the window
    /// manager's answer may still move the client, and a click sent in that
    /// moment may be lost while it re-frames the window. A window manager
    /// that puts no frame window of its own around the client (the windowed
    /// state showed none) is not waited for.
    bool frameShowsState(bool transparent)
    {
        const auto frame = frameMargins(x_, driver_->window());
        if (!frame) {
            return false;
        }
        if (windowedFrame_.isNull()) {
            return true;
        }
        return transparent ? frame->isNull() : !frame->isNull();
    }

    /// Whether the window's shape is the one of the state: the elements
    /// only, or the whole client.
    bool shapeShowsState(bool transparent)
    {
        const auto size = driver_->size();
        const auto shape = boundingShape(x_, driver_->window());
        if (!size || !shape) {
            return false;
        }
        return transparent
                   ? shape->shaped &&
                         samePixels(shape->region, driver_->geometry().transparentRegion(*size))
                   : samePixels(shape->region, QRect(QPoint(0, 0), *size));
    }

    /// Waits until the window is shaped as the state and stays at one place.
    ::testing::AssertionResult waitForState(bool transparent)
    {
        std::optional<QRect> last;
        const bool reached = holdsOnceWindowManagerIsDone(x_, [&] {
            const auto o = driver_->origin();
            const auto s = driver_->size();
            const std::optional<QRect> now = o && s ? std::optional(QRect(*o, *s)) : std::nullopt;
            const bool settled = now && now == last;
            last = now;
            return settled && shapeShowsState(transparent) && frameShowsState(transparent);
        });
        if (!reached) {
            return ::testing::AssertionFailure()
                   << "not shaped as " << (transparent ? "transparent" : "windowed") << " on "
                   << desktop() << "; frame " << toString(frameMargins(x_, driver_->window()))
                   << " (windowed " << toString(std::optional(windowedFrame_)) << "); "
                   << driver_->describeState();
        }
        return ::testing::AssertionSuccess();
    }

    /// Clicks the toggle label and waits for the state it leads to, wherever
    /// the window ends up.
    ::testing::AssertionResult toggleTo(bool toTransparent)
    {
        if (auto clicked = driver_->clickElement("Label1"); !clicked) {
            return clicked;
        }
        return waitForState(toTransparent);
    }

    /// Whether the client is where it was `before` the toggle, as large.
    ::testing::AssertionResult keptItsPlace(bool transparent, const QRect& before)
    {
        const QRect after(*driver_->origin(), *driver_->size());
        const auto frame = frameExtents(x_, driver_->window());
        // The frame is not judged from _NET_FRAME_EXTENTS: Mutter leaves it
        // as it was when a window loses its decorations. The pixel check
        // sees a frame that stays.
        if (after == before) {
            return ::testing::AssertionSuccess();
        }
        const QPoint moved = after.topLeft() - before.topLeft();
        return ::testing::AssertionFailure()
               << "to " << (transparent ? "transparent" : "windowed") << " on " << desktop()
               << ": client moved by (" << moved.x() << "," << moved.y() << "), size "
               << before.width() << "x" << before.height() << " -> " << after.width() << "x"
               << after.height() << ", frame " << toString(frame);
    }

    /// Both toggles, each checked for the client's place; afterwards the
    /// client is where it started. A window that passes through another
    /// place on its way (a window manager's answer that the program then
    /// corrects) counts by where it ends up. For a `maximised` window a
    /// toggle is over once the window manager has also taken the state the
    /// program asked for (not maximised without the frame, maximised again
    /// with it): until then it may still move the window, and a click sent
    /// in that moment can miss.
    void checkBothTogglesInPlace(bool maximised = false)
    {
        const QRect start(*driver_->origin(), *driver_->size());
        for (const bool toTransparent : {true, false}) {
            const QRect before(*driver_->origin(), *driver_->size());
            ASSERT_TRUE(driver_->clickElement("Label1"));
            const auto stateTaken = [&] {
                return !maximised || hasState(x_, driver_->window(),
                                              "_NET_WM_STATE_MAXIMIZED_VERT") != toTransparent;
            };
            const bool inPlace = holdsOnceWindowManagerIsDone(x_, [&] {
                const auto o = driver_->origin();
                const auto s = driver_->size();
                return o && s && QRect(*o, *s) == before && shapeShowsState(toTransparent) &&
                       frameShowsState(toTransparent) && stateTaken();
            });
            if (!inPlace) {
                // Elsewhere or not toggled at all: wait for the state
                // wherever the window is, then say where.
                ASSERT_TRUE(waitForState(toTransparent));
                EXPECT_TRUE(keptItsPlace(toTransparent, before));
            }
        }
        const QRect end(*driver_->origin(), *driver_->size());
        EXPECT_TRUE(end == start) << "after both toggles on " << desktop() << " the client is at "
                                  << toString(std::optional(end.topLeft())) << ", "
                                  << toString(std::optional(end.size())) << "; it started at "
                                  << toString(std::optional(start.topLeft())) << ", "
                                  << toString(std::optional(start.size()));
    }

    XConnection x_;
    std::unique_ptr<TestWindow> backdrop_;
    std::optional<ZentaroSession> session_;
    std::optional<ReticleDriver> driver_;
    /// The frame around the client as the window manager first showed it.
    QMargins windowedFrame_;
};

// ---- The elements keep their place ------------------------------------------------

class DesignTest : public DesktopTest, public ::testing::WithParamInterface<MenuDesign>
{
};

TEST_P(DesignTest, BothTogglesKeepTheClientOriginAndSize)
{
    ASSERT_TRUE(open(GetParam()));
    checkBothTogglesInPlace();
}

TEST_P(DesignTest, OnlyTheElementsShowOverTheBackdrop)
{
    if (isWaylandSession()) {
        GTEST_SKIP() << "XWayland is rootless: its root window holds no picture of what the "
                        "compositor shows (checked by hand)";
    }
    ASSERT_TRUE(open(GetParam()));
    ASSERT_TRUE(toggleTo(true));
    const QPoint origin = *driver_->origin();
    const QSize size = *driver_->size();

    // The client area and a band around it, less the elements and less
    // whatever the main window (and its shadow) covers.
    const QRect screen(0, 0, x_.screenWidth(), x_.screenHeight());
    const QRect area = QRect(origin, size)
                           .adjusted(-kOutsideBandPixels, -kOutsideBandPixels, kOutsideBandPixels,
                                     kOutsideBandPixels)
                           .intersected(screen);
    QRegion mustShowBackdrop(area);
    mustShowBackdrop -= driver_->geometry().transparentRegion(size).translated(origin);
    const XId main = session_->mainWindow();
    const auto mainOrigin = rootPosition(x_, main);
    const auto mainSize = windowSize(x_, main);
    ASSERT_TRUE(mainOrigin && mainSize);
    const QMargins mainFrame = frameExtents(x_, main).value_or(QMargins());
    mustShowBackdrop -= QRect(*mainOrigin, *mainSize)
                            .marginsAdded(mainFrame)
                            .adjusted(-kMainWindowShadowPixels, -kMainWindowShadowPixels,
                                      kMainWindowShadowPixels, kMainWindowShadowPixels);
    ASSERT_FALSE(mustShowBackdrop.isEmpty()) << "the main window covers the reticle window";

    const QRegion local = mustShowBackdrop.translated(-area.topLeft());
    QImage expected(area.size(), QImage::Format_RGB32);
    expected.fill(kBackdropColour);
    QRegion differing;
    QImage seen;
    const bool settled = waitUntil(
        [&] {
            seen = grabScreen(x_, area);
            if (seen.isNull()) {
                return false;
            }
            // Exact colours differ by dithering at most: compare per channel.
            differing = QRegion();
            for (const QRect& r : local) {
                for (int y = r.top(); y <= r.bottom(); ++y) {
                    for (int x = r.left(); x <= r.right(); ++x) {
                        const QRgb p = seen.pixel(x, y);
                        if (std::abs(qRed(p) - qRed(kBackdropColour)) > kBackdropTolerance ||
                            std::abs(qGreen(p) - qGreen(kBackdropColour)) > kBackdropTolerance ||
                            std::abs(qBlue(p) - qBlue(kBackdropColour)) > kBackdropTolerance) {
                            differing += QRect(x, y, 1, 1);
                        }
                    }
                }
            }
            return differing.isEmpty();
        },
        kSettleWait, std::chrono::milliseconds(100));
    if (!settled) {
        const QRect first = *differing.begin();
        const QColor sample = seen.isNull() ? QColor() : seen.pixelColor(first.topLeft());
        const QPoint firstOnScreen = first.topLeft() + area.topLeft();
        const QPoint fromClient = firstOnScreen - origin;
        FAIL() << "on " << desktop() << ", pixels outside the elements differ from the backdrop "
               << QColor(kBackdropColour).name().toStdString() << ": "
               << describeBounds(differing.translated(area.topLeft() - origin))
               << " (client coordinates); e.g. " << sample.name().toStdString() << " at client ("
               << fromClient.x() << "," << fromClient.y() << ")";
    }
}

INSTANTIATE_TEST_SUITE_P(Designs, DesignTest, ::testing::Values(kCroceRossa, kPunto), designName);

TEST_F(DesktopTest, MaximisedBothTogglesKeepTheClientOriginAndSize)
{
    ASSERT_TRUE(open(kCroceRossa));
    const XId window = driver_->window();
    const auto windowedSize = driver_->size();
    ASSERT_TRUE(wmctrl(window, {"-b", "add,maximized_vert,maximized_horz"}));
    // Maximised once the client has grown and lies wholly on the screen: a
    // window manager may resize and move it in separate steps (openbox grows
    // it in place first). Not every one announces a work area to compare
    // with (KWin, Mutter under Wayland), nor frame extents that fit it
    // (IceWM's stay those of the unmaximised frame).
    const QRect screen(0, 0, x_.screenWidth(), x_.screenHeight());
    ASSERT_TRUE(holdsOnceWindowManagerIsDone(
        x_,
        [&] {
            const auto o = driver_->origin();
            const auto s = driver_->size();
            return hasState(x_, window, "_NET_WM_STATE_MAXIMIZED_VERT") &&
                   hasState(x_, window, "_NET_WM_STATE_MAXIMIZED_HORZ") && o && s &&
                   s != windowedSize && screen.contains(QRect(*o, *s)) &&
                   isPlacedAndSettled(x_, window);
        }))
        << "not maximised; " << driver_->describeState();
    checkBothTogglesInPlace(true);
}

TEST_F(DesktopTest, AlwaysOnTopSurvivesBothToggles)
{
    ASSERT_TRUE(open(kCroceRossa));
    const XId window = driver_->window();
    ASSERT_TRUE(keepAbove());
    ASSERT_TRUE(toggleTo(true));
    EXPECT_TRUE(hasState(x_, window, "_NET_WM_STATE_ABOVE"))
        << "\"above\" dropped by the toggle to transparent on " << desktop();
    ASSERT_TRUE(toggleTo(false));
    EXPECT_TRUE(hasState(x_, window, "_NET_WM_STATE_ABOVE"))
        << "\"above\" dropped by the toggle back to windowed on " << desktop();
    // Windowed, it is one of the window manager's windows again: in its
    // list, for the task bar and the window switcher.
    const std::vector<unsigned long> listed =
        cardinalProperty(x_, x_.root(), "_NET_CLIENT_LIST", XA_WINDOW);
    EXPECT_NE(std::find(listed.begin(), listed.end(), window), listed.end())
        << "the windowed reticle is not in the window manager's list on " << desktop();
}

// ---- Over a full-screen image -------------------------------------------------------------

/// The camera program's full-screen image: one colour that no window of the
/// program paints.
constexpr QRgb kFullScreenColour = qRgb(128, 128, 128);

/// Whether the screen pixel differs from `colour` by more than the
/// compositors' dithering.
bool differsFrom(QRgb pixel, QRgb colour)
{
    return std::abs(qRed(pixel) - qRed(colour)) > kBackdropTolerance ||
           std::abs(qGreen(pixel) - qGreen(colour)) > kBackdropTolerance ||
           std::abs(qBlue(pixel) - qBlue(colour)) > kBackdropTolerance;
}

/// The camera program: a full-screen window of one colour, shown by a
/// program of its own (tests/x11_desktops/full_screen_image.cpp).
class FullScreenImage
{
public:
    FullScreenImage()
        : process_(ChildOptions{
              {ZENTARO_FULL_SCREEN_IMAGE, QColor(kFullScreenColour).name().toStdString(), kTitle},
              {},
              {},
              true})
    {
    }

    /// Waits until its window covers the whole screen; its id, or 0.
    XId waitUntilShown(XConnection& x)
    {
        const QRect screen(0, 0, x.screenWidth(), x.screenHeight());
        XId found = 0;
        const bool shown = holdsOnceWindowManagerIsDone(x, [&] {
            const auto windows = clientWindowsOf(x, process_.pid());
            found = windows.size() == 1 ? windows.front() : 0;
            return found != 0 && isViewable(x, found) && rootPosition(x, found) == QPoint(0, 0) &&
                   windowSize(x, found) == screen.size();
        });
        return shown ? found : 0;
    }

    /// The root positions of the presses it has reported so far.
    std::vector<QPoint> presses()
    {
        std::vector<QPoint> result;
        std::istringstream lines(process_.output());
        std::string word;
        int x = 0;
        int y = 0;
        while (lines >> word >> x >> y) {
            if (word == "PRESS") {
                result.emplace_back(x, y);
            }
        }
        return result;
    }

private:
    static constexpr const char* kTitle = "zentaro-test-full-screen";
    ChildProcess process_;
};

TEST_F(DesktopTest, AKeptAboveTransparentReticleStaysOverAFocusedFullScreenWindow)
{
    ASSERT_TRUE(open(kCroceRossa));
    const XId window = driver_->window();
    ASSERT_TRUE(keepAbove());
    ASSERT_TRUE(toggleTo(true));
    const QPoint origin = *driver_->origin();
    const QSize size = *driver_->size();
    const QRegion elements = driver_->geometry().transparentRegion(size).translated(origin);

    // The camera program's image, full-screen, shown after the reticle,
    // and the program the user works in: in front of the windows of its
    // layer, focused.
    FullScreenImage camera;
    const XId image = camera.waitUntilShown(x_);
    ASSERT_NE(image, 0U) << "the image is not shown full-screen on " << desktop();
    ASSERT_TRUE(session_->activate(image));

    if (isWaylandSession()) {
        // XWayland's root window holds no picture of what the compositor
        // shows: the X server's stacking, which the compositor's window
        // manager keeps in step with its own, is what can be read there.
        const auto bar = driver_->screenPointOf("img", 0);
        ASSERT_TRUE(bar);
        EXPECT_TRUE(
            holdsOnceWindowManagerIsDone(x_, [&] { return showsWindowAt(x_, window, *bar); }))
            << "the reticle's bar is covered by the full-screen window on " << desktop();
        return;
    }

    // The screen must show the image before the reticle can be judged over
    // it. picom 12 (Debian 13) now and then draws the backdrop where the X
    // server has the full-screen window on top, however often it repaints,
    // and goes on doing so: then only the X server's stacking is checked.
    const QRect screen(0, 0, x_.screenWidth(), x_.screenHeight());
    const QRect farFromReticle(screen.right() - 40, screen.bottom() - 40, 8, 8);
    const bool imageShows = waitUntil(
        [&] {
            const QImage seen = grabScreen(x_, farFromReticle);
            return !seen.isNull() && !differsFrom(seen.pixel(4, 4), kFullScreenColour);
        },
        kSettleWait, std::chrono::milliseconds(100));
    if (!imageShows) {
        const auto bar = driver_->screenPointOf("img", 0);
        ASSERT_TRUE(bar && showsWindowAt(x_, window, *bar))
            << "the reticle's bar is covered by the full-screen window on " << desktop();
        GTEST_SKIP() << "the compositor of " << desktop()
                     << " does not show the full-screen window the X server has on top ("
                     << describeWindowsAt(x_, farFromReticle.topLeft())
                     << "); the X server stacks the reticle over it";
    }

    // A click through the reticle, inside its client area but away from
    // its elements, reaches the image, which keeps the focus.
    std::optional<QPoint> through;
    for (int y = origin.y() + size.height() / 2; y < origin.y() + size.height() && !through; ++y) {
        for (int x = origin.x() + size.width() / 2; x < origin.x() + size.width(); ++x) {
            if (!elements.contains(QPoint(x, y)) && !elements.contains(QPoint(x - 1, y)) &&
                !elements.contains(QPoint(x + 1, y))) {
                through = QPoint(x, y);
                break;
            }
        }
    }
    ASSERT_TRUE(through) << "no pixel of the client area lies away from the elements";
    ASSERT_TRUE(driver_->pointer().click(*through));
    ASSERT_TRUE(waitUntil([&] { return !camera.presses().empty(); }))
        << "the click through the reticle did not reach the full-screen window on " << desktop()
        << "; under it: " << describeWindowsAt(x_, *through);
    EXPECT_EQ(camera.presses().front(), *through);
    EXPECT_TRUE(waitUntil([&] { return activeWindow(x_) == image; }))
        << "the full-screen window lost the focus on " << desktop();

    // On the screen: every element pixel is the reticle's, and around the
    // elements (within the client area and a band beyond it) the image.
    const QRect area = QRect(origin, size)
                           .adjusted(-kOutsideBandPixels, -kOutsideBandPixels, kOutsideBandPixels,
                                     kOutsideBandPixels)
                           .intersected(screen);
    QRegion covered;
    QRegion notImage;
    const bool shown = waitUntil(
        [&] {
            const QImage seen = grabScreen(x_, area);
            if (seen.isNull()) {
                return false;
            }
            covered = QRegion();
            notImage = QRegion();
            for (int y = 0; y < area.height(); ++y) {
                for (int x = 0; x < area.width(); ++x) {
                    const QPoint onScreen = area.topLeft() + QPoint(x, y);
                    const bool isImage = !differsFrom(seen.pixel(x, y), kFullScreenColour);
                    if (elements.contains(onScreen) && isImage) {
                        covered += QRect(onScreen, QSize(1, 1));
                    } else if (!elements.contains(onScreen) && !isImage) {
                        notImage += QRect(onScreen, QSize(1, 1));
                    }
                }
            }
            return covered.isEmpty() && notImage.isEmpty();
        },
        kSettleWait, std::chrono::milliseconds(100));
    EXPECT_TRUE(shown) << "on " << desktop() << ", over the focused full-screen window: "
                       << describeBounds(covered.translated(-origin))
                       << " of the elements covered, "
                       << describeBounds(notImage.translated(-origin))
                       << " around them not the image (client coordinates); the X server has "
                       << describeWindowsAt(x_, area.topLeft()) << " at the band's corner";

    // The reticle still answers: "X" ends the program.
    ASSERT_TRUE(driver_->clickElement("Label2"));
    const auto status = session_->process().waitForExit(kDefaultWait);
    ASSERT_TRUE(status) << "the program still runs on " << desktop();
    EXPECT_EQ(status->code, 0);
}

// ---- The menu brings a window to the front ---------------------------------------------

TEST_F(DesktopTest, AMenuChoiceComesToTheFrontAndIsActive)
{
    // Chooses the design from the menu and expects its window active and on
    // top of the stack, without the test's help; `window` receives it at
    // the first choice.
    const auto chooseAndExpectInFront = [&](const MenuDesign& d, XId& window, const char* when) {
        const ReticleDesign* design = designs::findByWindowName(d.windowName);
        ASSERT_TRUE(session_->typeIntoMainWindow(menuKeys(d.index))) << design->caption;
        if (window == 0) {
            // Its first show; a later choice shows the same window, which
            // the transparent state leaves unframed.
            ASSERT_TRUE(session_->waitForWindow(design->caption, window));
        }
        XId active = 0;
        std::vector<XId> stacking;
        const bool inFront = waitUntil([&] {
            active = activeWindow(x_);
            stacking = clientStacking(x_);
            return active == window && !stacking.empty() && stacking.back() == window;
        });
        EXPECT_TRUE(inFront) << design->caption << " chosen " << when << " on " << desktop()
                             << ": active is \"" << windowTitle(x_, active).value_or("none")
                             << "\", topmost is \""
                             << (stacking.empty() ? "none"
                                                  : windowTitle(x_, stacking.back()).value_or("?"))
                             << "\"";
    };
    XId cross = 0;
    XId punto = 0;
    chooseAndExpectInFront(kCroceRossa, cross, "first");
    chooseAndExpectInFront(kPunto, punto, "first");
    // Again, after another window took the front: a transparent window
    // (unframed), then a framed one.
    ASSERT_TRUE(session_->activate(cross));
    driver_.emplace(x_, cross, *designs::findByWindowName(kCroceRossa.windowName), kScreenDpi);
    ASSERT_TRUE(toggleTo(true));
    ASSERT_TRUE(session_->activate(punto));
    chooseAndExpectInFront(kCroceRossa, cross, "again, transparent");
    chooseAndExpectInFront(kPunto, punto, "again, windowed");
}

// ---- Drag by a bar ------------------------------------------------------------------------

/// The reticle's state during a drag.
enum class DragCase
{
    Windowed,
    Transparent,
    /// Transparent and kept above: outside the window manager, the program
    /// moves the window itself.
    TransparentKeptAbove,
};

class DragTest : public DesktopTest, public ::testing::WithParamInterface<DragCase>
{
};

TEST_P(DragTest, ALeftDragOnABarMovesTheWindowWithThePointer)
{
    const bool transparent = GetParam() != DragCase::Windowed;
    ASSERT_TRUE(open(kCroceRossa));
    if (GetParam() == DragCase::TransparentKeptAbove) {
        ASSERT_TRUE(keepAbove());
    }
    if (transparent) {
        ASSERT_TRUE(toggleTo(true));
    }
    // A window the window manager does not manage (a kept-above reticle,
    // where the window manager would stack a full-screen window over it) is
    // moved by the program itself.
    const bool ownMove = isOverrideRedirect(x_, driver_->window());
    if (desktop() == "plasma-wayland") {
        GTEST_SKIP() << (ownMove ? "the motions of an XTest drag do not reach a window KWin "
                                   "does not manage (not checked)"
                                 : "KWin's move takes no XTest input and KWin offers no input "
                                   "of its own to a test without a portal (checked by hand)");
    }
    const QPoint origin = *driver_->origin();
    const QSize size = *driver_->size();
    // The middle of the bar block in the title strip: the first motion stays
    // on it, so the cursor changes only when the window manager's move
    // begins (the one-pixel bars are the reticle tests' matter).
    const auto pressed = driver_->screenPointOf("img", 0);
    ASSERT_TRUE(pressed);
    const QPoint pressedAt = *pressed;
    // Towards the middle of the screen, away from the edges' resistance.
    const QPoint middle = origin + QPoint(size.width(), size.height()) / 2;
    const QPoint direction(middle.x() < x_.screenWidth() / 2 ? 1 : -1,
                           middle.y() < x_.screenHeight() / 2 ? 1 : -1);
    constexpr int kSteps = 6;
    const QPoint step(12 * direction.x(), 8 * direction.y());
    const QPoint travel = step * kSteps;

    // The window manager moves the window by the pointer's travel from where
    // it took the pointer: the first motion, or (Mutter's own input, where
    // the test cannot tell when the move began) the press. The program's
    // own move keeps the pressed pixel under the pointer.
    const auto followed = [&] {
        const auto now = driver_->origin();
        if (ownMove) {
            return now && *now == origin + travel;
        }
        return now && (*now == origin + travel - step ||
                       (desktop() == "gnome-wayland" && *now == origin + travel));
    };
    const auto describeFollowed = [&] {
        std::ostringstream out;
        out << "on " << desktop() << " the window went from " << toString(origin) << " to "
            << toString(driver_->origin()) << ", the pointer travelled "
            << toString(std::optional(travel));
        return out.str();
    };
    // The button goes up once the window has followed, as a hand's does: a
    // window manager that has taken the move also checks that the button is
    // still down (Mutter ends the move otherwise), and a release sent with
    // the steps could come before that check. The steps in between may not
    // all show: a window manager may hold the window at a screen edge for
    // the first pixels (IceWM).
    if (desktop() == "gnome-wayland") {
        MutterPointerClient pointer(ZENTARO_MUTTER_POINTER);
        MoveRequestWatch moveRequests;
        // Pressed once XWayland has the pointer over the bar: it learns of
        // the pointer's place from the compositor, after the motion.
        ASSERT_TRUE(pointer.moveTo(pressedAt));
        ASSERT_TRUE(waitUntil([&] { return driver_->pointer().position() == pressedAt; }))
            << "XWayland has the pointer at " << toString(driver_->pointer().position())
            << ", not at " << toString(std::optional(pressedAt));
        ASSERT_TRUE(pointer.press());
        ASSERT_TRUE(pointer.moveBy(step));
        if (!ownMove) {
            ASSERT_TRUE(moveRequests.waitForMove(driver_->window()))
                << "the program asked for no move on " << desktop() << "; "
                << driver_->describeState();
        }
        for (int i = 2; i <= kSteps; ++i) {
            ASSERT_TRUE(pointer.moveBy(step)) << "step " << i;
        }
        ASSERT_TRUE(waitUntil(followed)) << describeFollowed();
        ASSERT_TRUE(pointer.release());
    } else {
        Pointer& pointer = driver_->pointer();
        ASSERT_TRUE(pointer.moveTo(pressedAt));
        const auto cursorBefore = pointer.cursorSerial();
        MoveRequestWatch moveRequests;
        ASSERT_TRUE(pointer.press(kLeftButton));
        // The first motion makes the program ask the window manager for the
        // move. The window manager follows the pointer only once it has
        // taken it, and shows its move cursor then; steps made before that
        // would be lost to it. (A pointer grab says nothing here: the
        // program holds one from the press on.)
        ASSERT_TRUE(pointer.moveTo(pressedAt + step));
        if (ownMove) {
            // The program follows the pointer itself, from the press on.
            ASSERT_TRUE(waitUntil([&] { return driver_->origin() == origin + step; }))
                << "the window did not follow the first motion on " << desktop() << "; "
                << driver_->describeState();
        } else {
            ASSERT_TRUE(moveRequests.waitForMove(driver_->window()))
                << "the program asked for no move on " << desktop() << "; "
                << driver_->describeState();
            ASSERT_TRUE(waitUntil([&] { return pointer.cursorSerial() != cursorBefore; }))
                << "the window manager's move did not begin on " << desktop() << "; "
                << driver_->describeState();
        }
        for (int i = 2; i <= kSteps; ++i) {
            ASSERT_TRUE(pointer.moveTo(pressedAt + step * i))
                << "step " << i << " to " << toString(std::optional(pressedAt + step * i))
                << ": the pointer is at " << toString(pointer.position()) << ", the window at "
                << toString(driver_->origin()) << " (from " << toString(std::optional(origin))
                << ")";
        }
        ASSERT_TRUE(waitUntil(followed)) << describeFollowed();
        ASSERT_TRUE(pointer.release(kLeftButton));
    }
    // The release leaves the window where it is.
    ASSERT_TRUE(holdsOnceWindowManagerIsDone(x_, followed)) << describeFollowed();
    // The drag leaves the state as it was.
    EXPECT_TRUE(shapeShowsState(transparent)) << driver_->describeState();
}

INSTANTIATE_TEST_SUITE_P(States, DragTest,
                         ::testing::Values(DragCase::Windowed, DragCase::Transparent,
                                           DragCase::TransparentKeptAbove),
                         [](const ::testing::TestParamInfo<DragCase>& info) {
                             switch (info.param) {
                             case DragCase::Windowed:
                                 return "Windowed";
                             case DragCase::Transparent:
                                 return "Transparent";
                             case DragCase::TransparentKeptAbove:
                                 return "TransparentKeptAbove";
                             }
                             return "";
                         });

// ---- "X" -----------------------------------------------------------------------------------

TEST_F(DesktopTest, XInTheTransparentStateEndsTheProgramWithStatusZero)
{
    ASSERT_TRUE(open(kPunto));
    ASSERT_TRUE(toggleTo(true));
    ASSERT_TRUE(driver_->clickElement("Label2"));
    const auto status = session_->process().waitForExit(kDefaultWait);
    ASSERT_TRUE(status) << "the program still runs on " << desktop();
    EXPECT_TRUE(status->exited) << "ended by signal " << status->signal;
    EXPECT_EQ(status->code, 0);
}

} // namespace
} // namespace zentaro::x11test
