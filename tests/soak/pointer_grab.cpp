#include "pointer_grab.h"

#include <X11/Xlib.h>

namespace zentaro::soak {

namespace {

/// A server time older than any grab: a grab asked for at this time never
/// moves the server's last-grab time forward, so a window manager's next
/// grab (made with the time of the event that caused it) still succeeds.
/// Asking with CurrentTime would make that grab fail as too old.
constexpr Time kAncientServerTime = 1;

} // namespace

bool pointerGrabbedElsewhere(x11test::XConnection& x)
{
    const int status = XGrabPointer(x.display(), x.root(), False, 0, GrabModeAsync, GrabModeAsync,
                                    None, None, kAncientServerTime);
    if (status == GrabSuccess) {
        XUngrabPointer(x.display(), kAncientServerTime);
    }
    x.sync();
    return status == AlreadyGrabbed;
}

} // namespace zentaro::soak
