#include "reticle/region_builder.h"

#include <algorithm>
#include <cmath>
#include <iterator>

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

std::vector<IntRect> bandedUnion(std::span<const IntRect> rects)
{
    // The rectangles (copied: the sweep reads them many times) sorted by top.
    std::vector<IntRect> byTop;
    byTop.reserve(rects.size());
    for (const IntRect& r : rects) {
        if (!r.isEmpty()) {
            byTop.push_back(r);
        }
    }
    std::sort(byTop.begin(), byTop.end(),
              [](const IntRect& a, const IntRect& b) { return a.top < b.top; });
    // Every band edge is some rectangle's top or bottom: the tops come sorted
    // with the rectangles, so only the bottoms need a sort of their own.
    std::vector<int> tops;
    std::vector<int> bottoms;
    tops.reserve(byTop.size());
    bottoms.reserve(byTop.size());
    for (const IntRect& r : byTop) {
        tops.push_back(r.top);
        bottoms.push_back(r.bottom);
    }
    std::sort(bottoms.begin(), bottoms.end());
    std::vector<int> edges;
    edges.reserve(2 * byTop.size());
    std::merge(tops.begin(), tops.end(), bottoms.begin(), bottoms.end(), std::back_inserter(edges));
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());

    // The result is written through `used`, its length so far, into room
    // made ahead of each band (a band has at most one run per rectangle).
    std::vector<IntRect> result(4 * byTop.size());
    std::size_t used = 0;
    // The rectangles crossing the current band, kept sorted by left edge so
    // that each band's runs come out in one pass.
    std::vector<IntRect> active;
    active.reserve(byTop.size());
    const auto byLeft = [](const IntRect& a, const IntRect& b) { return a.left < b.left; };
    std::size_t nextToJoin = 0;  // in byTop
    std::size_t nextToLeave = 0; // in bottoms: the first bottom below the last band's top
    std::size_t lastBandStart = 0; // in result: the last band is [lastBandStart, used)
    bool lastBandAbove = false;    // the last band ends where the current one starts
    for (std::size_t i = 0; i + 1 < edges.size(); ++i) {
        const int top = edges[i];
        const int bottom = edges[i + 1];
        // Rectangles ending at this band's top leave (a pass over the active
        // set only where one does); those starting there join.
        if (nextToLeave < bottoms.size() && bottoms[nextToLeave] <= top) {
            std::erase_if(active, [top](const IntRect& r) { return r.bottom <= top; });
            while (nextToLeave < bottoms.size() && bottoms[nextToLeave] <= top) {
                ++nextToLeave;
            }
        }
        while (nextToJoin < byTop.size() && byTop[nextToJoin].top <= top) {
            const IntRect& joining = byTop[nextToJoin++];
            active.insert(std::upper_bound(active.begin(), active.end(), joining, byLeft),
                          joining);
        }
        if (active.empty()) {
            lastBandAbove = false; // a gap: nothing to grow into
            continue;
        }
        // The band's runs: touching or overlapping rectangles merge into one.
        if (result.size() < used + active.size()) {
            result.resize(std::max(2 * result.size(), used + active.size()));
        }
        const std::size_t bandStart = used;
        IntRect* out = result.data() + used;
        int runLeft = active.front().left;
        int runRight = active.front().right;
        for (const IntRect& r : std::span(active).subspan(1)) {
            if (r.left <= runRight) {
                runRight = std::max(runRight, r.right);
            } else {
                *out++ = {runLeft, top, runRight, bottom};
                runLeft = r.left;
                runRight = r.right;
            }
        }
        *out++ = {runLeft, top, runRight, bottom};
        used = static_cast<std::size_t>(out - result.data());

        const std::size_t runCount = used - bandStart;
        const bool sameRunsAsLastBand =
            lastBandAbove && bandStart - lastBandStart == runCount &&
            std::equal(result.begin() + static_cast<std::ptrdiff_t>(lastBandStart),
                       result.begin() + static_cast<std::ptrdiff_t>(bandStart),
                       result.begin() + static_cast<std::ptrdiff_t>(bandStart),
                       [](const IntRect& a, const IntRect& b) {
                           return a.left == b.left && a.right == b.right;
                       });
        if (sameRunsAsLastBand) {
            // Same runs right below the last band: that band grows instead.
            used = bandStart;
            for (std::size_t k = lastBandStart; k < bandStart; ++k) {
                result[k].bottom = bottom;
            }
        } else {
            lastBandStart = bandStart;
        }
        lastBandAbove = true;
    }
    result.resize(used);
    return result;
}

} // namespace zentaro::region
