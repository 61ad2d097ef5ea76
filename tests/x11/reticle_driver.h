// Drives one reticle window of a running test host from outside, as a user
// would: clicks on its elements (placed from the design tables and the
// window's place on the screen) and waits for the X server to show a state.
#pragma once

#include "design_geometry.h"
#include "pointer.h"
#include "reticle_host_process.h"
#include "x_connection.h"

#include "designs/design.h"

#include <gtest/gtest.h>

#include <QMargins>
#include <QPoint>
#include <QSize>

#include <optional>
#include <string>
#include <string_view>

namespace zentaro::x11test {

class ReticleDriver
{
public:
    ReticleDriver(XConnection& x, ReticleHostProcess& host, const ReticleDesign& design);
    /// A reticle window of any process (the program itself), shown at `dpi`.
    ReticleDriver(XConnection& x, XId window, const ReticleDesign& design, double dpi);

    XId window() const { return window_; }
    const DesignGeometry& geometry() const { return geometry_; }
    Pointer& pointer() { return pointer_; }
    /// The client area's top-left pixel on the screen.
    std::optional<QPoint> origin();
    std::optional<QSize> size();

    /// The screen position of the element's middle pixel.
    std::optional<QPoint> screenPointOf(std::string_view name, int index = kNoIndex);
    /// A left click on the element's middle pixel, or for a wide element
    /// beside it, left and right by turns, so that two clicks in quick
    /// succession are not taken for a double click.
    ::testing::AssertionResult clickElement(std::string_view name, int index = kNoIndex);

    /// Waits until the window shows the transparent state (shaped to its
    /// elements, no frame) or the windowed one (whole and framed), with its
    /// client area at `expectedOrigin`.
    ::testing::AssertionResult waitForState(bool transparent, QPoint expectedOrigin);
    /// Clicks the toggle label and waits for the state it leads to.
    ::testing::AssertionResult toggle(bool toTransparent, QPoint expectedOrigin);

    /// Origin, size, frame and shape as the X server has them now.
    std::string describeState();

private:
    bool isInState(bool transparent, QPoint expectedOrigin);

    XConnection& x_;
    Pointer pointer_;
    XId window_;
    DesignGeometry geometry_;
    int clickSide_ = 1;
};

/// Pixels between two clicks on one element, beyond the distance within
/// which two presses can make a double click (Qt's default is 5).
inline constexpr int kApartFromTheLastClick = 10;

std::string toString(const std::optional<QPoint>& p);
std::string toString(const std::optional<QSize>& s);
std::string toString(const std::optional<QMargins>& m);

} // namespace zentaro::x11test
