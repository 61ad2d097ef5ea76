#include "reticle/region_builder.h"

#include <algorithm>
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

std::vector<IntRect> bandedUnion(std::span<const IntRect> rects)
{
    // The rectangles by top edge, then left edge: those that join the sweep
    // at one edge come already in the left-to-right order it keeps.
    std::vector<IntRect> byTop;
    byTop.reserve(rects.size());
    for (const IntRect& r : rects) {
        if (!r.isEmpty()) {
            byTop.push_back(r);
        }
    }
    if (byTop.empty()) {
        return {};
    }
    std::sort(byTop.begin(), byTop.end(), [](const IntRect& a, const IntRect& b) {
        return a.top != b.top ? a.top < b.top : a.left < b.left;
    });
    std::vector<int> bottoms;
    bottoms.reserve(byTop.size());
    for (const IntRect& r : byTop) {
        bottoms.push_back(r.bottom);
    }
    std::sort(bottoms.begin(), bottoms.end());

    const std::size_t count = byTop.size();
    // The rectangles crossing the current band, sorted by left edge, and the
    // room the next band's set is written to; each holds at most `count`.
    std::vector<IntRect> activeRoom(count);
    std::vector<IntRect> nextRoom(count);
    IntRect* active = activeRoom.data();
    IntRect* next = nextRoom.data();
    std::size_t activeCount = 0;

    // The result is written through `used`, its length so far, into room
    // made ahead of each band (a band has at most one run per rectangle).
    std::vector<IntRect> result(4 * count);
    std::size_t used = 0;
    std::size_t lastBandStart = 0; // in result: the last band is [lastBandStart, used)
    bool lastBandAbove = false;    // the last band ends where the current one starts

    std::size_t nextToJoin = 0;  // in byTop
    std::size_t nextToLeave = 0; // in bottoms
    // The sweep stops at every top and bottom edge, lowest first.
    int top = byTop.front().top;
    for (;;) {
        while (nextToLeave < count && bottoms[nextToLeave] <= top) {
            ++nextToLeave;
        }
        if (nextToLeave == count) {
            break; // every rectangle has ended
        }
        const IntRect* joining = byTop.data() + nextToJoin;
        while (nextToJoin < count && byTop[nextToJoin].top <= top) {
            ++nextToJoin;
        }
        const IntRect* const joiningEnd = byTop.data() + nextToJoin;
        int bottom = bottoms[nextToLeave];
        if (nextToJoin < count) {
            bottom = std::min(bottom, byTop[nextToJoin].top);
        }

        // One pass makes the band's set (the active rectangles that go on,
        // merged by left edge with those joining) and its runs, touching or
        // overlapping rectangles merging into one run.
        const std::size_t most = activeCount + static_cast<std::size_t>(joiningEnd - joining);
        if (result.size() < used + most) {
            result.resize(std::max(2 * result.size(), used + most));
        }
        const std::size_t bandStart = used;
        IntRect* out = result.data() + used;
        IntRect* kept = next;
        const IntRect* going = active;
        const IntRect* const goingEnd = active + activeCount;
        bool runOpen = false;
        int runLeft = 0;
        int runRight = 0;
        for (;;) {
            const IntRect* r = nullptr;
            if (going != goingEnd && going->bottom <= top) {
                ++going; // ended at this edge
                continue;
            }
            if (going != goingEnd && (joining == joiningEnd || going->left <= joining->left)) {
                r = going++;
            } else if (joining != joiningEnd) {
                r = joining++;
            } else {
                break;
            }
            *kept++ = *r;
            if (runOpen && r->left <= runRight) {
                runRight = std::max(runRight, r->right);
            } else {
                if (runOpen) {
                    *out++ = {runLeft, top, runRight, bottom};
                }
                runLeft = r->left;
                runRight = r->right;
                runOpen = true;
            }
        }
        activeCount = static_cast<std::size_t>(kept - next);
        std::swap(active, next);

        if (!runOpen) {
            lastBandAbove = false; // a gap: nothing to grow into
        } else {
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
        top = bottom;
    }
    result.resize(used);
    return result;
}

} // namespace zentaro::region
