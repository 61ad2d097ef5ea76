// Watches the root window for the move requests (_NET_WM_MOVERESIZE) that
// programs send to the window manager, for tests only.
//
// A window manager moves a window by the pointer's travel from the point the
// request names, and takes the pointer only once the request has reached it:
// a test that moves the pointer on before then races the window manager.
#pragma once

#include "x_connection.h"

#include <QPoint>

#include <chrono>
#include <optional>

namespace zentaro::x11test {

class MoveRequestWatch
{
public:
    /// Starts watching on a connection of its own, so that the root
    /// window's events never pile up on the test's connection.
    MoveRequestWatch();

    /// Waits for a request to move `window`, sent since the watch began or
    /// since the last request taken; returns the root point it names.
    std::optional<QPoint> waitForMove(XId window,
                                      std::chrono::milliseconds timeout = std::chrono::seconds(5));

private:
    XConnection x_;
    XId moveResizeAtom_ = 0;
};

} // namespace zentaro::x11test
