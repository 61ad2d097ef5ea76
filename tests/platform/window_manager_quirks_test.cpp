// Which window managers keep a kept-above window over a focused full-screen
// one, by the names they announce on Debian 12 and 13.
#include "platform/window_manager_quirks.h"

#include <gtest/gtest.h>

#include <string_view>

namespace zentaro::platform {
namespace {

struct NameCase
{
    std::string_view name;
    bool keepsAbove;
};

class KeepsAboveTest : public testing::TestWithParam<NameCase>
{
};

TEST_P(KeepsAboveTest, ByTheAnnouncedName)
{
    EXPECT_EQ(keepsAboveWindowsOverFullScreen(GetParam().name), GetParam().keepsAbove)
        << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(Announced, KeepsAboveTest,
                         testing::Values(NameCase{"Mutter", true},
                                         NameCase{"Mutter (Muffin)", true},
                                         NameCase{"GNOME Shell", true}, NameCase{"Xfwm4", true},
                                         NameCase{"Openbox", false}, NameCase{"KWin", false},
                                         NameCase{"IceWM 3.3.1 (Linux 6.1.0/x86_64)", false},
                                         NameCase{"Metacity (Marco)", false},
                                         // Announcing nothing: the way that works everywhere.
                                         NameCase{"", false}));

} // namespace
} // namespace zentaro::platform
