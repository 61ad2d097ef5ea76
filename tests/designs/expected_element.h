// Expected rows of a design's element table, and the check of one element
// against its row.
#pragma once

#include "designs/design.h"

#include <string_view>

namespace zentaro::test {

/// The look column of a design table.
enum class Look
{
    Bar,           // the design's bar colour
    RedStroke,     // 0x000000FF, rectangle
    WhiteStroke,   // 0x00FFFFFF, rectangle
    RedCircle,     // 0x000000FF, circle
    Close,         // the close label Label2
    Toggle,        // the toggle label Label1
    GridScale,     // a scale label of the grid
    CentringScale, // a number label of the centring scale
};

using Kind = ElementKind;

struct ExpectedElement
{
    /// Place in the stacking order, 1 for the topmost element.
    int position;
    Kind kind;
    std::string_view name;
    int index;
    TwipBox box;
    Look look;
    std::string_view caption = {};
};

/// Checks kind, name, index, box, colours, shape, caption and label look.
void expectElement(const DesignElement& actual, const ExpectedElement& expected);

/// Checks every field of a label's look.
void expectLabelLook(const LabelLook& actual, const LabelLook& expected);

} // namespace zentaro::test
