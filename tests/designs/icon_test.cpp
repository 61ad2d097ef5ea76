// The common icon: a bright red crosshair on a black 32 x 32 field.
#include "designs/icon.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

namespace zentaro::test {
namespace {

using Pixel = std::pair<int, int>; // column, row

// The red pixels as the crosshair is drawn: the lines in column 15 and row 15,
// and 3-pixel ticks across each line at these places along it.
std::set<Pixel> expectedRedPixels()
{
    std::set<Pixel> red;
    for (int i = 0; i < 32; ++i) {
        red.insert({15, i});
        red.insert({i, 15});
    }
    for (int at : {0, 3, 7, 11, 19, 23, 27, 31}) {
        for (int across : {14, 15, 16}) {
            red.insert({across, at}); // tick on the vertical line
            red.insert({at, across}); // tick on the horizontal line
        }
    }
    return red;
}

TEST(Icon, RedCrosshairOnBlackAndNothingElse)
{
    ASSERT_EQ(icon::kSizePixels, 32);
    const auto pixels = icon::pixels();
    ASSERT_EQ(pixels.size(), 32u * 32u);
    const auto red = expectedRedPixels();
    EXPECT_EQ(red.size(), 95u);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const ColourValue colour = pixels[static_cast<std::size_t>(y * 32 + x)];
            const bool isRed = red.contains({x, y});
            EXPECT_EQ(colour.raw, isRed ? 0x000000FFu : 0x00000000u) << "pixel " << x << "," << y;
        }
    }
}

} // namespace
} // namespace zentaro::test
