#include "move_request_watch.h"

#include "wait.h"

#include <X11/Xlib.h>

namespace zentaro::x11test {
namespace {

/// _NET_WM_MOVERESIZE's direction for a move by the pointer.
constexpr long kMoveByPointer = 8;

} // namespace

MoveRequestWatch::MoveRequestWatch() : moveResizeAtom_(x_.atom("_NET_WM_MOVERESIZE"))
{
    // Client messages to the window manager are sent to the root window with
    // SubstructureRedirect | SubstructureNotify: selecting the latter
    // receives a copy.
    XSelectInput(x_.display(), x_.root(), SubstructureNotifyMask);
    x_.sync();
}

std::optional<QPoint> MoveRequestWatch::waitForMove(XId window, std::chrono::milliseconds timeout)
{
    std::optional<QPoint> named;
    waitUntil(
        [&] {
            while (!named && XPending(x_.display()) > 0) {
                XEvent event;
                XNextEvent(x_.display(), &event);
                const XClientMessageEvent& message = event.xclient;
                if (event.type == ClientMessage && message.message_type == moveResizeAtom_ &&
                    message.window == window && message.data.l[2] == kMoveByPointer) {
                    named = QPoint(static_cast<int>(message.data.l[0]),
                                   static_cast<int>(message.data.l[1]));
                }
            }
            return named.has_value();
        },
        timeout);
    return named;
}

} // namespace zentaro::x11test
