// The region builder's arithmetic: frame offsets, per-edge rounding after the
// offset, ties to even, and what the union of the rectangles covers.
#include "reticle/region_builder.h"

#include "designs/designs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <set>
#include <utility>
#include <vector>

namespace zentaro::region {
namespace {

using Pixel = std::pair<int, int>;

/// The pixels covered by the union of `rects`.
std::set<Pixel> coveredPixels(const std::vector<IntRect>& rects)
{
    std::set<Pixel> pixels;
    for (const IntRect& r : rects) {
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x) {
                pixels.insert({x, y});
            }
        }
    }
    return pixels;
}

struct OffsetsCase
{
    const char* name;
    WindowMetrics metrics;
    FrameOffsets expected;
};

class FrameOffsetsTest : public testing::TestWithParam<OffsetsCase>
{
};

TEST_P(FrameOffsetsTest, BorderAndTopOffset)
{
    EXPECT_EQ(frameOffsets(GetParam().metrics), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Metrics, FrameOffsetsTest,
    testing::Values(
        // 504 x 422 outer, 496 x 395 client: b = 4, t = 422 - 4 - 395 = 23.
        OffsetsCase{"WorkedExample", {504, 422, 496, 395}, {4, 23}},
        // W - client width odd: the half rounds to the even neighbour.
        OffsetsCase{"NineRoundsDownToFour", {505, 422, 496, 395}, {4, 23}},
        OffsetsCase{"ElevenRoundsUpToSix", {507, 422, 496, 395}, {6, 21}},
        OffsetsCase{"Frameless", {496, 395, 496, 395}, {0, 0}},
        // H - b is integer; the real client height then rounds the result.
        OffsetsCase{"RealClientHeightTie", {504, 422, 496, 394.5}, {4, 24}},
        OffsetsCase{"RealClientHeightTieToEven", {504, 422, 496, 395.5}, {4, 22}}),
    [](const testing::TestParamInfo<OffsetsCase>& info) { return info.param.name; });

TEST(WindowedRect, IsTheWholeWindow)
{
    EXPECT_EQ(windowedRect({504, 422, 496, 395}), (IntRect{0, 0, 504, 422}));
}

struct RectCase
{
    const char* name;
    WindowMetrics metrics;
    PixelBox box;
    IntRect expected;
};

class TransparentRectTest : public testing::TestWithParam<RectCase>
{
};

TEST_P(TransparentRectTest, OneElement)
{
    const PixelBox boxes[] = {GetParam().box};
    const std::vector<IntRect> rects = transparentRects(GetParam().metrics, boxes);
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_EQ(rects.front(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Elements, TransparentRectTest,
    testing::Values(
        // StandardBianco's toggle label (3000, 240, 1455, 255) twips =
        // (200, 16, 97, 17) px, shifted by b = 4, t = 23.
        RectCase{"WorkedExample", {504, 422, 496, 395}, {200, 16, 97, 17}, {204, 39, 301, 56}},
        // Each edge is rounded after the offset: round(24.8) = 25, not
        // round(14.4) + round(10.4) = 24.
        RectCase{
            "EdgesRoundedAfterOffset", {8, 8, 0, 0}, {10.4, 10.4, 10.4, 10.4}, {14, 14, 25, 25}},
        // 250 twips = 16.67 px: the same right edge as a 255-twip width.
        RectCase{
            "NonWholeWidth", {100, 100, 100, 100}, {240, 168, 250.0 / 15, 1}, {240, 168, 257, 169}},
        RectCase{"TiesToEven", {0, 0, 0, 0}, {2.5, 3.5, 2, 2}, {2, 4, 4, 6}}),
    [](const testing::TestParamInfo<RectCase>& info) { return info.param.name; });

TEST(TransparentRects, NoElementsGiveAnEmptyRegion)
{
    EXPECT_TRUE(transparentRects({504, 422, 496, 395}, {}).empty());
}

TEST(TransparentRects, CoincidingAndOverlappingBoxesCoverEachPixelOnce)
{
    // img(2) and img(3) share a box; img(0) overlaps its last column.
    const PixelBox boxes[] = {{200, 0, 25, 17}, {200, 0, 25, 17}, {224, 0, 49, 17}};
    const auto pixels = coveredPixels(transparentRects({496, 395, 496, 395}, boxes));
    EXPECT_EQ(pixels.size(), static_cast<std::size_t>((273 - 200) * 17));
}

TEST(TransparentRects, UnreadableBoxIsSkippedAndTheRestStillCount)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const PixelBox boxes[] = {{nan, 0, 1, 1}, {5, 5, 2, 2}, {0, inf, 1, 1}, {1e300, 0, 1, 1}};
    const std::vector<IntRect> rects = transparentRects({10, 10, 10, 10}, boxes);
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_EQ(rects.front(), (IntRect{5, 5, 7, 7}));
}

TEST(TransparentRects, EveryDesignAtReferenceDpiKeepsItsTablePixels)
{
    // At 96 dpi with no frame every rectangle is exactly the element's pixel
    // box: the region puts each element where the painter draws it.
    for (const ReticleDesign* design : designs::all()) {
        for (const DesignElement& e : design->elements) {
            const PixelBox box = e.pixelBox(kReferenceDpi);
            const PixelBox one[] = {box};
            const auto rects = transparentRects({500, 400, 500, 400}, one);
            ASSERT_EQ(rects.size(), 1u) << design->designName << ' ' << e.displayName();
            EXPECT_EQ(rects.front(), snapToPixels(box))
                << design->designName << ' ' << e.displayName();
        }
    }
}

// ---- Banded union ------------------------------------------------------------

/// Whether `rects` are in banded form: no overlaps, sorted by top then left,
/// every band's rectangles sharing top and bottom, no touching runs in a band,
/// and no band right on top of another with the same runs (it would have been
/// one band). A pixel set has exactly one such form.
bool isBanded(const std::vector<IntRect>& rects)
{
    for (std::size_t i = 1; i < rects.size(); ++i) {
        const IntRect& a = rects[i - 1];
        const IntRect& b = rects[i];
        if (a.top == b.top) {
            if (a.bottom != b.bottom || a.right >= b.left) {
                return false;
            }
        } else if (b.top < a.bottom) {
            return false;
        }
    }
    // Bands as [first, last) index ranges.
    std::vector<std::pair<std::size_t, std::size_t>> bands;
    for (std::size_t i = 0; i < rects.size(); ++i) {
        if (i == 0 || rects[i].top != rects[i - 1].top) {
            bands.push_back({i, i});
        }
        bands.back().second = i + 1;
    }
    for (std::size_t k = 1; k < bands.size(); ++k) {
        const auto [upperFirst, upperLast] = bands[k - 1];
        const auto [lowerFirst, lowerLast] = bands[k];
        if (rects[upperFirst].bottom != rects[lowerFirst].top ||
            upperLast - upperFirst != lowerLast - lowerFirst) {
            continue;
        }
        bool sameRuns = true;
        for (std::size_t j = 0; j < upperLast - upperFirst; ++j) {
            sameRuns = sameRuns && rects[upperFirst + j].left == rects[lowerFirst + j].left &&
                       rects[upperFirst + j].right == rects[lowerFirst + j].right;
        }
        if (sameRuns) {
            return false;
        }
    }
    return true;
}

struct BandedCase
{
    const char* name;
    std::vector<IntRect> input;
};

void PrintTo(const BandedCase& c, std::ostream* out)
{
    *out << c.name;
}

class BandedUnionTest : public testing::TestWithParam<BandedCase>
{
};

TEST_P(BandedUnionTest, CoversExactlyTheUnionInBandedForm)
{
    const std::vector<IntRect> banded = bandedUnion(GetParam().input);
    EXPECT_TRUE(isBanded(banded));
    EXPECT_EQ(coveredPixels(banded), coveredPixels(GetParam().input));
}

INSTANTIATE_TEST_SUITE_P(
    Rects, BandedUnionTest,
    testing::Values(
        BandedCase{"Nothing", {}}, BandedCase{"OnlyEmptyRects", {{3, 3, 3, 9}, {1, 1, 5, 1}}},
        BandedCase{"Coinciding", {{200, 0, 225, 17}, {200, 0, 225, 17}}},
        // The title strip: two bars, the close label over the last
        // column, the toggle label over the last row.
        BandedCase{"TitleStrip",
                   {{272, 0, 297, 16}, {200, 0, 225, 17}, {224, 0, 273, 17}, {200, 16, 297, 33}}},
        BandedCase{"Cross", {{152, 184, 345, 185}, {240, 88, 241, 273}}},
        BandedCase{"TouchingSideBySide", {{0, 0, 5, 5}, {5, 0, 9, 5}}},
        BandedCase{"Nested", {{0, 0, 100, 100}, {10, 10, 20, 20}}},
        BandedCase{"Staircase", {{0, 0, 4, 4}, {2, 2, 6, 6}, {4, 4, 8, 8}}}),
    [](const testing::TestParamInfo<BandedCase>& info) { return info.param.name; });

TEST(BandedUnion, RandomSetsGiveTheirUnionInBandedForm)
{
    // Small coordinates so that rectangles touch, nest, coincide and cross
    // often; empty and negative ones among them. Seeded: the same sets each run.
    std::mt19937 random(20261210);
    std::uniform_int_distribution<int> coordinate(-8, 24);
    std::uniform_int_distribution<int> setSize(0, 40);
    for (int trial = 0; trial < 400; ++trial) {
        std::vector<IntRect> rects(static_cast<std::size_t>(setSize(random)));
        for (IntRect& r : rects) {
            const int left = coordinate(random);
            const int top = coordinate(random);
            r = {left, top, left + coordinate(random) / 2, top + coordinate(random) / 2};
        }
        const std::vector<IntRect> banded = bandedUnion(rects);
        ASSERT_TRUE(isBanded(banded)) << "trial " << trial;
        ASSERT_EQ(coveredPixels(banded), coveredPixels(rects)) << "trial " << trial;
    }
}

TEST(BandedUnion, MergesBandsWithTheSameRuns)
{
    // Two stacked halves of one rectangle become that rectangle.
    const IntRect halves[] = {{0, 5, 10, 8}, {0, 0, 10, 5}};
    EXPECT_EQ(bandedUnion(halves), (std::vector<IntRect>{{0, 0, 10, 8}}));
}

TEST(BandedUnion, EveryDesignGivesTheUnionOfItsElementBoxes)
{
    for (const ReticleDesign* design : designs::all()) {
        std::vector<IntRect> rects;
        for (const DesignElement& e : design->elements) {
            rects.push_back(snapToPixels(e.pixelBox(kReferenceDpi)));
        }
        const std::vector<IntRect> banded = bandedUnion(rects);
        EXPECT_TRUE(isBanded(banded)) << design->designName;
        EXPECT_EQ(coveredPixels(banded), coveredPixels(rects)) << design->designName;
    }
}

} // namespace
} // namespace zentaro::region
