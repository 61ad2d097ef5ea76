// Every design held against its element table: the design record, then each
// element's kind, name, index, box, look and place in the stacking order.
#include "designs/designs.h"
#include "tests/designs/expected_element.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <set>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace zentaro::test {
namespace {

// ---- The design records -------------------------------------------------

struct RecordCase
{
    const ReticleDesign& (*design)();
    std::string_view designName;
    std::string_view windowName;
    std::string_view caption;
    int widthTwips;
    int heightTwips;
    int widthPixels; // at 96 dpi
    int heightPixels;
    std::uint32_t barColour;
    int stripLeftTwips;
    std::size_t elementCount;
};

// In the order in which designs::all() lists them.
const RecordCase kRecords[] = {
    {designs::standardRosso, "StandardRosso", "Form2", "StandardRosso", 14595, 8370, 973, 558,
     0x000707FA, 6480, 36},
    {designs::standardBianco, "StandardBianco", "Form3", "StandardBianco", 7440, 5925, 496, 395,
     0x00F7F7FB, 3000, 13},
    {designs::standardRossoFine, "StandardRossoFine", "Form4", "StandardRossoFine", 7410, 5880, 494,
     392, 0x000707FA, 2760, 13},
    {designs::croceRossa, "CroceRossa", "Form5", "CroceRossa", 7380, 5835, 492, 389, 0x000707FA,
     2880, 9},
    {designs::croceRossaMicrometrica, "CroceRossaMicrometrica", "Form6", "CroceRossaMicrometrica",
     7245, 5820, 483, 388, 0x000707FA, 3000, 29},
    {designs::campoCcd, "CampoCCD", "Form7", "CampoCCD", 7485, 5925, 499, 395, 0x000707FA, 3000,
     17},
    {designs::punto, "Punto", "Form8", "Punto", 7380, 5865, 492, 391, 0x000707FA, 3000, 10},
    {designs::centratore, "Centratore", "Form10", "Centratore", 13935, 9375, 929, 625, 0x000707FA,
     7920, 230},
};

void PrintTo(const RecordCase& c, std::ostream* os)
{
    *os << c.windowName;
}

class DesignRecord : public ::testing::TestWithParam<RecordCase>
{
};

TEST_P(DesignRecord, HasTheListedFields)
{
    const RecordCase& expected = GetParam();
    const ReticleDesign& design = expected.design();
    EXPECT_EQ(design.designName, expected.designName);
    EXPECT_EQ(design.windowName, expected.windowName);
    EXPECT_EQ(design.caption, expected.caption);
    EXPECT_EQ(design.clientWidthTwips, expected.widthTwips);
    EXPECT_EQ(design.clientHeightTwips, expected.heightTwips);
    EXPECT_EQ(design.clientWidthPixels(96), expected.widthPixels);
    EXPECT_EQ(design.clientHeightPixels(96), expected.heightPixels);
    EXPECT_EQ(design.background.raw, 0x00000040u);
    EXPECT_EQ(design.barColour.raw, expected.barColour);
    EXPECT_EQ(design.stripLeftTwips, expected.stripLeftTwips);
    EXPECT_EQ(design.elements.size(), expected.elementCount);
}

TEST(DesignRecords, AllListsTheEightDesignsInWindowNameOrder)
{
    const auto designs = designs::all();
    ASSERT_EQ(designs.size(), std::size(kRecords));
    for (std::size_t i = 0; i < designs.size(); ++i) {
        EXPECT_EQ(designs[i], &kRecords[i].design()) << "place " << i;
    }
}

// ---- Properties every design shares -------------------------------------

TEST_P(DesignRecord, NamesAndIndicesAreUniqueAndFindable)
{
    const ReticleDesign& design = GetParam().design();
    std::set<std::pair<std::string, int>> seen;
    for (const DesignElement& element : design.elements) {
        SCOPED_TRACE(element.displayName());
        EXPECT_TRUE(seen.insert({std::string(element.name.view()), element.index}).second);
        EXPECT_EQ(design.find(element.name, element.index), &element);
    }
    EXPECT_EQ(design.find("img", 99), nullptr);
    EXPECT_EQ(design.find("img"), nullptr); // the bars are always indexed
}

TEST_P(DesignRecord, ElementNamesMatchTheirKinds)
{
    for (const DesignElement& element : GetParam().design().elements) {
        SCOPED_TRACE(element.displayName());
        const std::string_view name = element.name.view();
        switch (element.kind) {
        case ElementKind::Bar:
            EXPECT_EQ(name, "img");
            EXPECT_TRUE(element.hasIndex());
            break;
        case ElementKind::Stroke:
            EXPECT_TRUE(name.starts_with("Shape"));
            break;
        case ElementKind::TextLabel:
            EXPECT_TRUE(name.starts_with("Label"));
            break;
        }
    }
}

TEST_P(DesignRecord, EveryBoxLiesInTheClientArea)
{
    const ReticleDesign& design = GetParam().design();
    for (const DesignElement& element : design.elements) {
        SCOPED_TRACE(element.displayName());
        EXPECT_GE(element.box.left, 0);
        EXPECT_GE(element.box.top, 0);
        EXPECT_GT(element.box.width, 0);
        EXPECT_GT(element.box.height, 0);
        EXPECT_LE(element.box.left + element.box.width, design.clientWidthTwips);
        EXPECT_LE(element.box.top + element.box.height, design.clientHeightTwips);
    }
}

// Whole pixels at 96 dpi, but for the one 250-twip bar of CroceRossaMicrometrica.
TEST_P(DesignRecord, BoxValuesAreWholePixelsButOne)
{
    const ReticleDesign& design = GetParam().design();
    for (const DesignElement& element : design.elements) {
        SCOPED_TRACE(element.displayName());
        const bool theException = design.windowName == "Form6" && element.is("img", 1);
        EXPECT_EQ(element.box.left % 15, 0);
        EXPECT_EQ(element.box.top % 15, 0);
        EXPECT_EQ(element.box.width % 15 == 0, !theException);
        EXPECT_EQ(element.box.height % 15, 0);
    }
}

std::string recordName(const ::testing::TestParamInfo<RecordCase>& info)
{
    return std::string(info.param.windowName);
}

INSTANTIATE_TEST_SUITE_P(AllDesigns, DesignRecord, ::testing::ValuesIn(kRecords), recordName);

// ---- The element tables --------------------------------------------------

constexpr ExpectedElement kStandardBianco[] = {
    {1, Kind::Stroke, "Shape4", kNoIndex, {2280, 2520, 15, 255}, Look::WhiteStroke},
    {2, Kind::Stroke, "Shape3", kNoIndex, {5160, 2520, 15, 255}, Look::WhiteStroke},
    {3, Kind::Stroke, "Shape2", kNoIndex, {3600, 1320, 255, 15}, Look::WhiteStroke},
    {4, Kind::Stroke, "Shape1", kNoIndex, {3600, 4080, 255, 15}, Look::WhiteStroke},
    {5, Kind::TextLabel, "Label2", kNoIndex, {4080, 0, 375, 240}, Look::Close},
    {6, Kind::Bar, "img", 1, {2280, 2760, 2895, 15}, Look::Bar},
    {7, Kind::Bar, "img", 6, {2280, 2520, 2895, 15}, Look::Bar},
    {8, Kind::Bar, "img", 5, {3840, 1320, 15, 2775}, Look::Bar},
    {9, Kind::Bar, "img", 4, {3600, 1320, 15, 2775}, Look::Bar},
    {10, Kind::Bar, "img", 2, {3000, 0, 375, 255}, Look::Bar},
    {11, Kind::Bar, "img", 3, {3000, 0, 375, 255}, Look::Bar},
    {12, Kind::Bar, "img", 0, {3360, 0, 735, 255}, Look::Bar},
    {13, Kind::TextLabel, "Label1", kNoIndex, {3000, 240, 1455, 255}, Look::Toggle},
};

constexpr ExpectedElement kStandardRossoFine[] = {
    {1, Kind::Stroke, "Shape4", kNoIndex, {3360, 3960, 120, 15}, Look::RedStroke},
    {2, Kind::Stroke, "Shape3", kNoIndex, {3360, 1200, 120, 15}, Look::RedStroke},
    {3, Kind::Stroke, "Shape2", kNoIndex, {1920, 2400, 15, 120}, Look::RedStroke},
    {4, Kind::Stroke, "Shape1", kNoIndex, {4920, 2400, 15, 120}, Look::RedStroke},
    {5, Kind::Bar, "img", 1, {1920, 2520, 3015, 15}, Look::Bar},
    {6, Kind::Bar, "img", 6, {1920, 2400, 3015, 15}, Look::Bar},
    {7, Kind::Bar, "img", 4, {3360, 1200, 15, 2775}, Look::Bar},
    {8, Kind::Bar, "img", 5, {3480, 1200, 15, 2775}, Look::Bar},
    {9, Kind::TextLabel, "Label2", kNoIndex, {3840, 0, 375, 240}, Look::Close},
    {10, Kind::Bar, "img", 2, {2760, 0, 375, 255}, Look::Bar},
    {11, Kind::Bar, "img", 3, {2760, 0, 375, 255}, Look::Bar},
    {12, Kind::Bar, "img", 0, {3120, 0, 735, 255}, Look::Bar},
    {13, Kind::TextLabel, "Label1", kNoIndex, {2760, 240, 1455, 255}, Look::Toggle},
};

constexpr ExpectedElement kCroceRossa[] = {
    {1, Kind::Bar, "img", 1, {3120, 0, 855, 255}, Look::Bar},
    {2, Kind::Bar, "img", 6, {2160, 2640, 2895, 15}, Look::Bar},
    {3, Kind::Bar, "img", 4, {2880, 0, 975, 255}, Look::Bar},
    {4, Kind::Bar, "img", 5, {3600, 1320, 15, 2775}, Look::Bar},
    {5, Kind::TextLabel, "Label2", kNoIndex, {3960, 0, 375, 240}, Look::Close},
    {6, Kind::Bar, "img", 3, {2880, 0, 375, 255}, Look::Bar},
    {7, Kind::Bar, "img", 2, {2880, 0, 375, 255}, Look::Bar},
    {8, Kind::Bar, "img", 0, {3240, 0, 735, 255}, Look::Bar},
    {9, Kind::TextLabel, "Label1", kNoIndex, {2880, 240, 1455, 255}, Look::Toggle},
};

constexpr ExpectedElement kCampoCcd[] = {
    {1, Kind::Stroke, "Shape8", kNoIndex, {960, 1080, 5655, 15}, Look::RedStroke},
    {2, Kind::Stroke, "Shape7", kNoIndex, {960, 4800, 5655, 15}, Look::RedStroke},
    {3, Kind::Stroke, "Shape6", kNoIndex, {960, 1080, 15, 3735}, Look::RedStroke},
    {4, Kind::Stroke, "Shape5", kNoIndex, {6600, 1080, 15, 3735}, Look::RedStroke},
    {5, Kind::Stroke, "Shape4", kNoIndex, {3720, 2880, 15, 120}, Look::RedStroke},
    {6, Kind::Stroke, "Shape3", kNoIndex, {3840, 2880, 15, 120}, Look::RedStroke},
    {7, Kind::Stroke, "Shape2", kNoIndex, {3720, 3000, 120, 15}, Look::RedStroke},
    {8, Kind::Stroke, "Shape1", kNoIndex, {3720, 2880, 120, 15}, Look::RedStroke},
    {9, Kind::TextLabel, "Label2", kNoIndex, {4080, 0, 375, 240}, Look::Close},
    {10, Kind::Bar, "img", 1, {2280, 3840, 3015, 15}, Look::Bar},
    {11, Kind::Bar, "img", 6, {2280, 2040, 3015, 15}, Look::Bar},
    {12, Kind::Bar, "img", 4, {2280, 2040, 15, 1815}, Look::Bar},
    {13, Kind::Bar, "img", 5, {5280, 2040, 15, 1815}, Look::Bar},
    {14, Kind::Bar, "img", 3, {3000, 0, 375, 255}, Look::Bar},
    {15, Kind::Bar, "img", 2, {3000, 0, 375, 255}, Look::Bar},
    {16, Kind::Bar, "img", 0, {3360, 0, 735, 255}, Look::Bar},
    {17, Kind::TextLabel, "Label1", kNoIndex, {3000, 240, 1455, 255}, Look::Toggle},
};

constexpr ExpectedElement kPunto[] = {
    {1, Kind::Stroke, "Shape1", kNoIndex, {3600, 2880, 135, 135}, Look::RedCircle},
    {2, Kind::Bar, "img", 1, {2400, 2880, 735, 135}, Look::Bar},
    {3, Kind::Bar, "img", 6, {4200, 2880, 735, 135}, Look::Bar},
    {4, Kind::Bar, "img", 4, {3600, 1920, 135, 615}, Look::Bar},
    {5, Kind::Bar, "img", 5, {3600, 3360, 135, 615}, Look::Bar},
    {6, Kind::TextLabel, "Label1", kNoIndex, {3000, 240, 1455, 255}, Look::Toggle},
    {7, Kind::TextLabel, "Label2", kNoIndex, {4080, 0, 375, 240}, Look::Close},
    {8, Kind::Bar, "img", 3, {3000, 0, 375, 255}, Look::Bar},
    {9, Kind::Bar, "img", 2, {3000, 0, 375, 255}, Look::Bar},
    {10, Kind::Bar, "img", 0, {3360, 0, 735, 255}, Look::Bar},
};

constexpr ExpectedElement kCroceRossaMicrometrica[] = {
    {1, Kind::Stroke, "Shape20", kNoIndex, {3000, 2520, 15, 255}, Look::RedStroke},
    {2, Kind::Stroke, "Shape19", kNoIndex, {4440, 2520, 15, 255}, Look::RedStroke},
    {3, Kind::Stroke, "Shape18", kNoIndex, {3120, 2520, 15, 255}, Look::RedStroke},
    {4, Kind::Stroke, "Shape17", kNoIndex, {4320, 2520, 15, 255}, Look::RedStroke},
    {5, Kind::Stroke, "Shape16", kNoIndex, {3600, 1920, 255, 15}, Look::RedStroke},
    {6, Kind::Stroke, "Shape15", kNoIndex, {3600, 2040, 255, 15}, Look::RedStroke},
    {7, Kind::Stroke, "Shape14", kNoIndex, {3240, 2400, 15, 495}, Look::RedStroke},
    {8, Kind::Stroke, "Shape13", kNoIndex, {4200, 2400, 15, 495}, Look::RedStroke},
    {9, Kind::Stroke, "Shape12", kNoIndex, {3360, 2520, 15, 255}, Look::RedStroke},
    {10, Kind::Stroke, "Shape11", kNoIndex, {4080, 2520, 15, 255}, Look::RedStroke},
    {11, Kind::Stroke, "Shape10", kNoIndex, {3480, 2520, 15, 255}, Look::RedStroke},
    {12, Kind::Stroke, "Shape9", kNoIndex, {3960, 2520, 15, 255}, Look::RedStroke},
    {13, Kind::Stroke, "Shape8", kNoIndex, {3600, 2520, 15, 255}, Look::RedStroke},
    {14, Kind::Stroke, "Shape7", kNoIndex, {3840, 2520, 15, 255}, Look::RedStroke},
    {15, Kind::Stroke, "Shape6", kNoIndex, {3480, 2160, 495, 15}, Look::RedStroke},
    {16, Kind::Stroke, "Shape5", kNoIndex, {3600, 3360, 255, 15}, Look::RedStroke},
    {17, Kind::Stroke, "Shape4", kNoIndex, {3600, 3240, 255, 15}, Look::RedStroke},
    {18, Kind::Stroke, "Shape3", kNoIndex, {3480, 3120, 495, 15}, Look::RedStroke},
    {19, Kind::Stroke, "Shape2", kNoIndex, {3600, 2280, 255, 15}, Look::RedStroke},
    {20, Kind::Stroke, "Shape1", kNoIndex, {3600, 3000, 255, 15}, Look::RedStroke},
    {21, Kind::TextLabel, "Label2", kNoIndex, {4080, 0, 375, 240}, Look::Close},
    {22, Kind::Bar, "img", 6, {2160, 2640, 3015, 15}, Look::Bar},
    {23, Kind::Bar, "img", 5, {3720, 1320, 15, 2775}, Look::Bar},
    {24, Kind::Bar, "img", 4, {3600, 2400, 255, 15}, Look::Bar},
    {25, Kind::Bar, "img", 3, {3600, 2880, 255, 15}, Look::Bar},
    {26, Kind::Bar, "img", 2, {3600, 2760, 255, 15}, Look::Bar},
    {27, Kind::Bar, "img", 1, {3600, 2520, 250, 15}, Look::Bar},
    {28, Kind::Bar, "img", 0, {3000, 0, 1095, 255}, Look::Bar},
    {29, Kind::TextLabel, "Label1", kNoIndex, {3000, 240, 1455, 255}, Look::Toggle},
};

constexpr ExpectedElement kStandardRosso[] = {
    {1,
     Kind::TextLabel,
     "Label3",
     14,
     {6960, 8040, 255, 255},
     Look::GridScale,
     "-3"}, // vertical scale, line -3
    {2,
     Kind::TextLabel,
     "Label3",
     13,
     {6960, 6720, 255, 255},
     Look::GridScale,
     "-2"}, // vertical scale, line -2
    {3,
     Kind::TextLabel,
     "Label3",
     12,
     {6960, 5400, 255, 255},
     Look::GridScale,
     "-1"}, // vertical scale, line -1
    {4,
     Kind::TextLabel,
     "Label3",
     11,
     {6960, 480, 255, 255},
     Look::GridScale,
     "+3"}, // vertical scale, line +3
    {5,
     Kind::TextLabel,
     "Label3",
     10,
     {6960, 1800, 255, 255},
     Look::GridScale,
     "+2"}, // vertical scale, line +2
    {6,
     Kind::TextLabel,
     "Label3",
     9,
     {6960, 3120, 255, 255},
     Look::GridScale,
     "+1"}, // vertical scale, line +1
    {7,
     Kind::TextLabel,
     "Label3",
     8,
     {480, 4320, 255, 255},
     Look::GridScale,
     "-4"}, // horizontal scale, line -4
    {8,
     Kind::TextLabel,
     "Label3",
     7,
     {2160, 4320, 255, 255},
     Look::GridScale,
     "-3"}, // horizontal scale, line -3
    {9,
     Kind::TextLabel,
     "Label3",
     6,
     {3840, 4320, 255, 255},
     Look::GridScale,
     "-2"}, // horizontal scale, line -2
    {10,
     Kind::TextLabel,
     "Label3",
     5,
     {5520, 4320, 255, 255},
     Look::GridScale,
     "-1"}, // horizontal scale, line -1
    {11,
     Kind::TextLabel,
     "Label3",
     4,
     {6960, 4320, 255, 255},
     Look::GridScale,
     "0"}, // both scales, centre
    {12,
     Kind::TextLabel,
     "Label3",
     3,
     {13680, 4320, 255, 255},
     Look::GridScale,
     "+4"}, // horizontal scale, line +4
    {13,
     Kind::TextLabel,
     "Label3",
     2,
     {12000, 4320, 255, 255},
     Look::GridScale,
     "+3"}, // horizontal scale, line +3
    {14,
     Kind::TextLabel,
     "Label3",
     1,
     {10320, 4320, 255, 255},
     Look::GridScale,
     "+2"}, // horizontal scale, line +2
    {15,
     Kind::TextLabel,
     "Label3",
     0,
     {8640, 4320, 255, 255},
     Look::GridScale,
     "+1"}, // horizontal scale, line +1
    {16, Kind::Stroke, "Shape2", 1, {480, 5640, 13455, 15}, Look::RedStroke},
    {17, Kind::Stroke, "Shape4", 3, {2160, 480, 15, 7815}, Look::RedStroke},
    {18, Kind::Stroke, "Shape4", 2, {3840, 480, 15, 7815}, Look::RedStroke},
    {19, Kind::Stroke, "Shape4", 1, {5520, 480, 15, 7815}, Look::RedStroke},
    {20, Kind::Stroke, "Shape3", 4, {480, 8280, 13455, 15}, Look::RedStroke},
    {21, Kind::Stroke, "Shape3", 3, {480, 480, 15, 7815}, Look::RedStroke},
    {22, Kind::Stroke, "Shape3", 2, {13920, 480, 15, 7815}, Look::RedStroke},
    {23, Kind::Stroke, "Shape3", 1, {480, 480, 13455, 15}, Look::RedStroke},
    {24, Kind::Stroke, "Shape4", 0, {8880, 480, 15, 7815}, Look::RedStroke},
    {25, Kind::Stroke, "Shape3", 0, {12240, 480, 15, 7815}, Look::RedStroke},
    {26, Kind::Stroke, "Shape2", 0, {480, 3120, 13455, 15}, Look::RedStroke},
    {27, Kind::Stroke, "Shape1", kNoIndex, {480, 6960, 13455, 15}, Look::RedStroke},
    {28, Kind::TextLabel, "Label1", kNoIndex, {6480, 240, 1455, 255}, Look::Toggle},
    {29, Kind::Bar, "img", 0, {6840, 0, 735, 255}, Look::Bar},
    {30, Kind::TextLabel, "Label2", kNoIndex, {7560, 0, 375, 240}, Look::Close},
    {31, Kind::Bar, "img", 4, {10560, 480, 15, 7815}, Look::Bar},
    {32, Kind::Bar, "img", 5, {7200, 480, 15, 7815}, Look::Bar},
    {33, Kind::Bar, "img", 1, {480, 1800, 13455, 15}, Look::Bar},
    {34, Kind::Bar, "img", 3, {7200, 0, 375, 255}, Look::Bar},
    {35, Kind::Bar, "img", 2, {6480, 0, 375, 255}, Look::Bar},
    {36, Kind::Bar, "img", 6, {480, 4320, 13455, 15}, Look::Bar},
};

struct TableCase
{
    const ReticleDesign& (*design)();
    std::string_view windowName;
    std::span<const ExpectedElement> elements;
};

const TableCase kTables[] = {
    {designs::standardRosso, "Form2", kStandardRosso},
    {designs::standardBianco, "Form3", kStandardBianco},
    {designs::standardRossoFine, "Form4", kStandardRossoFine},
    {designs::croceRossa, "Form5", kCroceRossa},
    {designs::croceRossaMicrometrica, "Form6", kCroceRossaMicrometrica},
    {designs::campoCcd, "Form7", kCampoCcd},
    {designs::punto, "Form8", kPunto},
};

void PrintTo(const TableCase& c, std::ostream* os)
{
    *os << c.windowName;
}

class ElementTable : public ::testing::TestWithParam<TableCase>
{
};

TEST_P(ElementTable, EveryElementMatchesItsRowInStackingOrder)
{
    const ReticleDesign& design = GetParam().design();
    const auto expected = GetParam().elements;
    ASSERT_EQ(design.elements.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        ASSERT_EQ(expected[i].position, static_cast<int>(i + 1)) << "the expected table's order";
        SCOPED_TRACE("place " + std::to_string(i + 1) + ", " + std::string(expected[i].name));
        expectElement(design.elements[i], expected[i]);
    }
}

std::string tableName(const ::testing::TestParamInfo<TableCase>& info)
{
    return std::string(info.param.windowName);
}

INSTANTIATE_TEST_SUITE_P(LiteralTables, ElementTable, ::testing::ValuesIn(kTables), tableName);

// ---- Figures made of several elements ------------------------------------

using Pixel = std::pair<int, int>; // column, row

struct Element
{
    std::string_view name;
    int index = kNoIndex;
};

// The pixels of a one-pixel outline of `outline` that none of the elements'
// pixel boxes at 96 dpi cover. The elements here are one-pixel lines, so a
// box's pixels are the pixels that it paints.
std::set<Pixel> uncoveredOutline(const ReticleDesign& design, IntRect outline,
                                 std::span<const Element> parts)
{
    std::set<Pixel> uncovered;
    for (int y = outline.top; y < outline.bottom; ++y) {
        for (int x = outline.left; x < outline.right; ++x) {
            const bool onEdge = x == outline.left || x == outline.right - 1 || y == outline.top ||
                                y == outline.bottom - 1;
            if (onEdge) {
                uncovered.insert({x, y});
            }
        }
    }
    for (const Element& part : parts) {
        const DesignElement* element = design.find(part.name, part.index);
        if (element == nullptr) {
            ADD_FAILURE() << "no element " << part.name << " " << part.index;
            continue;
        }
        const IntRect r = snapToPixels(element->pixelBox(96));
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x) {
                if (x < outline.left || x >= outline.right || y < outline.top ||
                    y >= outline.bottom) {
                    ADD_FAILURE() << part.name << " paints outside the outline at " << x << ","
                                  << y;
                }
                uncovered.erase({x, y});
            }
        }
    }
    return uncovered;
}

struct OutlineCase
{
    std::string_view label;
    const ReticleDesign& (*design)();
    IntRect outline; // pixels, right and bottom exclusive
    std::vector<Element> parts;
    std::set<Pixel> uncovered;
};

const OutlineCase kOutlines[] = {
    {"StandardBiancoHorizontalHollowBar",
     designs::standardBianco,
     {152, 168, 345, 185},
     {{"Shape4"}, {"Shape3"}, {"img", 6}, {"img", 1}},
     {}},
    {"StandardBiancoVerticalHollowBar",
     designs::standardBianco,
     {240, 88, 257, 273},
     {{"Shape2"}, {"Shape1"}, {"img", 4}, {"img", 5}},
     {}},
    // The 8-pixel short sides close only because the long bars paint the
    // remaining corner pixels.
    {"StandardRossoFineHorizontalHollowBar",
     designs::standardRossoFine,
     {128, 160, 329, 169},
     {{"Shape2"}, {"Shape1"}, {"img", 6}, {"img", 1}},
     {}},
    {"StandardRossoFineVerticalHollowBar",
     designs::standardRossoFine,
     {224, 80, 233, 265},
     {{"Shape3"}, {"Shape4"}, {"img", 4}, {"img", 5}},
     {}},
    {"CampoCcdOuterFrame",
     designs::campoCcd,
     {64, 72, 441, 321},
     {{"Shape8"}, {"Shape7"}, {"Shape6"}, {"Shape5"}},
     {}},
    {"CampoCcdInnerFrame",
     designs::campoCcd,
     {152, 136, 353, 257},
     {{"img", 6}, {"img", 1}, {"img", 4}, {"img", 5}},
     {}},
    // Four 8-pixel strokes: the lower-right corner pixel stays unpainted.
    {"CampoCcdCentreSquare",
     designs::campoCcd,
     {248, 192, 257, 201},
     {{"Shape1"}, {"Shape2"}, {"Shape3"}, {"Shape4"}},
     {{256, 200}}},
    {"MicrometricCentreSquare",
     designs::croceRossaMicrometrica,
     {240, 168, 257, 185},
     {{"Shape8"}, {"Shape7"}, {"img", 1}, {"img", 2}},
     {}},
};

void PrintTo(const OutlineCase& c, std::ostream* os)
{
    *os << c.label;
}

class Outline : public ::testing::TestWithParam<OutlineCase>
{
};

TEST_P(Outline, ItsElementsPaintTheWholeOutline)
{
    const OutlineCase& c = GetParam();
    EXPECT_EQ(uncoveredOutline(c.design(), c.outline, c.parts), c.uncovered);
}

std::string outlineName(const ::testing::TestParamInfo<OutlineCase>& info)
{
    return std::string(info.param.label);
}

INSTANTIATE_TEST_SUITE_P(Figures, Outline, ::testing::ValuesIn(kOutlines), outlineName);

// StandardRossoFine's short sides are 8 pixels long; the pixel beyond each
// one's end is the corner that a long bar paints.
struct ShortSideCase
{
    std::string_view shortSide;
    Pixel corner;
    int longBar;
};

const ShortSideCase kShortSides[] = {
    {"Shape2", {128, 168}, 1},
    {"Shape1", {328, 168}, 1},
    {"Shape3", {232, 80}, 5},
    {"Shape4", {232, 264}, 5},
};

bool contains(const IntRect& r, Pixel p)
{
    return p.first >= r.left && p.first < r.right && p.second >= r.top && p.second < r.bottom;
}

TEST(StandardRossoFine, ShortSidesEndOnePixelShortOfTheCornerThatALongBarPaints)
{
    const ReticleDesign& design = designs::standardRossoFine();
    for (const ShortSideCase& c : kShortSides) {
        SCOPED_TRACE(std::string(c.shortSide));
        const DesignElement* side = design.find(c.shortSide);
        const DesignElement* bar = design.find("img", c.longBar);
        ASSERT_NE(side, nullptr);
        ASSERT_NE(bar, nullptr);
        const IntRect sidePixels = snapToPixels(side->pixelBox(96));
        EXPECT_EQ(std::max(sidePixels.width(), sidePixels.height()), 8);
        EXPECT_EQ(std::min(sidePixels.width(), sidePixels.height()), 1);
        EXPECT_FALSE(contains(sidePixels, c.corner));
        EXPECT_TRUE(contains(snapToPixels(bar->pixelBox(96)), c.corner));
    }
}

// The one box value that is not a whole number of pixels: 250 twips, which
// rounds to the same columns as the other three bar ticks beside the centre.
TEST(CroceRossaMicrometrica, NarrowBarTickCoversTheSameColumnsAsTheOtherBarTicks)
{
    const ReticleDesign& design = designs::croceRossaMicrometrica();
    const DesignElement* narrow = design.find("img", 1);
    ASSERT_NE(narrow, nullptr);
    EXPECT_EQ(narrow->box.width, 250);
    EXPECT_DOUBLE_EQ(narrow->pixelBox(96).width, 250.0 / 15.0);
    const IntRect narrowPixels = snapToPixels(narrow->pixelBox(96));
    for (int index : {2, 3, 4}) {
        SCOPED_TRACE(index);
        const DesignElement* other = design.find("img", index);
        ASSERT_NE(other, nullptr);
        EXPECT_EQ(other->box.width, 255);
        const IntRect otherPixels = snapToPixels(other->pixelBox(96));
        EXPECT_EQ(narrowPixels.left, otherPixels.left);
        EXPECT_EQ(narrowPixels.right, otherPixels.right);
    }
}

} // namespace
} // namespace zentaro::test
