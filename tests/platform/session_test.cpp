// Which Qt platform the program asks for, from the session it starts in.
#include "platform/session.h"

#include <gtest/gtest.h>

namespace zentaro::platform {
namespace {

struct SessionCase
{
    const char* name;
    SessionFacts facts;
    PlatformDecision expected;
};

class DecidePlatformTest : public testing::TestWithParam<SessionCase>
{
};

TEST_P(DecidePlatformTest, Decision)
{
    EXPECT_EQ(decidePlatform(GetParam().facts), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Sessions, DecidePlatformTest,
    testing::Values(
        SessionCase{"X11Session", {{}, false, {}, "x11", ":0"}, PlatformDecision::KeepDefault},
        SessionCase{"WaylandWithXWayland",
                    {{}, false, "wayland-0", "wayland", ":0"},
                    PlatformDecision::UseX11},
        SessionCase{
            "WaylandBySessionTypeOnly", {{}, false, {}, "wayland", ":1"}, PlatformDecision::UseX11},
        SessionCase{"WaylandWithoutXServer",
                    {{}, false, "wayland-0", "wayland", {}},
                    PlatformDecision::NoX11Available},
        SessionCase{"EmptyDisplayIsNoXServer",
                    {{}, false, "wayland-0", {}, ""},
                    PlatformDecision::NoX11Available},
        SessionCase{"ExplicitEnvironmentChoiceKept",
                    {"wayland", false, "wayland-0", "wayland", {}},
                    PlatformDecision::KeepDefault},
        SessionCase{"ExplicitArgumentKept",
                    {{}, true, "wayland-0", "wayland", {}},
                    PlatformDecision::KeepDefault},
        SessionCase{"EmptyEnvironmentChoiceIsNoChoice",
                    {"", false, "wayland-0", {}, ":0"},
                    PlatformDecision::UseX11},
        SessionCase{"NoSessionAtAll", {}, PlatformDecision::KeepDefault}),
    [](const testing::TestParamInfo<SessionCase>& info) { return info.param.name; });

TEST(CurrentSessionFacts, SeesThePlatformArgumentInEitherSpelling)
{
    for (const char* spelling : {"-platform", "--platform", "-platform=xcb"}) {
        char program[] = "zentaro";
        std::string argument = spelling;
        char* argv[] = {program, argument.data(), nullptr};
        EXPECT_TRUE(currentSessionFacts(2, argv).platformArgument) << spelling;
    }
    char program[] = "zentaro";
    char* argv[] = {program, nullptr};
    EXPECT_FALSE(currentSessionFacts(1, argv).platformArgument);
}

} // namespace
} // namespace zentaro::platform
