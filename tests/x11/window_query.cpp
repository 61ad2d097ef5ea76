#include "window_query.h"

#include <sstream>

#include "wait.h"

#include <QRect>

#include <algorithm>
#include <memory>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/shape.h>

namespace zentaro::x11test {

void XFreeDeleter::operator()(void* data) const
{
    if (data != nullptr) {
        XFree(data);
    }
}

std::vector<unsigned long> cardinalProperty(XConnection& x, XId window, const char* name, Atom type)
{
    Atom actualType = 0;
    int actualFormat = 0;
    unsigned long count = 0;
    unsigned long bytesAfter = 0;
    unsigned char* data = nullptr;
    const int status =
        XGetWindowProperty(x.display(), window, x.atom(name), 0, 1 << 16, False, type, &actualType,
                           &actualFormat, &count, &bytesAfter, &data);
    std::unique_ptr<unsigned char, XFreeDeleter> owned(data);
    x.sync();
    if (status != Success || actualType != type || actualFormat != 32 || data == nullptr) {
        return {};
    }
    const auto* items = reinterpret_cast<const unsigned long*>(data);
    return {items, items + count};
}

namespace {

std::optional<std::string> textProperty(XConnection& x, XId window, Atom property, Atom type)
{
    Atom actualType = 0;
    int actualFormat = 0;
    unsigned long count = 0;
    unsigned long bytesAfter = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(x.display(), window, property, 0, 1 << 16, False, type,
                                          &actualType, &actualFormat, &count, &bytesAfter, &data);
    std::unique_ptr<unsigned char, XFreeDeleter> owned(data);
    x.sync();
    if (status != Success || actualType != type || actualFormat != 8 || data == nullptr) {
        return std::nullopt;
    }
    return std::string(reinterpret_cast<const char*>(data), count);
}

std::vector<XId> children(XConnection& x, XId window)
{
    Window rootReturn = 0;
    Window parent = 0;
    Window* list = nullptr;
    unsigned int count = 0;
    const Status status = XQueryTree(x.display(), window, &rootReturn, &parent, &list, &count);
    std::unique_ptr<Window, XFreeDeleter> owned(list);
    x.sync();
    if (status == 0 || list == nullptr) {
        return {};
    }
    return {list, list + count};
}

std::optional<XWindowAttributes> attributes(XConnection& x, XId window)
{
    XWindowAttributes result{};
    const Status status = XGetWindowAttributes(x.display(), window, &result);
    if (x.sync() != 0 || status == 0) {
        return std::nullopt;
    }
    return result;
}

} // namespace

bool windowManagerRunning(XConnection& x)
{
    const auto check = cardinalProperty(x, x.root(), "_NET_SUPPORTING_WM_CHECK", XA_WINDOW);
    return !check.empty() && windowExists(x, check.front());
}

std::vector<XId> clientWindows(XConnection& x)
{
    if (windowManagerRunning(x)) {
        return cardinalProperty(x, x.root(), "_NET_CLIENT_LIST", XA_WINDOW);
    }
    // No window manager: clients are the root's children; look one level
    // deeper too, for a window manager that has just gone away.
    std::vector<XId> result;
    for (const XId child : children(x, x.root())) {
        if (windowTitle(x, child)) {
            result.push_back(child);
            continue;
        }
        for (const XId grandchild : children(x, child)) {
            if (windowTitle(x, grandchild)) {
                result.push_back(grandchild);
            }
        }
    }
    return result;
}

bool waitUntilGone(XConnection& x, XId window)
{
    return waitUntil([&] {
        const std::vector<XId> clients = clientWindows(x);
        return std::find(clients.begin(), clients.end(), window) == clients.end();
    });
}

std::optional<std::string> windowTitle(XConnection& x, XId window)
{
    if (auto name = textProperty(x, window, x.atom("_NET_WM_NAME"), x.atom("UTF8_STRING"))) {
        return name;
    }
    return textProperty(x, window, XA_WM_NAME, XA_STRING);
}

std::vector<XId> findClientWindowsByTitle(XConnection& x, std::string_view title)
{
    std::vector<XId> result;
    for (const XId window : clientWindows(x)) {
        if (windowTitle(x, window) == title) {
            result.push_back(window);
        }
    }
    return result;
}

std::optional<QPoint> rootPosition(XConnection& x, XId window)
{
    int rootX = 0;
    int rootY = 0;
    Window child = 0;
    const Bool ok =
        XTranslateCoordinates(x.display(), window, x.root(), 0, 0, &rootX, &rootY, &child);
    if (x.sync() != 0 || ok == False) {
        return std::nullopt;
    }
    return QPoint(rootX, rootY);
}

std::optional<QSize> windowSize(XConnection& x, XId window)
{
    const auto attrs = attributes(x, window);
    if (!attrs) {
        return std::nullopt;
    }
    return QSize(attrs->width, attrs->height);
}

bool isOverrideRedirect(XConnection& x, XId window)
{
    const auto attrs = attributes(x, window);
    return attrs && attrs->override_redirect != False;
}

bool isViewable(XConnection& x, XId window)
{
    const auto attrs = attributes(x, window);
    return attrs && attrs->map_state == IsViewable;
}

std::optional<BoundingShape> boundingShape(XConnection& x, XId window)
{
    Bool boundingShaped = False;
    Bool clipShaped = False;
    int bx = 0;
    int by = 0;
    int cx = 0;
    int cy = 0;
    unsigned int bw = 0;
    unsigned int bh = 0;
    unsigned int cw = 0;
    unsigned int ch = 0;
    const Status status = XShapeQueryExtents(x.display(), window, &boundingShaped, &bx, &by, &bw,
                                             &bh, &clipShaped, &cx, &cy, &cw, &ch);
    if (x.sync() != 0 || status == 0) {
        return std::nullopt;
    }
    BoundingShape result;
    result.shaped = boundingShaped != False;
    if (!result.shaped) {
        // Unshaped, the extents are the window's own rectangle.
        result.region = QRegion(bx, by, static_cast<int>(bw), static_cast<int>(bh));
        return result;
    }
    int count = 0;
    int ordering = 0;
    XRectangle* rects = XShapeGetRectangles(x.display(), window, ShapeBounding, &count, &ordering);
    std::unique_ptr<XRectangle, XFreeDeleter> owned(rects);
    if (x.sync() != 0) {
        return std::nullopt;
    }
    for (int i = 0; i < count; ++i) {
        result.region += QRect(rects[i].x, rects[i].y, rects[i].width, rects[i].height);
    }
    return result;
}

std::optional<QMargins> frameExtents(XConnection& x, XId window)
{
    const auto extents = cardinalProperty(x, window, "_NET_FRAME_EXTENTS", XA_CARDINAL);
    if (extents.size() != 4) {
        return std::nullopt;
    }
    const auto edge = [&](std::size_t i) { return static_cast<int>(extents[i]); };
    return QMargins(edge(0), edge(2), edge(1), edge(3)); // left, top, right, bottom
}

std::optional<QMargins> frameMargins(XConnection& x, XId window)
{
    // Climb to the root's child that holds the window.
    XId topLevel = window;
    constexpr int kMaxDepth = 16;
    for (int depth = 0; depth < kMaxDepth; ++depth) {
        Window rootReturn = 0;
        Window parent = 0;
        Window* list = nullptr;
        unsigned int count = 0;
        const Status status =
            XQueryTree(x.display(), topLevel, &rootReturn, &parent, &list, &count);
        std::unique_ptr<Window, XFreeDeleter> owned(list);
        if (x.sync() != 0 || status == 0) {
            return std::nullopt;
        }
        if (parent == rootReturn) {
            break;
        }
        topLevel = parent;
    }
    const auto client = rootPosition(x, window);
    const auto clientSize = windowSize(x, window);
    const auto outer = attributes(x, topLevel);
    if (!client || !clientSize || !outer) {
        return std::nullopt;
    }
    // The frame's border belongs to the frame.
    const int border = outer->border_width;
    const QRect frame(outer->x, outer->y, outer->width + 2 * border, outer->height + 2 * border);
    const QRect inner(*client, *clientSize);
    return QMargins(inner.left() - frame.left(), inner.top() - frame.top(),
                    frame.right() - inner.right(), frame.bottom() - inner.bottom());
}

bool windowManagerRoundTrip(XConnection& x)
{
    // Never mapped, and one pixel that becomes two: the request changes the
    // window, so the X server reports it once granted.
    XSetWindowAttributes attributes{};
    attributes.event_mask = StructureNotifyMask;
    const Window probe = XCreateWindow(x.display(), x.root(), -10, -10, 1, 1, 0, CopyFromParent,
                                       InputOnly, CopyFromParent, CWEventMask, &attributes);
    XResizeWindow(x.display(), probe, 2, 2);
    x.sync();
    const bool answered = waitUntil([&] {
        XEvent event{};
        while (XCheckTypedWindowEvent(x.display(), probe, ConfigureNotify, &event) == True) {
            if (event.xconfigure.width == 2) {
                return true;
            }
        }
        x.sync();
        return false;
    });
    XDestroyWindow(x.display(), probe);
    x.sync();
    return answered;
}

bool isPlacedAndSettled(XConnection& x, XId window)
{
    if (!isViewable(x, window)) {
        return false;
    }
    if (windowManagerRunning(x)) {
        // The window manager has framed it once it announces the extents.
        const auto extents = frameExtents(x, window);
        if (!extents || extents->top() <= 0) {
            return false;
        }
    }
    // Settled: the same place on two reads in a row.
    const auto first = rootPosition(x, window);
    x.sync();
    return first && rootPosition(x, window) == first;
}

std::vector<XId> clientStacking(XConnection& x)
{
    if (windowManagerRunning(x)) {
        return cardinalProperty(x, x.root(), "_NET_CLIENT_LIST_STACKING", XA_WINDOW);
    }
    std::vector<XId> result;
    for (const XId child : children(x, x.root())) { // XQueryTree: bottom to top
        if (isViewable(x, child)) {
            result.push_back(child);
        }
    }
    return result;
}

namespace {

/// The windows under `rootPos`, from the root's child down to the deepest.
std::vector<XId> windowsAt(XConnection& x, QPoint rootPos)
{
    std::vector<XId> chain;
    XId current = x.root();
    constexpr int kMaxDepth = 16;
    for (int depth = 0; depth < kMaxDepth; ++depth) {
        int childX = 0;
        int childY = 0;
        Window child = 0;
        const Bool ok = XTranslateCoordinates(x.display(), x.root(), current, rootPos.x(),
                                              rootPos.y(), &childX, &childY, &child);
        if (x.sync() != 0 || ok == False || child == 0) {
            break;
        }
        current = child;
        chain.push_back(current);
    }
    return chain;
}

} // namespace

std::string describeWindowsAt(XConnection& x, QPoint rootPos)
{
    std::ostringstream out;
    for (const XId window : windowsAt(x, rootPos)) {
        out << (out.tellp() > 0 ? " > " : "") << "0x" << std::hex << window << std::dec << " \""
            << windowTitle(x, window).value_or("") << "\"";
    }
    return out.str();
}

bool showsWindowAt(XConnection& x, XId window, QPoint rootPos)
{
    const std::vector<XId> chain = windowsAt(x, rootPos);
    return std::find(chain.begin(), chain.end(), window) != chain.end();
}

bool windowExists(XConnection& x, XId window)
{
    return attributes(x, window).has_value();
}

} // namespace zentaro::x11test
