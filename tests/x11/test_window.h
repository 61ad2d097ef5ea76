// A plain X window that a test creates itself: something for a window
// manager to manage in the harness's own checks, or a surface beneath a
// shaped window that records the clicks reaching it.
#pragma once

#include "x_connection.h"

#include <QPoint>
#include <QRect>
#include <QRgb>

#include <string>
#include <vector>

namespace zentaro::x11test {

struct TestWindowOptions
{
    QRect geometry;
    std::string title;
    QRgb background = qRgb(0, 0, 0);
    /// True: not managed by a window manager, stacked where the test puts it.
    bool overrideRedirect = false;
};

class TestWindow
{
public:
    TestWindow(XConnection& x, const TestWindowOptions& options);
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    XId id() const { return window_; }
    void map();
    /// Puts the window beneath all its siblings (for an override-redirect
    /// window: beneath every managed window).
    void lower();

    /// The root positions of the button presses that have reached the
    /// window since the last call (after a round trip to the server).
    std::vector<QPoint> takeButtonPresses();

private:
    XConnection& x_;
    XId window_ = 0;
};

} // namespace zentaro::x11test
