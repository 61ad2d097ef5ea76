#include "pointer.h"

#include "child_process.h"
#include "wait.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

namespace zentaro::x11test {
namespace {

constexpr std::chrono::milliseconds kXdotoolTimeout{10000};

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

bool Pointer::moveTo(QPoint rootPos)
{
    return runXdotool({"mousemove", std::to_string(rootPos.x()), std::to_string(rootPos.y())}) &&
           waitUntil([&] { return position() == rootPos; });
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

bool Pointer::press(int button)
{
    return runXdotool({"mousedown", std::to_string(button)}) &&
           waitUntil([&] { return isHeld(button); });
}

bool Pointer::release(int button)
{
    return runXdotool({"mouseup", std::to_string(button)}) &&
           waitUntil([&] { return !isHeld(button); });
}

bool Pointer::click(QPoint rootPos, int button)
{
    return moveTo(rootPos) && runXdotool({"click", std::to_string(button)});
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
