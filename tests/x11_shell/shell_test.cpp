// The application shell on a real X server with openbox: what shows at
// start, the reticle menu and the information item driven from the
// keyboard, one window per item, and how the program ends.
#include "pointer.h"
#include "process_windows.h"
#include "screenshot.h"
#include "wait.h"
#include "window_query.h"
#include "x_connection.h"
#include "zentaro_session.h"

#include "designs/designs.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zentaro::x11test {
namespace {

/// The tests' screen resolution (scripts/x11-session.sh starts Xvfb at 96 dpi).
constexpr double kScreenDpi = 96.0;

/// One item of the reticle menu: its place, the window it opens and that
/// window's name.
struct MenuItem
{
    int index;
    std::string_view caption;
    std::string_view windowName;
};

constexpr std::array<MenuItem, 8> kMenuItems{{
    {0, "StandardBianco", "Form3"},
    {1, "StandardRosso", "Form2"},
    {2, "StandardRossoFine", "Form4"},
    {3, "CroceRossa", "Form5"},
    {4, "CroceRossaMicrometrica", "Form6"},
    {5, "CampoCCD", "Form7"},
    {6, "Punto", "Form8"},
    {7, "Centratore", "Form10"},
}};

std::string itemName(const ::testing::TestParamInfo<MenuItem>& info)
{
    return std::string(info.param.caption);
}

// ---- The banner picture ----------------------------------------------------------

/// The banner picture's background, 0x0001015B.
const QColor kBannerBackground(91, 1, 1);
/// The height (pixels) of the banner picture that shows: 150 less the two
/// rows that fall outside the banner window's client area.
constexpr int kBannerVisibleHeightPixels = 148;
/// The picture's columns 0 to 10 hold only background over its whole height.
constexpr int kEmptyColumnsAtLeft = 11;
/// The middle of the "Punto" sample's filled dot (columns 491-495, rows 74-79).
constexpr QPoint kPuntoDotCentre(493, 76);
/// How far (pixels) from the client area's top-left the banner may start
/// across: a frame of the client area may come first.
constexpr int kBannerLeftSlackPixels = 4;
/// A menu bar is lower than this (pixels).
constexpr int kMenuBarMaxHeightPixels = 60;

bool near(const QColor& a, const QColor& b, int tolerance = 3)
{
    return std::abs(a.red() - b.red()) <= tolerance &&
           std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

bool isBrightRed(const QColor& c)
{
    return c.red() >= 200 && c.green() <= 40 && c.blue() <= 40;
}

/// The longest run of banner background down column `x`: its first row and
/// its length.
std::pair<int, int> longestBackgroundRun(const QImage& image, int x)
{
    std::pair<int, int> best{0, 0};
    int start = 0;
    int length = 0;
    for (int y = 0; y < image.height(); ++y) {
        if (near(image.pixelColor(x, y), kBannerBackground)) {
            start = length == 0 ? y : start;
            ++length;
            best = length > best.second ? std::pair{start, length} : best;
        } else {
            length = 0;
        }
    }
    return best;
}

/// Where the banner picture's top-left pixel shows in an image of the main
/// window: the first column near the left edge with the picture's empty
/// background over (nearly) the whole visible height.
std::optional<QPoint> findBannerPicture(const QImage& mainWindow)
{
    const int lastColumn =
        std::min(mainWindow.width(), kBannerLeftSlackPixels + kEmptyColumnsAtLeft);
    for (int x = 0; x < lastColumn; ++x) {
        const auto [top, length] = longestBackgroundRun(mainWindow, x);
        if (length >= kBannerVisibleHeightPixels - 2) {
            return QPoint(x, top);
        }
    }
    return std::nullopt;
}

// ---- Fixture ----------------------------------------------------------------------

/// The program started afresh, its main window shown.
class ShellTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        session_.emplace(x_);
        ASSERT_TRUE(session_->waitForMainWindow());
    }

    /// Waits until `window` is the topmost client and shows at `rootPos`,
    /// activating it as often as needed.
    bool bringToTop(XId window, QPoint rootPos)
    {
        return waitUntil([&] {
            const auto stacking = clientStacking(x_);
            if (!stacking.empty() && stacking.back() == window &&
                showsWindowAt(x_, window, rootPos)) {
                return true;
            }
            runXdotool({"windowactivate", std::to_string(window)});
            return false;
        });
    }

    /// Whether every window in `windows` is gone from the window manager's list.
    bool allUnlisted(const std::vector<XId>& windows)
    {
        const auto listed = clientWindows(x_);
        return std::none_of(windows.begin(), windows.end(), [&](XId w) {
            return std::find(listed.begin(), listed.end(), w) != listed.end();
        });
    }

    XConnection x_;
    std::optional<ZentaroSession> session_;
};

// ---- Start-up -----------------------------------------------------------------------

TEST_F(ShellTest, StartShowsOnlyTheMainWindowWithTheBannerAtItsTopLeft)
{
    const XId main = session_->mainWindow();
    const auto origin = rootPosition(x_, main);
    const auto size = windowSize(x_, main);
    ASSERT_TRUE(origin && size);

    // The banner is painted once the background of its picture and the
    // "Punto" sample's dot show where the picture puts them.
    std::optional<QPoint> banner;
    QColor dot;
    const bool painted = waitUntil([&] {
        const QImage image = grabScreen(x_, QRect(*origin, *size));
        banner = image.isNull() ? std::nullopt : findBannerPicture(image);
        if (!banner) {
            return false;
        }
        dot = image.pixelColor(*banner + kPuntoDotCentre);
        return isBrightRed(dot);
    });
    ASSERT_TRUE(banner) << "no column of banner background "
                        << kBannerBackground.name().toStdString() << " near the left edge of the "
                        << size->width() << "x" << size->height() << " main window";
    EXPECT_TRUE(painted) << "the Punto sample's dot shows " << dot.name().toStdString();
    // Beneath the menu bar, at the client area's left edge.
    EXPECT_LE(banner->x(), kBannerLeftSlackPixels);
    EXPECT_GT(banner->y(), 0) << "no menu bar above the banner";
    EXPECT_LT(banner->y(), kMenuBarMaxHeightPixels);

    // Nothing else opened: no reticle window, no information window, and the
    // banner window is no top-level window of its own.
    const auto windows = session_->clients();
    EXPECT_EQ(windows.size(), 1u) << session_->describeClients();
    EXPECT_EQ(windowTitle(x_, main), std::string(kMainWindowTitle));
    EXPECT_FALSE(session_->process().exitStatus());
}

// ---- The menu from the keyboard -------------------------------------------------------

struct KeyboardChoice
{
    const char* name;
    std::vector<std::string> keys;
    std::string_view title;
};

class KeyboardChoiceTest : public ShellTest, public ::testing::WithParamInterface<KeyboardChoice>
{
};

TEST_P(KeyboardChoiceTest, OpensTheChosenWindowBesideTheMainWindow)
{
    XId window = 0;
    ASSERT_TRUE(session_->openWith(GetParam().keys, GetParam().title, window));
    EXPECT_NE(window, session_->mainWindow());
    const auto windows = session_->clients();
    EXPECT_EQ(windows.size(), 2u) << session_->describeClients();
    EXPECT_TRUE(isViewable(x_, session_->mainWindow())) << "the main window went away";
}

INSTANTIATE_TEST_SUITE_P(
    Keys, KeyboardChoiceTest,
    ::testing::Values(
        // The first item is highlighted as the menu drops down.
        KeyboardChoice{"FirstItemAtOnce", {"alt+z", "Return"}, "StandardBianco"},
        KeyboardChoice{"SixDown", menuKeys(6), "Punto"},
        // A unique access letter chooses at once; "&Griglia" opens the grid.
        KeyboardChoice{"LetterG", {"alt+z", "g"}, "StandardRosso"},
        KeyboardChoice{"LetterP", {"alt+z", "p"}, "Punto"},
        // A shared letter moves the highlight to the next item with it.
        KeyboardChoice{"LetterS", {"alt+z", "s", "Return"}, "StandardRossoFine"},
        KeyboardChoice{"LetterCTwice", {"alt+z", "c", "c", "Return"}, "CroceRossaMicrometrica"},
        // "&Info" is a command on the menu bar itself.
        KeyboardChoice{"AltI", {"alt+i"}, kInfoWindowTitle}),
    [](const ::testing::TestParamInfo<KeyboardChoice>& info) {
        return std::string(info.param.name);
    });

// ---- One window per item ----------------------------------------------------------------

TEST_F(ShellTest, EveryItemAndInfoOpenOneWindowEachAndAgainBringItToTheFront)
{
    std::vector<XId> opened;
    for (const MenuItem& item : kMenuItems) {
        XId window = 0;
        ASSERT_TRUE(session_->openWith(menuKeys(item.index), item.caption, window))
            << "item " << item.index;
        opened.push_back(window);
    }
    XId info = 0;
    ASSERT_TRUE(session_->openWith({"alt+i"}, kInfoWindowTitle, info));
    opened.push_back(info);

    auto windows = session_->clients();
    EXPECT_EQ(windows.size(), 10u) << session_->describeClients();
    for (const XId window : opened) {
        EXPECT_TRUE(isViewable(x_, window)) << windowTitle(x_, window).value_or("?");
    }

    // A second choice activates the open window and opens no other.
    const std::vector<std::pair<std::vector<std::string>, XId>> again{
        {menuKeys(1), opened[1]}, {menuKeys(7), opened[7]}, {{"alt+i"}, info}};
    for (const auto& [keys, window] : again) {
        const std::string title = windowTitle(x_, window).value_or("?");
        ASSERT_TRUE(session_->typeIntoMainWindow(keys)) << title;
        EXPECT_TRUE(waitUntil([&] { return activeWindow(x_) == window; }))
            << "\"" << title << "\" not brought to the front";
        XId found = 0;
        ASSERT_TRUE(session_->waitForWindow(title, found));
        EXPECT_EQ(found, window) << title;
        EXPECT_EQ(session_->clients().size(), 10u) << session_->describeClients();
    }
}

// ---- The end of the program ---------------------------------------------------------------

class CloseLabelTest : public ShellTest, public ::testing::WithParamInterface<MenuItem>
{
};

TEST_P(CloseLabelTest, XEndsTheProgramWithEveryWindow)
{
    const MenuItem& item = GetParam();
    const ReticleDesign* design = designs::findByWindowName(item.windowName);
    ASSERT_NE(design, nullptr) << item.windowName;
    ASSERT_EQ(design->caption, item.caption);
    const DesignElement* label = design->find("Label2");
    ASSERT_NE(label, nullptr) << item.windowName << " has no Label2";

    // The information window too, so that a window other than a reticle
    // window and the main window has to go as well.
    XId info = 0;
    ASSERT_TRUE(session_->openWith({"alt+i"}, kInfoWindowTitle, info));
    XId reticle = 0;
    ASSERT_TRUE(session_->openWith(menuKeys(item.index), item.caption, reticle));
    const std::vector<XId> all = session_->clients();
    ASSERT_EQ(all.size(), 3u) << session_->describeClients();

    const PixelBox box = label->pixelBox(kScreenDpi);
    const auto origin = rootPosition(x_, reticle);
    ASSERT_TRUE(origin);
    const QPoint centre = *origin + QPoint(static_cast<int>(box.left + box.width / 2),
                                           static_cast<int>(box.top + box.height / 2));
    ASSERT_TRUE(bringToTop(reticle, centre)) << "\"X\" of " << item.caption << " is covered";
    Pointer pointer(x_);
    ASSERT_TRUE(pointer.click(centre));

    const auto status = session_->process().waitForExit(kDefaultWait);
    ASSERT_TRUE(status) << "the program still runs; " << session_->describeClients();
    EXPECT_TRUE(status->exited) << "ended by signal " << status->signal;
    EXPECT_EQ(status->code, 0);
    EXPECT_TRUE(waitUntil([&] { return allUnlisted(all); }))
        << "windows left: " << clientWindows(x_).size();
}

INSTANTIATE_TEST_SUITE_P(AllItems, CloseLabelTest, ::testing::ValuesIn(kMenuItems), itemName);

TEST_F(ShellTest, ClosingTheMainWindowLeavesTheOthersAndTheLastOneEndsTheProgram)
{
    XId grid = 0;
    XId punto = 0;
    XId info = 0;
    ASSERT_TRUE(session_->openWith({"alt+z", "g"}, "StandardRosso", grid));
    ASSERT_TRUE(session_->openWith({"alt+z", "p"}, "Punto", punto));
    ASSERT_TRUE(session_->openWith({"alt+i"}, kInfoWindowTitle, info));

    ASSERT_TRUE(session_->close(session_->mainWindow()));
    for (const XId window : {grid, punto, info}) {
        EXPECT_TRUE(isViewable(x_, window)) << windowTitle(x_, window).value_or("?");
    }

    // Each close is handled (so the program still runs) and leaves the rest.
    ASSERT_TRUE(session_->close(grid));
    EXPECT_FALSE(session_->process().exitStatus()) << "ended with two windows open";
    ASSERT_TRUE(session_->close(info));
    EXPECT_FALSE(session_->process().exitStatus()) << "ended with Punto open";
    EXPECT_TRUE(isViewable(x_, punto));
    EXPECT_EQ(session_->clients(), std::vector<XId>{punto}) << session_->describeClients();

    ASSERT_TRUE(session_->requestClose(punto));
    const auto status = session_->process().waitForExit(kDefaultWait);
    ASSERT_TRUE(status) << "the program still runs; " << session_->describeClients();
    EXPECT_TRUE(status->exited) << "ended by signal " << status->signal;
    EXPECT_EQ(status->code, 0);
    EXPECT_TRUE(waitUntil([&] { return allUnlisted({punto}); }));
}

} // namespace
} // namespace zentaro::x11test
