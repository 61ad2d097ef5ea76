// Centratore: a large graduated cross centred on pixel (464, 312), the centre
// of its client area. The horizontal axis carries 55 ticks on each side of the
// centre, the vertical axis 35, at a pitch of 8 pixels (120 twips); every
// fifth tick is long, and every long tick but one carries its count of ticks
// from the centre as a number label.
//
// The 180 tick strokes and the 35 number labels are generated from their
// rules below; the stacking order is given as runs of element names.
#include "designs/designs.h"

#include <array>
#include <cstddef>
#include <optional>

namespace zentaro::designs {
namespace {

using colours::kRedStroke;

constexpr int kStripLeft = 7920;

// The centre pixel's top-left corner and the tick pitch, in twips.
constexpr int kCentreXTwips = 6960;
constexpr int kCentreYTwips = 4680;
constexpr int kPitchTwips = 120;

// Ticks on each half-axis: 55 on each half of the horizontal axis, 35 on each
// half of the vertical one; every fifth is long.
constexpr int kLongTickEvery = 5;

enum class HalfAxis
{
    Left,
    Right,
    Upper,
    Lower
};
enum class TickLength
{
    Short,
    Long
};

struct Tick
{
    HalfAxis half = HalfAxis::Left;
    int k = 0; // count of ticks from the centre, 1 for the nearest
};

constexpr bool onHorizontalAxis(HalfAxis half)
{
    return half == HalfAxis::Left || half == HalfAxis::Right;
}

/// Signed distance of tick k from the centre along its axis, in twips.
constexpr int tickOffsetTwips(Tick tick)
{
    const bool negativeSide = tick.half == HalfAxis::Left || tick.half == HalfAxis::Upper;
    return (negativeSide ? -kPitchTwips : kPitchTwips) * tick.k;
}

constexpr bool isLong(Tick tick)
{
    return tick.k % kLongTickEvery == 0;
}

// The horizontal axis's ticks are vertical lines, symmetric about the axis:
// short ones 8 pixels and long ones 24 pixels to each side. The vertical
// axis's ticks are horizontal lines that reach one pixel less far to the
// right than to the left (240 and 720 twips wide, not 255 and 735).
constexpr TwipBox tickBox(Tick tick)
{
    const int offset = tickOffsetTwips(tick);
    if (onHorizontalAxis(tick.half)) {
        const int left = kCentreXTwips + offset;
        return isLong(tick) ? TwipBox{left, 4320, 15, 735} : TwipBox{left, 4560, 15, 255};
    }
    const int top = kCentreYTwips + offset;
    return isLong(tick) ? TwipBox{6600, top, 720, 15} : TwipBox{6840, top, 240, 15};
}

/// The ordinal-th tick (from 0) of the given length on a half-axis, counted
/// outward: long ticks are k = 5, 10, ...; short ticks skip the multiples of 5.
constexpr int tickK(TickLength length, int ordinal)
{
    if (length == TickLength::Long) {
        return kLongTickEvery * (ordinal + 1);
    }
    constexpr int kShortPerFive = kLongTickEvery - 1;
    return ordinal + ordinal / kShortPerFive + 1;
}

// Which stroke name draws which tick: the strokes firstShape ..
// firstShape + count - 1 draw the ticks of one length on one half-axis,
// outward from the ordinal firstOrdinal.
struct TickNames
{
    int firstShape;
    int count;
    HalfAxis half;
    TickLength length;
    int firstOrdinal;
};

constexpr std::array kTickNames = {
    // The 14 long ticks of the vertical axis.
    TickNames{3, 1, HalfAxis::Upper, TickLength::Long, 0},
    TickNames{6, 5, HalfAxis::Upper, TickLength::Long, 1},
    TickNames{11, 6, HalfAxis::Lower, TickLength::Long, 0},
    TickNames{183, 1, HalfAxis::Lower, TickLength::Long, 6},
    TickNames{184, 1, HalfAxis::Upper, TickLength::Long, 6},
    // The 22 long ticks of the horizontal axis.
    TickNames{17, 11, HalfAxis::Left, TickLength::Long, 0},
    TickNames{28, 11, HalfAxis::Right, TickLength::Long, 0},
    // The 56 short ticks of the vertical axis.
    TickNames{39, 28, HalfAxis::Upper, TickLength::Short, 0},
    TickNames{67, 28, HalfAxis::Lower, TickLength::Short, 0},
    // The 88 short ticks of the horizontal axis.
    TickNames{95, 44, HalfAxis::Left, TickLength::Short, 0},
    TickNames{139, 44, HalfAxis::Right, TickLength::Short, 0},
};

constexpr Tick tickOfStroke(int shapeNumber)
{
    for (const TickNames& names : kTickNames) {
        const int offset = shapeNumber - names.firstShape;
        if (offset >= 0 && offset < names.count) {
            return {names.half, tickK(names.length, names.firstOrdinal + offset)};
        }
    }
    throw "no tick stroke has this number"; // a compile-time error in the table
}

constexpr DesignElement tickStroke(int shapeNumber)
{
    const TwipBox box = tickBox(tickOfStroke(shapeNumber));
    return stroke(ShortText::numbered("Shape", shapeNumber), box.left, box.top, box.width,
                  box.height, kRedStroke);
}

// The number labels: red numbers on opaque squares of the window's background
// colour, each centred on its long tick.
constexpr LabelLook kNumberLook{
    kRedStroke,        colours::kReticleBackground, LabelBackground::Opaque,
    LabelBorder::None, LabelAlignment::Left,        std::nullopt};

struct NumberLabel
{
    int labelNumber;
    Tick tick;
};

// Every long tick but the right-hand k = 5 of the horizontal axis carries a
// label. In its place, 120 twips further right, stands Label3, the upper
// vertical scale's "5", which follows the vertical rule.
constexpr std::array kNumberLabels = {
    NumberLabel{3, {HalfAxis::Upper, 5}},   NumberLabel{4, {HalfAxis::Upper, 10}},
    NumberLabel{5, {HalfAxis::Upper, 15}},  NumberLabel{6, {HalfAxis::Upper, 20}},
    NumberLabel{7, {HalfAxis::Upper, 25}},  NumberLabel{8, {HalfAxis::Upper, 30}},
    NumberLabel{9, {HalfAxis::Lower, 5}},   NumberLabel{10, {HalfAxis::Lower, 25}},
    NumberLabel{11, {HalfAxis::Lower, 20}}, NumberLabel{12, {HalfAxis::Lower, 15}},
    NumberLabel{13, {HalfAxis::Lower, 10}}, NumberLabel{14, {HalfAxis::Lower, 30}},
    NumberLabel{15, {HalfAxis::Right, 10}}, NumberLabel{16, {HalfAxis::Right, 15}},
    NumberLabel{17, {HalfAxis::Right, 20}}, NumberLabel{18, {HalfAxis::Right, 25}},
    NumberLabel{19, {HalfAxis::Right, 30}}, NumberLabel{20, {HalfAxis::Right, 35}},
    NumberLabel{21, {HalfAxis::Right, 40}}, NumberLabel{22, {HalfAxis::Right, 45}},
    NumberLabel{23, {HalfAxis::Right, 50}}, NumberLabel{24, {HalfAxis::Left, 55}},
    NumberLabel{25, {HalfAxis::Left, 20}},  NumberLabel{26, {HalfAxis::Left, 5}},
    NumberLabel{27, {HalfAxis::Left, 10}},  NumberLabel{28, {HalfAxis::Left, 15}},
    NumberLabel{29, {HalfAxis::Left, 25}},  NumberLabel{30, {HalfAxis::Left, 30}},
    NumberLabel{31, {HalfAxis::Left, 35}},  NumberLabel{32, {HalfAxis::Left, 40}},
    NumberLabel{33, {HalfAxis::Left, 45}},  NumberLabel{34, {HalfAxis::Left, 50}},
    NumberLabel{35, {HalfAxis::Right, 55}}, NumberLabel{36, {HalfAxis::Lower, 35}},
    NumberLabel{37, {HalfAxis::Upper, 35}},
};

constexpr int kNumberSideTwips = 255; // 17 pixels
constexpr int kNumberCentringTwips = 120;
// The horizontal scale stands above the axis, 7 pixels clear of the long
// ticks; the vertical scale right of the axis, 16 pixels clear of them.
constexpr int kHorizontalScaleTopTwips = 3960;
constexpr int kVerticalScaleLeftTwips = 7560;

constexpr TwipBox numberBox(Tick tick)
{
    const TwipBox tickAt = tickBox(tick);
    if (onHorizontalAxis(tick.half)) {
        return {tickAt.left - kNumberCentringTwips, kHorizontalScaleTopTwips, kNumberSideTwips,
                kNumberSideTwips};
    }
    return {kVerticalScaleLeftTwips, tickAt.top - kNumberCentringTwips, kNumberSideTwips,
            kNumberSideTwips};
}

constexpr DesignElement numberLabel(int labelNumber)
{
    for (const NumberLabel& entry : kNumberLabels) {
        if (entry.labelNumber == labelNumber) {
            const TwipBox box = numberBox(entry.tick);
            return label(ShortText::numbered("Label", labelNumber), box.left, box.top, box.width,
                         box.height, ShortText::numbered("", entry.tick.k), kNumberLook);
        }
    }
    throw "no number label has this number"; // a compile-time error in the table
}

// Spare elements inside the bar block img(0): bars 17 x 9 pixels and red
// strokes. img(7) and img(8) never get the bar picture and paint nothing.
constexpr DesignElement spareBar(int index)
{
    return bar(index, 8280, 0, 255, 135);
}
constexpr DesignElement spareStroke(ShortText name, int width, int height)
{
    return stroke(name, 8280, 0, width, height, kRedStroke);
}

// The stacking order, topmost first, as runs: tick strokes or number labels
// numbered `first` down to `last`, or one element given as it stands.
enum class RunSource
{
    TickStrokes,
    NumberLabels,
    Single
};

struct StackRun
{
    RunSource source = RunSource::Single;
    int first = 0;
    int last = 0;
    DesignElement element{};

    constexpr std::size_t length() const
    {
        return source == RunSource::Single ? 1 : static_cast<std::size_t>(first - last + 1);
    }
    constexpr DesignElement at(int offset) const
    {
        switch (source) {
        case RunSource::TickStrokes:
            return tickStroke(first - offset);
        case RunSource::NumberLabels:
            return numberLabel(first - offset);
        case RunSource::Single:
            break;
        }
        return element;
    }
};

constexpr StackRun strokes(int first, int last)
{
    return {RunSource::TickStrokes, first, last};
}
constexpr StackRun numbers(int first, int last)
{
    return {RunSource::NumberLabels, first, last};
}
constexpr StackRun single(const DesignElement& element)
{
    return {RunSource::Single, 0, 0, element};
}

constexpr std::array kStacking = {
    numbers(37, 36),
    strokes(184, 39),
    numbers(35, 35),
    numbers(24, 24),
    numbers(34, 25),
    numbers(23, 15),
    strokes(38, 17),
    numbers(14, 10),
    strokes(16, 12),
    numbers(9, 5),
    strokes(11, 9),
    numbers(4, 4),
    strokes(8, 6),
    single(spareBar(8)),
    numbers(3, 3),
    single(spareBar(7)),
    single(spareStroke("Shape5", 255, 120)),
    single(spareStroke("Shape2", 255, 120)),
    single(spareStroke("Shape4", 240, 135)),
    single(spareStroke("Shape1", 255, 120)),
    strokes(3, 3),
    single(spareBar(3)),
    single(bar(1, 360, 4680, 13215, 15)), // horizontal axis, columns 24 to 904
    single(spareBar(6)),
    single(bar(5, 6960, 480, 15, 8415)), // vertical axis, rows 32 to 592
    single(spareBar(4)),
    single(toggleLabel(kStripLeft)),
    single(closeLabel(kStripLeft)),
    single(spareBar(2)),
    single(bar(0, 7920, 0, 1095, 255)), // the bar block of the title strip
};

constexpr std::size_t elementCount()
{
    std::size_t count = 0;
    for (const StackRun& run : kStacking) {
        count += run.length();
    }
    return count;
}

constexpr std::size_t kElementCount = 230;
static_assert(elementCount() == kElementCount);

constexpr std::array<DesignElement, kElementCount> buildElements()
{
    std::array<DesignElement, kElementCount> elements{};
    std::size_t next = 0;
    for (const StackRun& run : kStacking) {
        for (int offset = 0; offset < static_cast<int>(run.length()); ++offset) {
            elements[next++] = run.at(offset);
        }
    }
    return elements;
}

constexpr std::array<DesignElement, kElementCount> kElements = buildElements();

constexpr ReticleDesign kCentratore{
    .designName = "Centratore",
    .windowName = "Form10",
    .caption = "Centratore",
    .clientWidthTwips = 13935,
    .clientHeightTwips = 9375,
    .background = colours::kReticleBackground,
    .barColour = colours::kRedBar,
    .stripLeftTwips = kStripLeft,
    .elements = kElements,
};

} // namespace

const ReticleDesign& centratore()
{
    return kCentratore;
}

} // namespace zentaro::designs
