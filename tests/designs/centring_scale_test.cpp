// Centratore, the centring scale: its non-tick elements against their table,
// and its 180 tick strokes, number labels, spare elements and stacking runs
// against the rules that generate them.
#include "designs/designs.h"
#include "tests/designs/expected_element.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace zentaro::test {
namespace {

const ReticleDesign& centratore()
{
    return designs::centratore();
}

// Every element but the tick strokes; # is the place in the stacking order.
constexpr ExpectedElement kNonTickElements[] = {
    {1, Kind::TextLabel, "Label37", kNoIndex, {7560, 360, 255, 255}, Look::CentringScale, "35"},
    {2, Kind::TextLabel, "Label36", kNoIndex, {7560, 8760, 255, 255}, Look::CentringScale, "35"},
    {149, Kind::TextLabel, "Label35", kNoIndex, {13440, 3960, 255, 255}, Look::CentringScale, "55"},
    {150, Kind::TextLabel, "Label24", kNoIndex, {240, 3960, 255, 255}, Look::CentringScale, "55"},
    {151, Kind::TextLabel, "Label34", kNoIndex, {840, 3960, 255, 255}, Look::CentringScale, "50"},
    {152, Kind::TextLabel, "Label33", kNoIndex, {1440, 3960, 255, 255}, Look::CentringScale, "45"},
    {153, Kind::TextLabel, "Label32", kNoIndex, {2040, 3960, 255, 255}, Look::CentringScale, "40"},
    {154, Kind::TextLabel, "Label31", kNoIndex, {2640, 3960, 255, 255}, Look::CentringScale, "35"},
    {155, Kind::TextLabel, "Label30", kNoIndex, {3240, 3960, 255, 255}, Look::CentringScale, "30"},
    {156, Kind::TextLabel, "Label29", kNoIndex, {3840, 3960, 255, 255}, Look::CentringScale, "25"},
    {157, Kind::TextLabel, "Label28", kNoIndex, {5040, 3960, 255, 255}, Look::CentringScale, "15"},
    {158, Kind::TextLabel, "Label27", kNoIndex, {5640, 3960, 255, 255}, Look::CentringScale, "10"},
    {159, Kind::TextLabel, "Label26", kNoIndex, {6240, 3960, 255, 255}, Look::CentringScale, "5"},
    {160, Kind::TextLabel, "Label25", kNoIndex, {4440, 3960, 255, 255}, Look::CentringScale, "20"},
    {161, Kind::TextLabel, "Label23", kNoIndex, {12840, 3960, 255, 255}, Look::CentringScale, "50"},
    {162, Kind::TextLabel, "Label22", kNoIndex, {12240, 3960, 255, 255}, Look::CentringScale, "45"},
    {163, Kind::TextLabel, "Label21", kNoIndex, {11640, 3960, 255, 255}, Look::CentringScale, "40"},
    {164, Kind::TextLabel, "Label20", kNoIndex, {11040, 3960, 255, 255}, Look::CentringScale, "35"},
    {165, Kind::TextLabel, "Label19", kNoIndex, {10440, 3960, 255, 255}, Look::CentringScale, "30"},
    {166, Kind::TextLabel, "Label18", kNoIndex, {9840, 3960, 255, 255}, Look::CentringScale, "25"},
    {167, Kind::TextLabel, "Label17", kNoIndex, {9240, 3960, 255, 255}, Look::CentringScale, "20"},
    {168, Kind::TextLabel, "Label16", kNoIndex, {8640, 3960, 255, 255}, Look::CentringScale, "15"},
    {169, Kind::TextLabel, "Label15", kNoIndex, {8040, 3960, 255, 255}, Look::CentringScale, "10"},
    {192, Kind::TextLabel, "Label14", kNoIndex, {7560, 8160, 255, 255}, Look::CentringScale, "30"},
    {193, Kind::TextLabel, "Label13", kNoIndex, {7560, 5760, 255, 255}, Look::CentringScale, "10"},
    {194, Kind::TextLabel, "Label12", kNoIndex, {7560, 6360, 255, 255}, Look::CentringScale, "15"},
    {195, Kind::TextLabel, "Label11", kNoIndex, {7560, 6960, 255, 255}, Look::CentringScale, "20"},
    {196, Kind::TextLabel, "Label10", kNoIndex, {7560, 7560, 255, 255}, Look::CentringScale, "25"},
    {202, Kind::TextLabel, "Label9", kNoIndex, {7560, 5160, 255, 255}, Look::CentringScale, "5"},
    {203, Kind::TextLabel, "Label8", kNoIndex, {7560, 960, 255, 255}, Look::CentringScale, "30"},
    {204, Kind::TextLabel, "Label7", kNoIndex, {7560, 1560, 255, 255}, Look::CentringScale, "25"},
    {205, Kind::TextLabel, "Label6", kNoIndex, {7560, 2160, 255, 255}, Look::CentringScale, "20"},
    {206, Kind::TextLabel, "Label5", kNoIndex, {7560, 2760, 255, 255}, Look::CentringScale, "15"},
    {210, Kind::TextLabel, "Label4", kNoIndex, {7560, 3360, 255, 255}, Look::CentringScale, "10"},
    {214, Kind::Bar, "img", 8, {8280, 0, 255, 135}, Look::Bar},
    {215, Kind::TextLabel, "Label3", kNoIndex, {7560, 3960, 255, 255}, Look::CentringScale, "5"},
    {216, Kind::Bar, "img", 7, {8280, 0, 255, 135}, Look::Bar},
    {217, Kind::Stroke, "Shape5", kNoIndex, {8280, 0, 255, 120}, Look::RedStroke},
    {218, Kind::Stroke, "Shape2", kNoIndex, {8280, 0, 255, 120}, Look::RedStroke},
    {219, Kind::Stroke, "Shape4", kNoIndex, {8280, 0, 240, 135}, Look::RedStroke},
    {220, Kind::Stroke, "Shape1", kNoIndex, {8280, 0, 255, 120}, Look::RedStroke},
    {222, Kind::Bar, "img", 3, {8280, 0, 255, 135}, Look::Bar},
    {223, Kind::Bar, "img", 1, {360, 4680, 13215, 15}, Look::Bar},
    {224, Kind::Bar, "img", 6, {8280, 0, 255, 135}, Look::Bar},
    {225, Kind::Bar, "img", 5, {6960, 480, 15, 8415}, Look::Bar},
    {226, Kind::Bar, "img", 4, {8280, 0, 255, 135}, Look::Bar},
    {227, Kind::TextLabel, "Label1", kNoIndex, {7920, 240, 1455, 255}, Look::Toggle},
    {228, Kind::TextLabel, "Label2", kNoIndex, {9000, 0, 375, 240}, Look::Close},
    {229, Kind::Bar, "img", 2, {8280, 0, 255, 135}, Look::Bar},
    {230, Kind::Bar, "img", 0, {7920, 0, 1095, 255}, Look::Bar},
};

TEST(CentringScaleTable, NonTickElementsMatchTheirRowsAndPlaces)
{
    ASSERT_EQ(centratore().elements.size(), 230u);
    for (const ExpectedElement& row : kNonTickElements) {
        SCOPED_TRACE("place " + std::to_string(row.position) + ", " + std::string(row.name));
        expectElement(centratore().elements[static_cast<std::size_t>(row.position - 1)], row);
    }
}

// ---- The tick strokes ------------------------------------------------------

constexpr int kCentreX = 6960; // twips, the centre pixel's top-left corner
constexpr int kCentreY = 4680;
constexpr int kPitch = 120;

enum class TickType
{
    ShortOfHorizontalAxis,
    LongOfHorizontalAxis,
    ShortOfVerticalAxis,
    LongOfVerticalAxis
};

using BoxKey = std::tuple<int, int, int, int>;

BoxKey key(const TwipBox& box)
{
    return {box.left, box.top, box.width, box.height};
}

// Every tick's box, with its type, as the construction rule gives it.
std::map<BoxKey, TickType> expectedTicks()
{
    std::map<BoxKey, TickType> ticks;
    for (int side : {-1, 1}) {
        for (int k = 1; k <= 55; ++k) {
            const int left = kCentreX + side * kPitch * k;
            const bool isLong = k % 5 == 0;
            ticks[key(isLong ? TwipBox{left, 4320, 15, 735} : TwipBox{left, 4560, 15, 255})] =
                isLong ? TickType::LongOfHorizontalAxis : TickType::ShortOfHorizontalAxis;
        }
        for (int k = 1; k <= 35; ++k) {
            const int top = kCentreY + side * kPitch * k;
            const bool isLong = k % 5 == 0;
            ticks[key(isLong ? TwipBox{6600, top, 720, 15} : TwipBox{6840, top, 240, 15})] =
                isLong ? TickType::LongOfVerticalAxis : TickType::ShortOfVerticalAxis;
        }
    }
    return ticks;
}

// The elements that the table of non-tick elements does not list.
std::vector<const DesignElement*> tickStrokes()
{
    std::set<int> listed;
    for (const ExpectedElement& row : kNonTickElements) {
        listed.insert(row.position);
    }
    std::vector<const DesignElement*> strokes;
    for (std::size_t i = 0; i < centratore().elements.size(); ++i) {
        if (!listed.contains(static_cast<int>(i + 1))) {
            strokes.push_back(&centratore().elements[i]);
        }
    }
    return strokes;
}

TEST(CentringScaleTicks, EveryTickHasExactlyOneRedStroke)
{
    const auto expected = expectedTicks();
    ASSERT_EQ(expected.size(), 180u);
    const auto strokes = tickStrokes();
    ASSERT_EQ(strokes.size(), 180u);
    std::set<BoxKey> drawn;
    for (const DesignElement* stroke : strokes) {
        SCOPED_TRACE(stroke->displayName());
        EXPECT_TRUE(stroke->isStroke());
        EXPECT_FALSE(stroke->hasIndex());
        EXPECT_EQ(stroke->strokeColour.raw, 0x000000FFu);
        EXPECT_EQ(stroke->shape, StrokeShape::Rectangle);
        EXPECT_TRUE(expected.contains(key(stroke->box))) << "not a tick's box";
        EXPECT_TRUE(drawn.insert(key(stroke->box)).second) << "a second stroke for one tick";
    }
}

TEST(CentringScaleTicks, CountsOfShortAndLongTicksPerAxis)
{
    const auto expected = expectedTicks();
    std::map<TickType, int> counts;
    for (const DesignElement* stroke : tickStrokes()) {
        const auto found = expected.find(key(stroke->box));
        if (found != expected.end()) {
            ++counts[found->second];
        }
    }
    EXPECT_EQ(counts[TickType::ShortOfHorizontalAxis], 88);
    EXPECT_EQ(counts[TickType::LongOfHorizontalAxis], 22);
    EXPECT_EQ(counts[TickType::ShortOfVerticalAxis], 56);
    EXPECT_EQ(counts[TickType::LongOfVerticalAxis], 14);
}

struct NameGroup
{
    std::string_view label;
    std::vector<int> shapeNumbers;
    TickType type;
};

std::vector<int> numbersFrom(int first, int last)
{
    std::vector<int> numbers;
    for (int n = first; n <= last; ++n) {
        numbers.push_back(n);
    }
    return numbers;
}

std::vector<NameGroup> nameGroups()
{
    std::vector<int> longVertical = numbersFrom(6, 16);
    longVertical.insert(longVertical.end(), {3, 183, 184});
    return {
        {"LongVertical", longVertical, TickType::LongOfVerticalAxis},
        {"LongHorizontal", numbersFrom(17, 38), TickType::LongOfHorizontalAxis},
        {"ShortVertical", numbersFrom(39, 94), TickType::ShortOfVerticalAxis},
        {"ShortHorizontal", numbersFrom(95, 182), TickType::ShortOfHorizontalAxis},
    };
}

TEST(CentringScaleTicks, EachNameGroupDrawsTheTicksOfItsType)
{
    const auto expected = expectedTicks();
    std::set<std::string> groupNames;
    for (const NameGroup& group : nameGroups()) {
        SCOPED_TRACE(std::string(group.label));
        for (int number : group.shapeNumbers) {
            const std::string name = "Shape" + std::to_string(number);
            SCOPED_TRACE(name);
            groupNames.insert(name);
            const DesignElement* stroke = centratore().find(name);
            ASSERT_NE(stroke, nullptr);
            const auto found = expected.find(key(stroke->box));
            ASSERT_NE(found, expected.end());
            EXPECT_EQ(found->second, group.type);
        }
    }
    std::set<std::string> strokeNames;
    for (const DesignElement* stroke : tickStrokes()) {
        strokeNames.insert(std::string(stroke->name.view()));
    }
    EXPECT_EQ(strokeNames, groupNames);
}

TEST(CentringScaleTicks, OutermostVerticalTicksAreShape184AboveAndShape183Below)
{
    const DesignElement* upper = centratore().find("Shape184");
    const DesignElement* lower = centratore().find("Shape183");
    ASSERT_NE(upper, nullptr);
    ASSERT_NE(lower, nullptr);
    EXPECT_EQ(upper->box, (TwipBox{6600, kCentreY - 35 * kPitch, 720, 15}));
    EXPECT_EQ(lower->box, (TwipBox{6600, kCentreY + 35 * kPitch, 720, 15}));
    // At 96 dpi: rows 32 and 592, columns 440 to 487.
    EXPECT_EQ(snapToPixels(upper->pixelBox(96)), (IntRect{440, 32, 488, 33}));
    EXPECT_EQ(snapToPixels(lower->pixelBox(96)), (IntRect{440, 592, 488, 593}));
}

// The outermost tick of every half-axis falls on the end of its axis.
TEST(CentringScaleTicks, OutermostTicksFallOnTheEndsOfTheAxes)
{
    const DesignElement* horizontalAxis = centratore().find("img", 1);
    const DesignElement* verticalAxis = centratore().find("img", 5);
    ASSERT_NE(horizontalAxis, nullptr);
    ASSERT_NE(verticalAxis, nullptr);
    int leftmost = 1 << 30, rightmost = 0, topmost = 1 << 30, bottommost = 0;
    for (const DesignElement* stroke : tickStrokes()) {
        leftmost = std::min(leftmost, stroke->box.left);
        rightmost = std::max(rightmost, stroke->box.left + stroke->box.width);
        topmost = std::min(topmost, stroke->box.top);
        bottommost = std::max(bottommost, stroke->box.top + stroke->box.height);
    }
    EXPECT_EQ(leftmost, horizontalAxis->box.left);
    EXPECT_EQ(rightmost, horizontalAxis->box.left + horizontalAxis->box.width);
    EXPECT_EQ(topmost, verticalAxis->box.top);
    EXPECT_EQ(bottommost, verticalAxis->box.top + verticalAxis->box.height);
}

// ---- The number labels -------------------------------------------------------

bool isNumberLabel(const DesignElement& element)
{
    return element.isLabel() && !element.is("Label1") && !element.is("Label2");
}

// Every long tick but the right-hand k = 5 has one label, centred on it and
// captioned with its k; Label3, the upper "5", follows the vertical rule.
TEST(CentringScaleLabels, EveryLongTickButTheRightFiveHasItsNumber)
{
    std::map<BoxKey, int> labelsPerTick;
    int horizontalScale = 0;
    int verticalScale = 0;
    for (const DesignElement& element : centratore().elements) {
        if (!isNumberLabel(element)) {
            continue;
        }
        SCOPED_TRACE(element.displayName());
        const bool vertical = element.box.left == 7560;
        const TwipBox tick = vertical ? TwipBox{6600, element.box.top + 120, 720, 15}
                                      : TwipBox{element.box.left + 120, 4320, 15, 735};
        EXPECT_TRUE(vertical || element.box.top == 3960);
        ++(vertical ? verticalScale : horizontalScale);
        ++labelsPerTick[key(tick)];
        const int k = vertical ? std::abs(tick.top - kCentreY) / kPitch
                               : std::abs(tick.left - kCentreX) / kPitch;
        EXPECT_EQ(element.caption.view(), std::to_string(k));
    }
    EXPECT_EQ(horizontalScale, 21);
    EXPECT_EQ(verticalScale, 14);
    const BoxKey rightFive = key({kCentreX + 5 * kPitch, 4320, 15, 735});
    for (const auto& [box, type] : expectedTicks()) {
        const bool isLong =
            type == TickType::LongOfHorizontalAxis || type == TickType::LongOfVerticalAxis;
        const int expectedLabels = isLong && box != rightFive ? 1 : 0;
        EXPECT_EQ(labelsPerTick[box], expectedLabels)
            << "tick at " << std::get<0>(box) << "," << std::get<1>(box);
    }
}

TEST(CentringScaleLabels, NoSecondFiveBesideTheVerticalScalesFive)
{
    for (const DesignElement& element : centratore().elements) {
        EXPECT_FALSE(element.box.left == 7440 && element.box.top == 3960)
            << element.displayName() << " stands where the right-hand 5 would";
    }
    const DesignElement* five = centratore().find("Label3");
    ASSERT_NE(five, nullptr);
    EXPECT_EQ(five->box, (TwipBox{7560, 3960, 255, 255}));
    EXPECT_EQ(five->caption.view(), "5");
}

// ---- The spare elements --------------------------------------------------------

bool inside(const TwipBox& inner, const TwipBox& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top &&
           inner.left + inner.width <= outer.left + outer.width &&
           inner.top + inner.height <= outer.top + outer.height;
}

TEST(CentringScaleSpares, TheTenSparesLieInsideTheBarBlockAndAboveIt)
{
    const auto& elements = centratore().elements;
    const DesignElement& block = elements.back();
    ASSERT_TRUE(block.is("img", 0));
    std::set<std::string> insideBlock;
    for (std::size_t i = 0; i + 1 < elements.size(); ++i) {
        if (inside(elements[i].box, block.box)) {
            insideBlock.insert(elements[i].displayName());
        }
    }
    const std::set<std::string> spares = {"img(2)", "img(3)", "img(4)", "img(6)", "img(7)",
                                          "img(8)", "Shape1", "Shape2", "Shape4", "Shape5"};
    EXPECT_EQ(insideBlock, spares);
}

TEST(CentringScaleSpares, OnlyBarsUpToSixShowThePicture)
{
    for (int index = 0; index <= 8; ++index) {
        SCOPED_TRACE(index);
        const DesignElement* bar = centratore().find("img", index);
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(barShowsPicture(*bar), index <= 6);
    }
}

// ---- The stacking order ------------------------------------------------------------

// The stacking order, topmost first, in runs: "Shape184..39" stands for
// Shape184 down to Shape39.
constexpr std::string_view kRuns[] = {
    "Label37",     "Label36",     "Shape184..39", "Label35",     "Label24",   "Label34..25",
    "Label23..15", "Shape38..17", "Label14..10",  "Shape16..12", "Label9..5", "Shape11..9",
    "Label4",      "Shape8..6",   "img(8)",       "Label3",      "img(7)",    "Shape5",
    "Shape2",      "Shape4",      "Shape1",       "Shape3",      "img(3)",    "img(1)",
    "img(6)",      "img(5)",      "img(4)",       "Label1",      "Label2",    "img(2)",
    "img(0)",
};

std::vector<std::string> expandRuns()
{
    std::vector<std::string> names;
    for (std::string_view run : kRuns) {
        const auto dots = run.find("..");
        if (dots == std::string_view::npos) {
            names.emplace_back(run);
            continue;
        }
        const auto digits = run.find_first_of("0123456789");
        const std::string prefix(run.substr(0, digits));
        const int first = std::stoi(std::string(run.substr(digits, dots - digits)));
        const int last = std::stoi(std::string(run.substr(dots + 2)));
        for (int n = first; n >= last; --n) {
            names.push_back(prefix + std::to_string(n));
        }
    }
    return names;
}

TEST(CentringScaleStacking, ElementsFollowTheRuns)
{
    std::vector<std::string> actual;
    for (const DesignElement& element : centratore().elements) {
        actual.push_back(element.displayName());
    }
    EXPECT_EQ(actual, expandRuns());
}

} // namespace
} // namespace zentaro::test
