#include "process_windows.h"

#include "window_query.h"

#include <memory>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace zentaro::x11test {
namespace {

/// The first 32-bit item of a property, if the window has it with `type`.
std::optional<unsigned long> firstCardinal(XConnection& x, XId window, const char* name, Atom type)
{
    const std::vector<unsigned long> items = cardinalProperty(x, window, name, type);
    return items.empty() ? std::nullopt : std::optional<unsigned long>(items.front());
}

std::vector<XId> rootChildren(XConnection& x)
{
    Window rootReturn = 0;
    Window parent = 0;
    Window* list = nullptr;
    unsigned int count = 0;
    const Status status = XQueryTree(x.display(), x.root(), &rootReturn, &parent, &list, &count);
    std::unique_ptr<Window, XFreeDeleter> owned(list);
    if (x.sync() != 0 || status == 0 || list == nullptr) {
        return {};
    }
    return {list, list + count};
}

} // namespace

std::optional<pid_t> windowPid(XConnection& x, XId window)
{
    const auto pid = firstCardinal(x, window, "_NET_WM_PID", XA_CARDINAL);
    if (!pid) {
        return std::nullopt;
    }
    return static_cast<pid_t>(*pid);
}

std::vector<XId> clientWindowsOf(XConnection& x, pid_t pid)
{
    std::vector<XId> result;
    for (const XId window : clientWindows(x)) {
        if (windowPid(x, window) == pid) {
            result.push_back(window);
        }
    }
    return result;
}

bool popupShownBy(XConnection& x, pid_t pid)
{
    for (const XId window : rootChildren(x)) {
        XWindowAttributes attrs{};
        const Status status = XGetWindowAttributes(x.display(), window, &attrs);
        if (x.sync() != 0 || status == 0) {
            continue; // gone meanwhile
        }
        if (attrs.override_redirect != False && attrs.map_state == IsViewable &&
            windowPid(x, window) == pid) {
            return true;
        }
    }
    return false;
}

XId activeWindow(XConnection& x)
{
    return firstCardinal(x, x.root(), "_NET_ACTIVE_WINDOW", XA_WINDOW).value_or(0);
}

} // namespace zentaro::x11test
