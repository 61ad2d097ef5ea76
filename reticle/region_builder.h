// The reticle window's region, computed from its metrics and element boxes.
//
// Pure arithmetic, no window-system dependency. Coordinates are pixels with
// the origin at the window's outer top-left corner. Every rounding is to the
// nearest integer, ties to the even neighbour.
//
// Edge behaviour:
//  - b = round((W - clientWidth) / 2) and t = round((H - b) - clientHeight):
//    the bottom frame is taken to be as wide as the side frames. A window
//    with no frame (W = clientWidth, H = clientHeight) gives b = t = 0.
//  - Each element contributes the rectangle (round(L), round(T),
//    round(L + width), round(T + height)) with L = left + b, T = top + t:
//    every edge is rounded by itself after the offset is added.
//  - An element whose box cannot be read (NaN, infinite, or beyond 2^28
//    pixels) is skipped; the others still count. An element with no area contributes nothing.
//  - No elements give an empty region. Any number of elements is handled.
//  - The builder keeps no state: the same input gives the same region.
#pragma once

#include "designs/units.h"

#include <span>
#include <vector>

namespace zentaro::region {

struct WindowMetrics
{
    int outerWidth = 0;  // W, whole pixels, frame included
    int outerHeight = 0; // H, whole pixels, frame included
    double clientWidth = 0;
    double clientHeight = 0;
};

struct FrameOffsets
{
    int border = 0; // b: client left edge from the window's left edge
    int top = 0;    // t: client top edge from the window's top edge
    friend constexpr bool operator==(const FrameOffsets&, const FrameOffsets&) = default;
};

FrameOffsets frameOffsets(const WindowMetrics& metrics);

/// The windowed state's region: the whole window rectangle (0, 0, W, H).
IntRect windowedRect(const WindowMetrics& metrics);

/// The transparent state's region as rectangles, one per element that has
/// an area, in element order. Their union is the region.
std::vector<IntRect> transparentRects(const WindowMetrics& metrics,
                                      std::span<const PixelBox> elementBoxes);

/// The union of `rects` in the canonical banded form window systems and
/// QRegion::setRects expect: rectangles that do not overlap, sorted by top
/// then left, grouped in horizontal bands whose rectangles share their top
/// and bottom; touching runs in a band are merged, and vertically adjacent
/// bands with the same runs are merged. Built in one sweep over the edges,
/// not by one union per rectangle. Empty rectangles add nothing.
std::vector<IntRect> bandedUnion(std::span<const IntRect> rects);

} // namespace zentaro::region
