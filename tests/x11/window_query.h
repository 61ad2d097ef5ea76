// Reading what the X server knows about a client window, for tests only.
//
// Every query answers std::nullopt (or an empty list) when the window no
// longer exists: windows come and go asynchronously, so tests poll these
// with waitUntil.
#pragma once

#include "wait.h"
#include "x_connection.h"

#include <QMargins>
#include <QPoint>
#include <QRegion>
#include <QSize>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zentaro::x11test {

/// Frees what Xlib allocated for a property or a query reply.
struct XFreeDeleter
{
    void operator()(void* data) const;
};

/// A window property of 32-bit items (Xlib hands them out as longs) of the
/// given type, or an empty list when the window has no such property.
std::vector<unsigned long> cardinalProperty(XConnection& x, XId window, const char* name,
                                            unsigned long type);

/// Whether a window manager announces itself (_NET_SUPPORTING_WM_CHECK).
bool windowManagerRunning(XConnection& x);

/// The top-level client windows: the window manager's _NET_CLIENT_LIST when
/// one runs, else every window with a title among the root's children and
/// grandchildren.
std::vector<XId> clientWindows(XConnection& x);
/// Waits until `window` is no longer among clientWindows(): an ended
/// program's window has gone from the window manager's list.
bool waitUntilGone(XConnection& x, XId window);

/// The window's title: _NET_WM_NAME (UTF-8), else WM_NAME.
std::optional<std::string> windowTitle(XConnection& x, XId window);

/// The client windows whose title is exactly `title`.
std::vector<XId> findClientWindowsByTitle(XConnection& x, std::string_view title);

/// Where the window's client area's top-left pixel lies on the root window.
std::optional<QPoint> rootPosition(XConnection& x, XId window);

/// The window's own size, without any frame.
std::optional<QSize> windowSize(XConnection& x, XId window);

/// Whether the window is override-redirect: no window manager manages it.
bool isOverrideRedirect(XConnection& x, XId window);

/// Whether the window is mapped and all its ancestors are (IsViewable).
bool isViewable(XConnection& x, XId window);

struct BoundingShape
{
    /// False when the window has no shape of its own.
    bool shaped = false;
    /// The pixels of the window that show, in the window's own coordinates:
    /// the shape's rectangles, or the whole window when it is not shaped.
    QRegion region;
};

/// The window's X Shape bounding region (XShapeGetRectangles).
std::optional<BoundingShape> boundingShape(XConnection& x, XId window);

/// The frame the window manager draws around the client (_NET_FRAME_EXTENTS:
/// left, top, right, bottom), or nullopt when it has set none.
std::optional<QMargins> frameExtents(XConnection& x, XId window);

/// The window manager's frame as the X server has it: how far the window's
/// top-level ancestor (the root's child that holds it) reaches beyond the
/// client on each side, in pixels. Zero margins when the client is itself a
/// child of the root or its frame window is no larger than the client.
/// Unlike _NET_FRAME_EXTENTS, which some window managers leave as they were
/// when a window loses its decorations, this changes exactly when the window
/// manager has re-framed the client.
std::optional<QMargins> frameMargins(XConnection& x, XId window);

/// A round trip through the window manager: asks for a new size of an
/// unmapped window of the test's own, which a window manager (holding the
/// root's substructure redirect) answers by granting it, and waits for the
/// resulting ConfigureNotify. Every window manager does that, where not
/// every one answers _NET_REQUEST_FRAME_EXTENTS for a window it does not
/// manage (KWin). It handles its events in order, so once it has answered
/// it has also done what the events before asked for: a frame change it
/// has seen is done, not half way. False when no answer came in time.
bool windowManagerRoundTrip(XConnection& x);

/// Waits until `condition` holds once the window manager has finished what
/// it was doing: it holds, then a round trip through the window manager,
/// then it holds again (waited for once more: the program may still be
/// correcting the window manager's last answer). A frame change or a state
/// change passes through states that look finished (IceWM grows the frame
/// around a client it has not yet moved into it; openbox announces
/// "maximised" before it moves the client), which a single wait would take
/// for the end.
template <typename Condition>
bool holdsOnceWindowManagerIsDone(XConnection& x, Condition&& condition)
{
    return waitUntil(condition) && windowManagerRoundTrip(x) && waitUntil(condition);
}

/// Whether the window is shown where it will stay: viewable, framed once a
/// window manager runs (it has announced the frame extents), and at the same
/// root position on two reads in a row.
bool isPlacedAndSettled(XConnection& x, XId window);

/// The client windows from the bottom to the top: the window manager's
/// _NET_CLIENT_LIST_STACKING, else the root's viewable children in their
/// stacking order.
std::vector<XId> clientStacking(XConnection& x);

/// Whether the screen pixel `rootPos` belongs to `window` (or a window
/// inside it): the window is not covered there and its shape includes it.
bool showsWindowAt(XConnection& x, XId window, QPoint rootPos);

/// The windows under the screen pixel `rootPos`, from the root's child down
/// to the deepest, each as its id and title: what a failed check of what
/// shows (or takes a click) there can name.
std::string describeWindowsAt(XConnection& x, QPoint rootPos);

/// Whether `window` still exists on the server.
bool windowExists(XConnection& x, XId window);

} // namespace zentaro::x11test
