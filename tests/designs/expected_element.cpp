#include "tests/designs/expected_element.h"

#include <gtest/gtest.h>

#include <optional>

namespace zentaro::test {
namespace {

constexpr LabelLook kExpectedToggleLook{
    ColourValue{0x000000FF}, ColourValue{0x80000005}, LabelBackground::Transparent,
    LabelBorder::Single,     LabelAlignment::Centre,  FontSpec{"MS Sans Serif", 9.75, true}};

constexpr LabelLook kExpectedGridScaleLook{ColourValue{0x000000C0},      ColourValue{0x00000040},
                                           LabelBackground::Transparent, LabelBorder::None,
                                           LabelAlignment::Left,         std::nullopt};

constexpr LabelLook kExpectedCentringScaleLook{ColourValue{0x000000FF}, ColourValue{0x00000040},
                                               LabelBackground::Opaque, LabelBorder::None,
                                               LabelAlignment::Left,    std::nullopt};

void expectStroke(const DesignElement& actual, std::uint32_t colour, StrokeShape shape)
{
    EXPECT_EQ(actual.strokeColour.raw, colour);
    EXPECT_EQ(actual.shape, shape);
}

// The close label's stored back colour never shows, so only what shows is held.
void expectCloseLook(const LabelLook& look)
{
    EXPECT_EQ(look.foreColour.raw, 0x00000000u);
    EXPECT_EQ(look.background, LabelBackground::Transparent);
    EXPECT_EQ(look.border, LabelBorder::None);
    EXPECT_EQ(look.alignment, LabelAlignment::Centre);
    ASSERT_TRUE(look.font.has_value());
    EXPECT_EQ(look.font->face, "MS Sans Serif");
    EXPECT_EQ(look.font->points, 12.0);
    EXPECT_TRUE(look.font->bold);
}

} // namespace

void expectLabelLook(const LabelLook& actual, const LabelLook& expected)
{
    EXPECT_EQ(actual.foreColour.raw, expected.foreColour.raw);
    EXPECT_EQ(actual.backColour.raw, expected.backColour.raw);
    EXPECT_EQ(actual.background, expected.background);
    EXPECT_EQ(actual.border, expected.border);
    EXPECT_EQ(actual.alignment, expected.alignment);
    ASSERT_EQ(actual.font.has_value(), expected.font.has_value());
    if (expected.font) {
        EXPECT_EQ(actual.font->face, expected.font->face);
        EXPECT_EQ(actual.font->points, expected.font->points);
        EXPECT_EQ(actual.font->bold, expected.font->bold);
    }
}

void expectElement(const DesignElement& actual, const ExpectedElement& expected)
{
    EXPECT_EQ(actual.kind, expected.kind);
    EXPECT_EQ(actual.name.view(), expected.name);
    EXPECT_EQ(actual.index, expected.index);
    EXPECT_EQ(actual.box.left, expected.box.left);
    EXPECT_EQ(actual.box.top, expected.box.top);
    EXPECT_EQ(actual.box.width, expected.box.width);
    EXPECT_EQ(actual.box.height, expected.box.height);
    switch (expected.look) {
    case Look::Bar:
        break;
    case Look::RedStroke:
        expectStroke(actual, 0x000000FF, StrokeShape::Rectangle);
        break;
    case Look::WhiteStroke:
        expectStroke(actual, 0x00FFFFFF, StrokeShape::Rectangle);
        break;
    case Look::RedCircle:
        expectStroke(actual, 0x000000FF, StrokeShape::Circle);
        break;
    case Look::Close:
        EXPECT_EQ(actual.caption.view(), "X");
        expectCloseLook(actual.look);
        break;
    case Look::Toggle:
        EXPECT_EQ(actual.caption.view(), ""); // set at run time, never stored
        expectLabelLook(actual.look, kExpectedToggleLook);
        break;
    case Look::GridScale:
        EXPECT_EQ(actual.caption.view(), expected.caption);
        expectLabelLook(actual.look, kExpectedGridScaleLook);
        break;
    case Look::CentringScale:
        EXPECT_EQ(actual.caption.view(), expected.caption);
        expectLabelLook(actual.look, kExpectedCentringScaleLook);
        break;
    }
}

} // namespace zentaro::test
