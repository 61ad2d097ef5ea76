// Where a design's elements lie in a reticle window's client area, in whole
// pixels at a given resolution, and the region the transparent state should
// give that window. Computed from the design tables, so the X11 tests aim
// their clicks and drags without numbers of their own.
#pragma once

#include "designs/design.h"

#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QSize>

#include <optional>

namespace zentaro::x11test {

class DesignGeometry
{
public:
    DesignGeometry(const ReticleDesign& design, double dpi) : design_(design), dpi_(dpi) {}

    const ReticleDesign& design() const { return design_; }

    /// The pixels the element's box covers (each edge rounded by itself).
    QRect elementRect(const DesignElement& element) const;
    /// A pixel in the middle of the element's box.
    QPoint centreOf(const DesignElement& element) const;
    /// The element drawn on top at `clientPos`, or nullptr for background.
    const DesignElement* topmostAt(QPoint clientPos) const;

    /// The union of all element boxes as the region builder makes it for a
    /// frameless client of `clientSize` (b = t = 0), in client coordinates.
    QRegion transparentRegion(QSize clientSize) const;

    /// A point on the thinnest painted bar (img(0) to img(6)) where that
    /// bar is topmost: a one-pixel bar where the design has one.
    std::optional<QPoint> pointOnThinnestBar() const;
    /// A point on the thinnest stroke where that stroke is topmost and no
    /// bar or label lies beneath it: a press there reaches nothing that
    /// takes the mouse (a stroke over a bar lets the press through to it).
    std::optional<QPoint> pointOnThinnestStroke() const;
    /// The point nearest the client's centre that lies at least `margin`
    /// pixels away from every element.
    std::optional<QPoint> backgroundPoint(QSize clientSize, int margin) const;

private:
    template <typename Accept>
    std::optional<QPoint> pointOnThinnest(Accept accept, bool awayFromMouseTargets) const;

    const ReticleDesign& design_;
    double dpi_;
};

} // namespace zentaro::x11test
