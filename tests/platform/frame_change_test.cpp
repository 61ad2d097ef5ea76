// What a frame change carries over: the stacking hints Qt rewrites from its
// flags, and the bounded hold of the client rectangle against the window
// manager's answers.
#include "platform/frame_change.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace zentaro::platform {
namespace {

constexpr Qt::WindowFlags kWindow = Qt::Window;

struct FlagsCase
{
    const char* name;
    Qt::WindowFlags flags;
    bool framed;
    WmStates states;
    Qt::WindowFlags expected;
};

class FlagsForFrameTest : public testing::TestWithParam<FlagsCase>
{
};

TEST_P(FlagsForFrameTest, CarriesTheWindowManagersStackingStates)
{
    EXPECT_EQ(flagsForFrame(GetParam().flags, GetParam().framed, GetParam().states),
              GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FlagsForFrameTest,
    testing::Values(
        FlagsCase{"PlainToFrameless", kWindow, false, {}, kWindow | Qt::FramelessWindowHint},
        FlagsCase{"FramelessToFramed", kWindow | Qt::FramelessWindowHint, true, {}, kWindow},
        // The user set "always on top" from the window manager's menu: Qt
        // must ask to keep it, not to remove it.
        FlagsCase{"AboveKept",
                  kWindow,
                  false,
                  {.above = true},
                  kWindow | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint},
        FlagsCase{"BelowKept",
                  kWindow | Qt::FramelessWindowHint,
                  true,
                  {.below = true},
                  kWindow | Qt::WindowStaysOnBottomHint},
        // ...and unset there since the last change: the old hint goes.
        FlagsCase{"AboveDroppedByTheUser",
                  kWindow | Qt::WindowStaysOnTopHint,
                  false,
                  {},
                  kWindow | Qt::FramelessWindowHint},
        // Sticky and maximised are not Qt's to rewrite: no hint for them.
        FlagsCase{"OtherStatesAddNoHint",
                  kWindow | Qt::WindowTitleHint,
                  true,
                  {.sticky = true, .maximizedHorizontally = true, .maximizedVertically = true},
                  kWindow | Qt::WindowTitleHint},
        FlagsCase{"AboveWinsOverBelow",
                  kWindow,
                  true,
                  {.above = true, .below = true},
                  kWindow | Qt::WindowStaysOnTopHint}),
    [](const testing::TestParamInfo<FlagsCase>& info) { return info.param.name; });

// ---- The hold ------------------------------------------------------------------------

const QRect kTarget(552, 310, 496, 395);

/// One event the keeper passes on: the window manager's answer, or a new
/// client rectangle, and where the window manager said it put the client
/// (its synthetic ConfigureNotify) if it said so.
struct HoldEvent
{
    bool answer;
    QRect current;
    FrameHold::Step expected;
    std::optional<QRect> reported = std::nullopt;
};

struct HoldCase
{
    const char* name;
    std::vector<HoldEvent> events;
    QRect target = kTarget;
};

class FrameHoldTest : public testing::TestWithParam<HoldCase>
{
};

TEST_P(FrameHoldTest, AsksAgainUntilAnsweredAndInPlace)
{
    FrameHold hold;
    hold.start(GetParam().target);
    int step = 0;
    for (const HoldEvent& event : GetParam().events) {
        SCOPED_TRACE(step++);
        if (event.answer) {
            hold.noteAnswer();
        }
        EXPECT_EQ(hold.check(event.current, event.reported), event.expected);
    }
    EXPECT_FALSE(hold.isHolding());
}

using Step = FrameHold::Step;
// Mutter: the client takes the outer rectangle of the frame removed (37 px
// up and 37 px taller), then goes back on request.
const QRect kInFrameRect = kTarget.adjusted(0, -37, 0, 0);

// Mutter 48 on X11, a maximised client on a 1920x1200 screen leaving the
// maximised state and its frame (39 px title bar) at once: the client
// shrinks to its unmaximised size inside the frame, is put at the frame's
// origin, gets the size asked for but not the position, and from then on is
// reported at the target.
const QRect kMaximised(0, 39, 1920, 1161);
const QRect kUnmaximisedInFrame(0, 39, 492, 389);
const QRect kAtFrameOrigin(0, 0, 1920, 1161);

INSTANTIATE_TEST_SUITE_P(
    WindowManagers, FrameHoldTest,
    testing::Values(
        // openbox: frame extents change, the client stays.
        HoldCase{"KeepsTheClient", {{false, kTarget, Step::Wait}, {true, kTarget, Step::Done}}},
        HoldCase{"MovesTheClientOnce",
                 {{true, kInFrameRect, Step::Request},
                  {false, kInFrameRect, Step::Request},
                  {false, kTarget, Step::Done}}},
        // The answer comes after the client moved: it is asked back, and the
        // hold ends only once answered and in place.
        HoldCase{"AnswersLate",
                 {{false, kInFrameRect, Step::Request},
                  {false, kTarget, Step::Wait},
                  {true, kTarget, Step::Done}}},
        // A window manager that overrides every request is not fought for ever.
        HoldCase{"NeverGivesIn",
                 {{true, kInFrameRect, Step::Request},
                  {false, kInFrameRect, Step::Request},
                  {false, kInFrameRect, Step::Request},
                  {false, kInFrameRect, Step::Request},
                  {false, kInFrameRect, Step::Done}}},
        HoldCase{"ReportsTheTargetWhileTheClientIsElsewhere",
                 {{false, kUnmaximisedInFrame, Step::Request},
                  {true, kUnmaximisedInFrame.translated(0, -39), Step::Request},
                  {false, kAtFrameOrigin, Step::Request},
                  {false, kAtFrameOrigin, Step::RequestAside, kMaximised},
                  {false, kMaximised.translated(0, -1), Step::Wait, kMaximised.translated(0, -1)},
                  {false, kMaximised, Step::Done, kMaximised}},
                 kMaximised},
        // The step aside comes once per hold, and even past the bound: the
        // requests before it could not have moved the client. A window
        // manager that then still reports the target is fought no longer.
        HoldCase{"StepsAsideOnce",
                 {{true, kInFrameRect, Step::Request},
                  {false, kInFrameRect, Step::Request},
                  {false, kInFrameRect, Step::Request},
                  {false, kInFrameRect, Step::Request},
                  {false, kInFrameRect, Step::RequestAside, kTarget},
                  {false, kInFrameRect, Step::Done, kTarget}}}),
    [](const testing::TestParamInfo<HoldCase>& info) { return info.param.name; });

TEST(FrameHoldTest, StoppedHoldAsksNothing)
{
    FrameHold hold;
    hold.start(kTarget);
    hold.stop();
    EXPECT_EQ(hold.check(kInFrameRect), FrameHold::Step::Done);
}

} // namespace
} // namespace zentaro::platform
