#include "reticle_driver.h"

#include "regions.h"
#include "wait.h"
#include "window_query.h"

#include <sstream>

namespace zentaro::x11test {

using ::testing::AssertionFailure;
using ::testing::AssertionResult;
using ::testing::AssertionSuccess;

std::string toString(const std::optional<QPoint>& p)
{
    if (!p) {
        return "none";
    }
    return "(" + std::to_string(p->x()) + "," + std::to_string(p->y()) + ")";
}

std::string toString(const std::optional<QSize>& s)
{
    return s ? std::to_string(s->width()) + "x" + std::to_string(s->height()) : "none";
}

std::string toString(const std::optional<QMargins>& m)
{
    if (!m) {
        return "none";
    }
    std::ostringstream out;
    out << "l" << m->left() << " t" << m->top() << " r" << m->right() << " b" << m->bottom();
    return out.str();
}

ReticleDriver::ReticleDriver(XConnection& x, ReticleHostProcess& host, const ReticleDesign& design)
    : x_(x), pointer_(x), window_(host.window(design.windowName)),
      geometry_(design, host.dpi(design.windowName))
{
}

ReticleDriver::ReticleDriver(XConnection& x, XId window, const ReticleDesign& design, double dpi)
    : x_(x), pointer_(x), window_(window), geometry_(design, dpi)
{
}

std::optional<QPoint> ReticleDriver::origin()
{
    return rootPosition(x_, window_);
}

std::optional<QSize> ReticleDriver::size()
{
    return windowSize(x_, window_);
}

std::optional<QPoint> ReticleDriver::screenPointOf(std::string_view name, int index)
{
    const DesignElement* element = geometry_.design().find(name, index);
    const auto o = origin();
    if (element == nullptr || !o) {
        return std::nullopt;
    }
    return *o + geometry_.centreOf(*element);
}

AssertionResult ReticleDriver::clickElement(std::string_view name, int index)
{
    auto point = screenPointOf(name, index);
    const DesignElement* element = geometry_.design().find(name, index);
    if (point && element != nullptr &&
        geometry_.elementRect(*element).width() > 2 * kApartFromTheLastClick) {
        // Two clicks on one spot in quick succession are a double click,
        // whose second press is no click: a wide label (the toggle) is
        // clicked left and right of its middle by turns.
        clickSide_ = -clickSide_;
        *point += QPoint(clickSide_ * kApartFromTheLastClick, 0);
    }
    if (!point) {
        return AssertionFailure() << "no element " << name << " (or no window) in "
                                  << geometry_.design().designName;
    }
    if (!waitUntil([&] { return showsWindowAt(x_, window_, *point); })) {
        return AssertionFailure() << name << " of " << geometry_.design().designName << " at "
                                  << toString(point) << " is covered or not shown";
    }
    if (!pointer_.click(*point)) {
        return AssertionFailure() << "could not click at " << toString(point);
    }
    return AssertionSuccess();
}

AssertionResult ReticleDriver::waitForState(bool transparent, QPoint expectedOrigin)
{
    std::string observed;
    const bool reached = waitUntil([&] {
        observed = describeState();
        return isInState(transparent, expectedOrigin);
    });
    if (reached) {
        return AssertionSuccess();
    }
    std::ostringstream out;
    out << geometry_.design().designName << " did not reach the "
        << (transparent ? "transparent" : "windowed") << " state at " << toString(expectedOrigin)
        << "; last seen " << observed;
    if (const auto s = size(); transparent && s) {
        if (const auto shape = boundingShape(x_, window_)) {
            out << "\n  " << describeDifference(shape->region, geometry_.transparentRegion(*s));
        }
    }
    return AssertionFailure() << out.str();
}

AssertionResult ReticleDriver::toggle(bool toTransparent, QPoint expectedOrigin)
{
    const auto clicked = clickElement("Label1");
    return clicked ? waitForState(toTransparent, expectedOrigin) : clicked;
}

std::string ReticleDriver::describeState()
{
    std::ostringstream out;
    const auto shape = boundingShape(x_, window_);
    out << "origin " << toString(origin()) << ", size " << toString(size()) << ", frame "
        << toString(frameExtents(x_, window_)) << ", "
        << (shape ? (shape->shaped ? "shape " + describe(shape->region) : "unshaped")
                  : "no window");
    return out.str();
}

bool ReticleDriver::isInState(bool transparent, QPoint expectedOrigin)
{
    const auto o = origin();
    const auto s = size();
    const auto shape = boundingShape(x_, window_);
    if (!o || !s || !shape || *o != expectedOrigin) {
        return false;
    }
    const auto frame = frameExtents(x_, window_);
    const bool managed = windowManagerRunning(x_);
    if (transparent) {
        // Only the elements show, and the window manager draws no frame.
        return shape->shaped && samePixels(shape->region, geometry_.transparentRegion(*s)) &&
               (!managed || !frame || frame->isNull());
    }
    // The whole client shows, framed again.
    return samePixels(shape->region, QRect(QPoint(0, 0), *s)) &&
           (!managed || (frame && frame->top() > 0));
}

} // namespace zentaro::x11test
