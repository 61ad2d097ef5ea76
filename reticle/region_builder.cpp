#include "reticle/region_builder.h"

#include <cmath>

namespace zentaro::region {

FrameOffsets frameOffsets(const WindowMetrics& metrics)
{
    const int border = roundToInt((metrics.outerWidth - metrics.clientWidth) / 2.0);
    // H - b in integer arithmetic, then reduced by the (real) client height.
    const int outerLessBorder = metrics.outerHeight - border;
    const int top = roundToInt(outerLessBorder - metrics.clientHeight);
    return {border, top};
}

IntRect windowedRect(const WindowMetrics& metrics)
{
    return {0, 0, metrics.outerWidth, metrics.outerHeight};
}

namespace {

// Pixel coordinates beyond this cannot come from a window; such a box is
// treated as unreadable rather than overflowing the integer edges.
constexpr double kLargestCoordinatePixels = 1 << 28;

bool isReadable(double value)
{
    return std::isfinite(value) && std::fabs(value) <= kLargestCoordinatePixels;
}

bool isReadable(const PixelBox& box)
{
    return isReadable(box.left) && isReadable(box.top) && isReadable(box.width) &&
           isReadable(box.height);
}

} // namespace

std::vector<IntRect> transparentRects(const WindowMetrics& metrics,
                                      std::span<const PixelBox> elementBoxes)
{
    const FrameOffsets offsets = frameOffsets(metrics);
    std::vector<IntRect> rects;
    rects.reserve(elementBoxes.size());
    for (const PixelBox& box : elementBoxes) {
        if (!isReadable(box)) {
            continue; // an unreadable box adds nothing; the rest still count
        }
        const double left = box.left + offsets.border;
        const double top = box.top + offsets.top;
        const IntRect rect{roundToInt(left), roundToInt(top), roundToInt(left + box.width),
                           roundToInt(top + box.height)};
        if (!rect.isEmpty()) {
            rects.push_back(rect);
        }
    }
    return rects;
}

} // namespace zentaro::region
