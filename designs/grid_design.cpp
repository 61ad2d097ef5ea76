// StandardRosso: a red grid of 8 columns by 6 rows centred on pixel
// (480, 288), whose centre lines carry numbered scales. The vertical lines
// stand 1680 twips (112 pixels) apart; the horizontal lines 1320 twips
// (88 pixels) apart, except line +1, which is 1200 twips (80 pixels) above the
// centre line. The two centre lines and lines +2 are bars, the other lines red
// strokes. Elements in stacking order, topmost first.
#include "designs/designs.h"

#include <array>
#include <optional>

namespace zentaro::designs {
namespace {

using colours::kRedStroke;

constexpr int kStripLeft = 6480;

// The scale labels draw only their glyphs, so the grid lines show through.
constexpr LabelLook kScaleLook{colours::kGridScaleText,      colours::kReticleBackground,
                               LabelBackground::Transparent, LabelBorder::None,
                               LabelAlignment::Left,         std::nullopt};

// A scale label: 255 x 255 twips (17 x 17 pixels), one of the array Label3.
constexpr DesignElement scaleLabel(int index, int left, int top, ShortText caption)
{
    return label("Label3", left, top, 255, 255, caption, kScaleLook, index);
}

// Grid lines: the vertical ones run from row 32 to row 552, the horizontal
// ones from column 32 to column 928.
constexpr int kGridEdgeTwips = 480;
constexpr int kVerticalLineLengthTwips = 7815;
constexpr int kHorizontalLineLengthTwips = 13455;

constexpr DesignElement verticalLine(ShortText name, int index, int left)
{
    return stroke(name, left, kGridEdgeTwips, 15, kVerticalLineLengthTwips, kRedStroke,
                  StrokeShape::Rectangle, index);
}

constexpr DesignElement horizontalLine(ShortText name, int index, int top)
{
    return stroke(name, kGridEdgeTwips, top, kHorizontalLineLengthTwips, 15, kRedStroke,
                  StrokeShape::Rectangle, index);
}

constexpr std::array kElements = {
    scaleLabel(14, 6960, 8040, "-3"), // vertical scale
    scaleLabel(13, 6960, 6720, "-2"),
    scaleLabel(12, 6960, 5400, "-1"),
    scaleLabel(11, 6960, 480, "+3"),
    scaleLabel(10, 6960, 1800, "+2"),
    scaleLabel(9, 6960, 3120, "+1"),
    scaleLabel(8, 480, 4320, "-4"), // horizontal scale
    scaleLabel(7, 2160, 4320, "-3"),
    scaleLabel(6, 3840, 4320, "-2"),
    scaleLabel(5, 5520, 4320, "-1"),
    scaleLabel(4, 6960, 4320, "0"), // both scales
    scaleLabel(3, 13680, 4320, "+4"),
    scaleLabel(2, 12000, 4320, "+3"),
    scaleLabel(1, 10320, 4320, "+2"),
    scaleLabel(0, 8640, 4320, "+1"),
    horizontalLine("Shape2", 1, 5640),        // line -1
    verticalLine("Shape4", 3, 2160),          // line -3
    verticalLine("Shape4", 2, 3840),          // line -2
    verticalLine("Shape4", 1, 5520),          // line -1
    horizontalLine("Shape3", 4, 8280),        // line -3, bottom edge
    verticalLine("Shape3", 3, 480),           // line -4, left edge
    verticalLine("Shape3", 2, 13920),         // line +4, right edge
    horizontalLine("Shape3", 1, 480),         // line +3, top edge
    verticalLine("Shape4", 0, 8880),          // line +1
    verticalLine("Shape3", 0, 12240),         // line +3
    horizontalLine("Shape2", 0, 3120),        // line +1
    horizontalLine("Shape1", kNoIndex, 6960), // line -2
    toggleLabel(kStripLeft),
    bar(0, 6840, 0, 735, 255),
    closeLabel(kStripLeft),
    bar(4, 10560, 480, 15, 7815), // vertical line +2
    bar(5, 7200, 480, 15, 7815),  // vertical centre line
    bar(1, 480, 1800, 13455, 15), // horizontal line +2
    bar(3, 7200, 0, 375, 255),
    bar(2, 6480, 0, 375, 255),
    bar(6, 480, 4320, 13455, 15), // horizontal centre line
};

constexpr ReticleDesign kStandardRosso{
    .designName = "StandardRosso",
    .windowName = "Form2",
    .caption = "StandardRosso",
    .clientWidthTwips = 14595,
    .clientHeightTwips = 8370,
    .background = colours::kReticleBackground,
    .barColour = colours::kRedBar,
    .stripLeftTwips = kStripLeft,
    .elements = kElements,
};

} // namespace

const ReticleDesign& standardRosso()
{
    return kStandardRosso;
}

} // namespace zentaro::designs
