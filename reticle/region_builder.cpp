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

namespace {

struct Run
{
    int left;
    int right;
    friend bool operator==(const Run&, const Run&) = default;
};

/// The merged x-runs of `active`, which is sorted by left edge.
void mergeRuns(const std::vector<const IntRect*>& active, std::vector<Run>& runs)
{
    runs.clear();
    for (const IntRect* r : active) {
        if (!runs.empty() && r->left <= runs.back().right) {
            runs.back().right = std::max(runs.back().right, r->right);
        } else {
            runs.push_back({r->left, r->right});
        }
    }
}

} // namespace

std::vector<IntRect> bandedUnion(std::span<const IntRect> rects)
{
    std::vector<const IntRect*> byTop;
    byTop.reserve(rects.size());
    for (const IntRect& r : rects) {
        if (!r.isEmpty()) {
            byTop.push_back(&r);
        }
    }
    std::sort(byTop.begin(), byTop.end(),
              [](const IntRect* a, const IntRect* b) { return a->top < b->top; });
    // Every band edge is some rectangle's top or bottom: the tops come sorted
    // with the rectangles, so only the bottoms need a sort of their own.
    std::vector<int> tops;
    std::vector<int> bottoms;
    tops.reserve(byTop.size());
    bottoms.reserve(byTop.size());
    for (const IntRect* r : byTop) {
        tops.push_back(r->top);
        bottoms.push_back(r->bottom);
    }
    std::sort(bottoms.begin(), bottoms.end());
    std::vector<int> edges;
    edges.reserve(2 * byTop.size());
    std::merge(tops.begin(), tops.end(), bottoms.begin(), bottoms.end(), std::back_inserter(edges));
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());

    std::vector<IntRect> result;
    result.reserve(4 * byTop.size());
    // The rectangles crossing the current band, kept sorted by left edge so
    // that each band's runs come out in one pass.
    std::vector<const IntRect*> active;
    std::vector<Run> runs;
    std::vector<Run> previousRuns;
    std::size_t previousBandStart = 0; // index in result of the last band's first rectangle
    int previousBottom = 0;
    std::size_t next = 0;
    const auto byLeft = [](const IntRect* a, const IntRect* b) { return a->left < b->left; };
    for (std::size_t i = 0; i + 1 < edges.size(); ++i) {
        const int top = edges[i];
        const int bottom = edges[i + 1];
        // Rectangles ending at this band's top leave; those starting there join.
        std::erase_if(active, [top](const IntRect* r) { return r->bottom <= top; });
        while (next < byTop.size() && byTop[next]->top <= top) {
            const IntRect* joining = byTop[next++];
            active.insert(std::upper_bound(active.begin(), active.end(), joining, byLeft),
                          joining);
        }
        mergeRuns(active, runs);
        if (runs.empty()) {
            previousRuns.clear();
            continue;
        }
        if (runs == previousRuns && previousBottom == top) {
            // Same runs right below the last band: that band grows.
            for (std::size_t k = previousBandStart; k < result.size(); ++k) {
                result[k].bottom = bottom;
            }
        } else {
            previousBandStart = result.size();
            for (const Run& run : runs) {
                result.push_back({run.left, top, run.right, bottom});
            }
            previousRuns = runs;
        }
        previousBottom = bottom;
    }
    return result;
}

} // namespace zentaro::region
