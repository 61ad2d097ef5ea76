#include "quick_click.h"

#include "pointer.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace zentaro::x11test {
namespace {

/// XTEST's delay argument: send the event at once.
constexpr unsigned long kNoDelay = 0;

/// Moves the pointer to `at` and waits until the server has it there, so
/// that the burst that follows starts from a settled position.
bool settleAt(XConnection& x, QPoint at)
{
    return Pointer(x).moveTo(at);
}

void move(Display* display, QPoint to)
{
    XTestFakeMotionEvent(display, DefaultScreen(display), to.x(), to.y(), kNoDelay);
}

void button(Display* display, bool press)
{
    XTestFakeButtonEvent(display, static_cast<unsigned int>(kLeftButton), press ? True : False,
                         kNoDelay);
}

} // namespace

bool sendQuickClick(XConnection& x, QPoint at, QPoint jitter)
{
    if (!settleAt(x, at)) {
        return false;
    }
    Display* display = x.display();
    button(display, true);
    move(display, at + jitter);
    button(display, false);
    // One flush: the three requests reach the server together.
    return x.sync() == 0;
}

bool sendDoubleClick(XConnection& x, QPoint at)
{
    if (!settleAt(x, at)) {
        return false;
    }
    Display* display = x.display();
    for (int click = 0; click < 2; ++click) {
        button(display, true);
        button(display, false);
    }
    return x.sync() == 0;
}

} // namespace zentaro::x11test
