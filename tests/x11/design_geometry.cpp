#include "design_geometry.h"

#include "reticle/region_builder.h"

#include <algorithm>
#include <vector>

namespace zentaro::x11test {

QRect DesignGeometry::elementRect(const DesignElement& element) const
{
    const IntRect r = snapToPixels(element.pixelBox(dpi_));
    return QRect(r.left, r.top, r.width(), r.height());
}

QPoint DesignGeometry::centreOf(const DesignElement& element) const
{
    const QRect r = elementRect(element);
    return QPoint(r.left() + (r.width() - 1) / 2, r.top() + (r.height() - 1) / 2);
}

const DesignElement* DesignGeometry::topmostAt(QPoint clientPos) const
{
    // Elements are listed topmost first.
    for (const DesignElement& element : design_.elements) {
        if (elementRect(element).contains(clientPos)) {
            return &element;
        }
    }
    return nullptr;
}

QRegion DesignGeometry::transparentRegion(QSize clientSize) const
{
    std::vector<PixelBox> boxes;
    for (const DesignElement& element : design_.elements) {
        boxes.push_back(element.pixelBox(dpi_));
    }
    const region::WindowMetrics metrics{clientSize.width(), clientSize.height(),
                                        static_cast<double>(clientSize.width()),
                                        static_cast<double>(clientSize.height())};
    QRegion result;
    for (const IntRect& r : region::transparentRects(metrics, boxes)) {
        result += QRect(r.left, r.top, r.width(), r.height());
    }
    return result;
}

template <typename Accept>
std::optional<QPoint> DesignGeometry::pointOnThinnest(Accept accept,
                                                      bool awayFromMouseTargets) const
{
    // Bars and labels take the mouse; strokes let a press through to them.
    const auto takesMouseAt = [&](QPoint p) {
        return std::any_of(
            design_.elements.begin(), design_.elements.end(),
            [&](const DesignElement& e) { return !e.isStroke() && elementRect(e).contains(p); });
    };
    std::vector<const DesignElement*> candidates;
    for (const DesignElement& element : design_.elements) {
        if (accept(element) && !elementRect(element).isEmpty()) {
            candidates.push_back(&element);
        }
    }
    const auto thickness = [&](const DesignElement* e) {
        const QRect r = elementRect(*e);
        return std::min(r.width(), r.height());
    };
    std::stable_sort(candidates.begin(), candidates.end(),
                     [&](const auto* a, const auto* b) { return thickness(a) < thickness(b); });
    for (const DesignElement* element : candidates) {
        // The middle first, then the quarters, in case something covers it.
        const QRect r = elementRect(*element);
        const QPoint centre = centreOf(*element);
        for (const QPoint p :
             {centre, (r.topLeft() + centre) / 2, (centre + r.bottomRight()) / 2}) {
            if (topmostAt(p) == element && !(awayFromMouseTargets && takesMouseAt(p))) {
                return p;
            }
        }
    }
    return std::nullopt;
}

std::optional<QPoint> DesignGeometry::pointOnThinnestBar() const
{
    return pointOnThinnest([](const DesignElement& e) { return barShowsPicture(e); }, false);
}

std::optional<QPoint> DesignGeometry::pointOnThinnestStroke() const
{
    return pointOnThinnest([](const DesignElement& e) { return e.isStroke(); }, true);
}

std::optional<QPoint> DesignGeometry::backgroundPoint(QSize clientSize, int margin) const
{
    const QRegion occupied = transparentRegion(clientSize);
    const QPoint centre(clientSize.width() / 2, clientSize.height() / 2);
    std::optional<QPoint> best;
    int bestDistance = 0;
    constexpr int kStepPixels = 3;
    for (int y = margin; y < clientSize.height() - margin; y += kStepPixels) {
        for (int x = margin; x < clientSize.width() - margin; x += kStepPixels) {
            const QPoint p(x, y);
            const QRect around(p - QPoint(margin, margin), QSize(2 * margin + 1, 2 * margin + 1));
            const int distance = (p - centre).manhattanLength();
            if ((!best || distance < bestDistance) && !occupied.intersects(around)) {
                best = p;
                bestDistance = distance;
            }
        }
    }
    return best;
}

} // namespace zentaro::x11test
