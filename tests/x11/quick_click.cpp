#include "quick_click.h"

#include "wait.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <optional>

namespace zentaro::x11test {
namespace {

constexpr unsigned int kLeftButton = 1;
/// XTEST's delay argument: send the event at once.
constexpr unsigned long kNoDelay = 0;

bool hasXTest(Display* display)
{
    int eventBase = 0;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    return XTestQueryExtension(display, &eventBase, &errorBase, &major, &minor) != 0;
}

std::optional<QPoint> pointerPosition(XConnection& x)
{
    Window root = 0;
    Window child = 0;
    int rootX = 0;
    int rootY = 0;
    int winX = 0;
    int winY = 0;
    unsigned int mask = 0;
    if (XQueryPointer(x.display(), x.root(), &root, &child, &rootX, &rootY, &winX, &winY, &mask) ==
        0) {
        return std::nullopt;
    }
    return QPoint(rootX, rootY);
}

/// Moves the pointer to `at` and waits until the server has it there, so
/// that the burst that follows starts from a settled position.
bool settleAt(XConnection& x, QPoint at)
{
    Display* display = x.display();
    if (!hasXTest(display)) {
        return false;
    }
    XTestFakeMotionEvent(display, DefaultScreen(display), at.x(), at.y(), kNoDelay);
    x.sync();
    return waitUntil([&] { return pointerPosition(x) == at; });
}

void move(Display* display, QPoint to)
{
    XTestFakeMotionEvent(display, DefaultScreen(display), to.x(), to.y(), kNoDelay);
}

void button(Display* display, bool press)
{
    XTestFakeButtonEvent(display, kLeftButton, press ? True : False, kNoDelay);
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
