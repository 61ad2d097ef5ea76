// Twips to pixels and the rounding, ties to the even neighbour, that every
// conversion to an integer uses.
#include "designs/designs.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace zentaro::test {
namespace {

struct RoundCase
{
    double value;
    std::int64_t expected;
};

const RoundCase kRoundings[] = {
    {2.5, 2},
    {3.5, 4},
    {0.5, 0},
    {1.5, 2},
    {-2.5, -2},
    {-3.5, -4},
    {-0.5, 0},
    {-1.5, -2},
    {0.49999, 0},
    {0.50001, 1},
    {-0.49999, 0},
    {-0.50001, -1},
    {2.49999, 2},
    {2.50001, 3},
    {0.0, 0},
    {7.0, 7},
    {-7.0, -7},
    {16.6667, 17},
    {-16.6667, -17},
    {229.5, 230},
    {277.5, 278},
    {1e9 + 0.5, 1000000000},
    {1e9 + 1.5, 1000000002},
};

TEST(RoundHalfEven, RoundsToNearestWithTiesToEven)
{
    for (const RoundCase& c : kRoundings) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(roundHalfEven(c.value), c.expected);
        EXPECT_EQ(roundToInt(c.value), static_cast<int>(c.expected));
    }
}

static_assert(roundHalfEven(2.5) == 2 && roundHalfEven(3.5) == 4, "usable at compile time");

struct PixelCase
{
    std::string_view label;
    std::string_view windowName;
    std::string_view element;
    int index;
    PixelBox pixels; // at 96 dpi
    IntRect snapped;
};

const PixelCase kPixelBoxes[] = {
    {"WhiteShortSide", "Form3", "Shape4", kNoIndex, {152, 168, 1, 17}, {152, 168, 153, 185}},
    {"EightPixelShortSide", "Form4", "Shape2", kNoIndex, {128, 160, 1, 8}, {128, 160, 129, 168}},
    {"NarrowBarTick", "Form6", "img", 1, {240, 168, 250.0 / 15.0, 1}, {240, 168, 257, 169}},
    {"Ring", "Form8", "Shape1", kNoIndex, {240, 192, 9, 9}, {240, 192, 249, 201}},
    {"GridScaleLabel", "Form2", "Label3", 3, {912, 288, 17, 17}, {912, 288, 929, 305}},
    {"GridCentreLine", "Form2", "img", 6, {32, 288, 897, 1}, {32, 288, 929, 289}},
    {"CentringAxis", "Form10", "img", 1, {24, 312, 881, 1}, {24, 312, 905, 313}},
    {"SpareStroke", "Form10", "Shape4", kNoIndex, {552, 0, 16, 9}, {552, 0, 568, 9}},
    {"CloseLabel", "Form10", "Label2", kNoIndex, {600, 0, 25, 16}, {600, 0, 625, 16}},
};

TEST(PixelBoxes, RowsAt96Dpi)
{
    for (const PixelCase& c : kPixelBoxes) {
        SCOPED_TRACE(std::string(c.label));
        const ReticleDesign* design = designs::findByWindowName(c.windowName);
        ASSERT_NE(design, nullptr);
        const DesignElement* element = design->find(c.element, c.index);
        ASSERT_NE(element, nullptr);
        const PixelBox box = element->pixelBox(96);
        EXPECT_DOUBLE_EQ(box.left, c.pixels.left);
        EXPECT_DOUBLE_EQ(box.top, c.pixels.top);
        EXPECT_DOUBLE_EQ(box.width, c.pixels.width);
        EXPECT_DOUBLE_EQ(box.height, c.pixels.height);
        EXPECT_EQ(snapToPixels(box), c.snapped);
    }
}

// Away from 96 dpi, box edges fall between pixels; each edge rounds by itself,
// ties to even.
struct SnapCase
{
    std::string_view label;
    TwipBox twips;
    double dpi;
    IntRect snapped;
};

const SnapCase kSnaps[] = {
    // 228, 252, 1.5 x 25.5: right 229.5 -> 230, bottom 277.5 -> 278.
    {"At144Dpi", {2280, 2520, 15, 255}, 144, {228, 252, 230, 278}},
    // 1.25, 1.25, 1.25 x 1.25: right 2.5 -> 2.
    {"TieRoundsDownToEven", {15, 15, 15, 15}, 120, {1, 1, 2, 2}},
    // 3.75 -> 4 and 5.0: one pixel.
    {"QuarterPixels", {45, 45, 15, 15}, 120, {4, 4, 5, 5}},
    // 0.5 x 0.5 at the origin: both edges round to 0, nothing covered.
    {"HalfPixelVanishes", {0, 0, 15, 15}, 48, {0, 0, 0, 0}},
};

TEST(PixelBoxes, EdgesRoundOneByOne)
{
    for (const SnapCase& c : kSnaps) {
        SCOPED_TRACE(std::string(c.label));
        EXPECT_EQ(snapToPixels(toPixels(c.twips, c.dpi)), c.snapped);
    }
}

} // namespace
} // namespace zentaro::test
