#include "pointer.h"

#include "child_process.h"
#include "wait.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xfixes.h>

namespace zentaro::x11test {
namespace {

constexpr std::chrono::milliseconds kXdotoolTimeout{10000};

/// A server time older than any grab: a grab asked for at this time never
/// moves the server's last-grab time forward, so a window manager's next
/// grab (made with the time of the event that caused it) still succeeds.
/// Asking with CurrentTime would make that grab fail as too old.
constexpr Time kAncientServerTime = 1;

unsigned int buttonMask(int button)
{
    switch (button) {
    case 1:
        return Button1Mask;
    case 2:
        return Button2Mask;
    case 3:
        return Button3Mask;
    default:
        return 0;
    }
}

} // namespace

bool runXdotool(const std::vector<std::string>& args)
{
    std::vector<std::string> argv{"xdotool"};
    argv.insert(argv.end(), args.begin(), args.end());
    const auto status = runToEnd(argv, kXdotoolTimeout);
    return status && status->isSuccess();
}

std::optional<QPoint> Pointer::position()
{
    Window rootReturn = 0;
    Window child = 0;
    int rootX = 0;
    int rootY = 0;
    int winX = 0;
    int winY = 0;
    unsigned int mask = 0;
    if (!XQueryPointer(x_.display(), x_.root(), &rootReturn, &child, &rootX, &rootY, &winX, &winY,
                       &mask)) {
        return std::nullopt;
    }
    return QPoint(rootX, rootY);
}

bool Pointer::isHeld(int button)
{
    Window rootReturn = 0;
    Window child = 0;
    int coords[4] = {};
    unsigned int mask = 0;
    XQueryPointer(x_.display(), x_.root(), &rootReturn, &child, &coords[0], &coords[1], &coords[2],
                  &coords[3], &mask);
    return (mask & buttonMask(button)) != 0;
}

std::optional<unsigned long> Pointer::cursorSerial()
{
    int eventBase = 0;
    int errorBase = 0;
    if (!XFixesQueryExtension(x_.display(), &eventBase, &errorBase)) {
        return std::nullopt;
    }
    XFixesCursorImage* image = XFixesGetCursorImage(x_.display());
    if (image == nullptr) {
        return std::nullopt;
    }
    const unsigned long serial = image->cursor_serial;
    XFree(image);
    return serial;
}

bool Pointer::isGrabbedElsewhere()
{
    // Asks by trying a grab of its own at a time so old that it cannot
    // succeed once anyone has grabbed the pointer, so it leaves no trace.
    const int status = XGrabPointer(x_.display(), x_.root(), False, 0, GrabModeAsync, GrabModeAsync,
                                    None, None, kAncientServerTime);
    if (status == GrabSuccess) {
        XUngrabPointer(x_.display(), kAncientServerTime);
    }
    x_.sync();
    return status == AlreadyGrabbed;
}

bool Pointer::hasXTest()
{
    if (!xtestChecked_) {
        int eventBase = 0;
        int errorBase = 0;
        int major = 0;
        int minor = 0;
        hasXTest_ = XTestQueryExtension(x_.display(), &eventBase, &errorBase, &major, &minor);
        xtestChecked_ = true;
    }
    return hasXTest_;
}

bool Pointer::moveTo(QPoint rootPos)
{
    // Sent through the connection the test already holds: the server takes
    // the fake motion as the user's own, without a helper process per step.
    if (!hasXTest()) {
        return false;
    }
    XTestFakeMotionEvent(x_.display(), -1, rootPos.x(), rootPos.y(), CurrentTime);
    XFlush(x_.display());
    return waitUntil([&] { return position() == rootPos; });
}

bool Pointer::moveInSteps(QPoint rootPos, int steps)
{
    const auto start = position();
    if (!start) {
        return false;
    }
    for (int i = 1; i <= steps; ++i) {
        const QPoint step = *start + (rootPos - *start) * i / steps;
        if (!moveTo(step)) {
            return false;
        }
    }
    return true;
}

bool Pointer::setButton(int button, bool down)
{
    if (buttonMask(button) == 0 || !hasXTest()) {
        return false;
    }
    XTestFakeButtonEvent(x_.display(), static_cast<unsigned int>(button), down ? True : False,
                         CurrentTime);
    XFlush(x_.display());
    return waitUntil([&] { return isHeld(button) == down; });
}

bool Pointer::press(int button)
{
    return setButton(button, true);
}

bool Pointer::release(int button)
{
    return setButton(button, false);
}

bool Pointer::click(QPoint rootPos, int button)
{
    return moveTo(rootPos) && press(button) && release(button);
}

void Pointer::releaseAll()
{
    for (const int button : {kLeftButton, kMiddleButton, kRightButton}) {
        if (isHeld(button)) {
            release(button);
        }
    }
}

} // namespace zentaro::x11test
