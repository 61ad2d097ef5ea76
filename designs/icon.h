// The common icon: 32 x 32 pixels, no transparent pixel, a bright red
// crosshair (255, 0, 0) on black. Used by the main window, the information
// window and every reticle window.
#pragma once

#include "designs/colour.h"

#include <array>

namespace zentaro::icon {

inline constexpr int kSizePixels = 32;
inline constexpr ColourValue kField = colours::kBlack;
inline constexpr ColourValue kCrosshair{0x000000FF};

/// The crosshair's line: column 15 (vertical) and row 15 (horizontal).
inline constexpr int kAxis = 15;
/// Where the 3-pixel ticks stand along each line.
inline constexpr std::array<int, 8> kTickPositions = {0, 3, 7, 11, 19, 23, 27, 31};

constexpr bool isTickPosition(int position)
{
    for (int tick : kTickPositions) {
        if (tick == position) {
            return true;
        }
    }
    return false;
}

/// Whether pixel (x, y), counted from the top-left pixel, is red.
constexpr bool isCrosshairPixel(int x, int y)
{
    const bool onVertical = x == kAxis || (x >= kAxis - 1 && x <= kAxis + 1 && isTickPosition(y));
    const bool onHorizontal = y == kAxis || (y >= kAxis - 1 && y <= kAxis + 1 && isTickPosition(x));
    return onVertical || onHorizontal;
}

/// The icon's pixels, row by row, as colour values (0x00BBGGRR).
constexpr std::array<ColourValue, kSizePixels * kSizePixels> pixels()
{
    std::array<ColourValue, kSizePixels * kSizePixels> result{};
    for (int y = 0; y < kSizePixels; ++y) {
        for (int x = 0; x < kSizePixels; ++x) {
            result[static_cast<std::size_t>(y * kSizePixels + x)] =
                isCrosshairPixel(x, y) ? kCrosshair : kField;
        }
    }
    return result;
}

} // namespace zentaro::icon
