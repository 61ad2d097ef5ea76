// Units of the designs and the one place where they become pixels.
//
// Designs are written in twips (1/1440 inch). At the screen's logical
// resolution `dpi` (dots per inch) a length of t twips is t * dpi / 1440
// pixels: at 96 dpi, 15 twips make one pixel. Every conversion of a real
// number to an integer rounds to the nearest integer, ties to the even
// neighbour (2.5 -> 2, 3.5 -> 4), as the designs were drawn with.
#pragma once

#include <cstdint>

namespace zentaro {

inline constexpr int kTwipsPerInch = 1440;
inline constexpr double kPointsPerInch = 72.0;
/// The resolution every pixel figure of the design tables is given for.
inline constexpr double kReferenceDpi = 96.0;

/// Rounds to the nearest integer, ties to the even neighbour. Usable in
/// constant expressions (std::nearbyint is not). Values must fit in int64.
constexpr std::int64_t roundHalfEven(double value)
{
    auto whole = static_cast<std::int64_t>(value); // truncates toward zero
    if (value < 0 && static_cast<double>(whole) != value) {
        --whole; // now floor(value)
    }
    const double fraction = value - static_cast<double>(whole); // in [0, 1)
    if (fraction > 0.5) {
        return whole + 1;
    }
    if (fraction < 0.5) {
        return whole;
    }
    return (whole % 2 == 0) ? whole : whole + 1;
}

constexpr int roundToInt(double value)
{
    return static_cast<int>(roundHalfEven(value));
}

/// Twips to pixels (real) at `dpi` dots per inch.
constexpr double twipsToPixels(double twips, double dpi)
{
    return twips * dpi / kTwipsPerInch;
}

/// A font size in points to whole pixels at `dpi` dots per inch.
constexpr int pointsToPixels(double points, double dpi)
{
    return roundToInt(points * dpi / kPointsPerInch);
}

/// A box in twips, from the top-left corner of a window's client area.
struct TwipBox
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend constexpr bool operator==(const TwipBox&, const TwipBox&) = default;
};

/// A box in pixels as real numbers, as a window that works in pixels reads it.
struct PixelBox
{
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    friend constexpr bool operator==(const PixelBox&, const PixelBox&) = default;
};

/// An integer pixel rectangle; `right` and `bottom` are exclusive, so it
/// covers columns left .. right-1 and rows top .. bottom-1.
struct IntRect
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    constexpr int width() const { return right - left; }
    constexpr int height() const { return bottom - top; }
    constexpr bool isEmpty() const { return right <= left || bottom <= top; }
    friend constexpr bool operator==(const IntRect&, const IntRect&) = default;
};

constexpr PixelBox toPixels(const TwipBox& box, double dpi)
{
    return {twipsToPixels(box.left, dpi), twipsToPixels(box.top, dpi),
            twipsToPixels(box.width, dpi), twipsToPixels(box.height, dpi)};
}

/// The whole pixels a real box covers when drawn with no offset: each edge is
/// rounded by itself, so the right edge is round(left + width). This is the
/// same rounding the window region uses, so what is painted and what stays
/// visible in the transparent state agree.
constexpr IntRect snapToPixels(const PixelBox& box)
{
    return {roundToInt(box.left), roundToInt(box.top), roundToInt(box.left + box.width),
            roundToInt(box.top + box.height)};
}

} // namespace zentaro
