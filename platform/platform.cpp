#include "platform/platform.h"

#include "platform/frame_keeper.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QUrl>
#include <QVarLengthArray>
#include <QWidget>
#include <QWindow>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

#if __has_include(<QtGui/qguiapplication_platform.h>) && __has_include(<xcb/shape.h>)
#include <QtGui/qguiapplication_platform.h>
#include <xcb/shape.h>
#include <xcb/xcb.h>
#define ZENTARO_HAVE_XCB_SHAPE 1
#endif

namespace zentaro::platform {

namespace {

/// The union of a non-empty slice, halving it: log n levels of unions of
/// regions of similar size, rather than n unions into one growing region.
QRegion uniteHalves(std::span<const IntRect> rects)
{
    if (rects.size() == 1) {
        const IntRect& r = rects.front();
        return r.isEmpty() ? QRegion() : QRegion(r.left, r.top, r.width(), r.height());
    }
    const std::size_t half = rects.size() / 2;
    return uniteHalves(rects.first(half)).united(uniteHalves(rects.subspan(half)));
}

} // namespace

QRegion unionOfRects(std::span<const IntRect> rects)
{
    return rects.empty() ? QRegion() : uniteHalves(rects);
}

QRegion regionFromBandedRects(std::span<const IntRect> bandedRects)
{
    // setRects takes the banded form as it is, with no union of its own.
    QRegion region;
    if (bandedRects.empty()) {
        return region;
    }
    // On the stack for the usual sizes (the centring scale has 929 rectangles).
    QVarLengthArray<QRect, 1024> qrects(static_cast<qsizetype>(bandedRects.size()));
    QRect* out = qrects.data();
    for (const IntRect& rect : bandedRects) {
        *out++ = QRect(QPoint(rect.left, rect.top), QPoint(rect.right - 1, rect.bottom - 1));
    }
    region.setRects(qrects.constData(), static_cast<int>(qrects.size()));
    return region;
}

QRegion logicalCover(std::span<const IntRect> bandedDeviceRects, double devicePixelRatio)
{
    if (devicePixelRatio == 1.0) {
        return regionFromBandedRects(bandedDeviceRects);
    }
    // Widened rectangles may overlap their neighbours: a true union.
    std::vector<IntRect> logical;
    logical.reserve(bandedDeviceRects.size());
    for (const IntRect& r : bandedDeviceRects) {
        logical.push_back({static_cast<int>(std::floor(r.left / devicePixelRatio)),
                           static_cast<int>(std::floor(r.top / devicePixelRatio)),
                           static_cast<int>(std::ceil(r.right / devicePixelRatio)),
                           static_cast<int>(std::ceil(r.bottom / devicePixelRatio))});
    }
    return unionOfRects(logical);
}

namespace {

#ifdef ZENTARO_HAVE_XCB_SHAPE
/// The X connection when the windows are X windows (the xcb platform), or
/// nullptr. The offscreen platform may hold an X display of its own for
/// OpenGL, but its windows are none of that server's.
xcb_connection_t* x11Connection()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        return nullptr;
    }
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr ? x11->connection() : nullptr;
}
#endif

/// Sets the X shape of `window` to exactly `bandedRects` (X works in device
/// pixels). Returns false where the window is not on X11.
bool setNativeShape(QWidget& window, std::span<const IntRect> bandedRects)
{
#ifdef ZENTARO_HAVE_XCB_SHAPE
    xcb_connection_t* connection = x11Connection();
    if (connection == nullptr || window.windowHandle() == nullptr) {
        return false;
    }
    std::vector<xcb_rectangle_t> rects;
    rects.reserve(bandedRects.size());
    for (const IntRect& r : bandedRects) {
        if (!r.isEmpty()) {
            rects.push_back({static_cast<int16_t>(r.left), static_cast<int16_t>(r.top),
                             static_cast<uint16_t>(r.width()), static_cast<uint16_t>(r.height())});
        }
    }
    // The input shape as well: the X server clips input to the bounding
    // shape by itself, but XWayland 24.1 and later hand the compositor the
    // input shape alone as the surface's input region, and a window with
    // none would take every click over its whole rectangle there.
    for (const xcb_shape_kind_t kind : {XCB_SHAPE_SK_BOUNDING, XCB_SHAPE_SK_INPUT}) {
        xcb_shape_rectangles(connection, XCB_SHAPE_SO_SET, kind, XCB_CLIP_ORDERING_YX_BANDED,
                             static_cast<xcb_window_t>(window.winId()), 0, 0,
                             static_cast<uint32_t>(rects.size()), rects.data());
    }
    xcb_flush(connection);
    return true;
#else
    (void)window;
    (void)bandedRects;
    return false;
#endif
}

/// Removes the input shape that setNativeShape set: input follows the
/// bounding shape (or the whole window) again.
void clearNativeInputShape(QWidget& window)
{
#ifdef ZENTARO_HAVE_XCB_SHAPE
    xcb_connection_t* connection = x11Connection();
    if (connection == nullptr || window.windowHandle() == nullptr) {
        return;
    }
    xcb_shape_mask(connection, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_INPUT,
                   static_cast<xcb_window_t>(window.winId()), 0, 0, XCB_PIXMAP_NONE);
    xcb_flush(connection);
#else
    (void)window;
#endif
}

} // namespace

void applyRegion(QWidget& window, std::span<const IntRect> bandedDeviceRects)
{
    const double ratio = window.devicePixelRatioF();
    const QRegion cover = logicalCover(bandedDeviceRects, ratio);
    if (cover.isEmpty()) {
        // An empty mask means "no mask" to Qt. A one-pixel rectangle just
        // outside the window keeps the window shaped, with nothing visible.
        window.setMask(QRegion(-1, -1, 1, 1));
    } else {
        // Qt keeps this for its own clipping and input; it covers every
        // device pixel of the shape, so no element pixel is clipped.
        window.setMask(cover);
    }
    // Qt would round the logical mask to device pixels on its own, which at
    // fractional ratios adds or drops one-pixel slivers. And Qt passes a mask
    // on only when it differs from the last one: after a move to a screen of
    // another ratio the logical cover may be the same (1 and 2) while the
    // device pixels are not. So the shape is always set here, in device
    // pixels.
    setNativeShape(window, bandedDeviceRects);
    window.update();
}

void clearRegion(QWidget& window)
{
    window.clearMask();
    clearNativeInputShape(window);
    window.update();
}

void setFramed(QWidget& window, bool framed)
{
    FrameKeeper::of(window).setFramed(framed);
}

namespace {

#ifdef ZENTARO_HAVE_XCB_SHAPE
/// _NET_WM_MOVERESIZE's direction that ends a move or resize (EWMH).
constexpr uint32_t kMoveResizeCancel = 11;
/// _NET_WM_MOVERESIZE's source indication: a normal application.
constexpr uint32_t kSourceApplication = 1;

/// Where the X server has the pointer and its buttons, seen from `window`.
std::unique_ptr<xcb_query_pointer_reply_t, decltype(&std::free)>
queryPointer(xcb_connection_t* connection, xcb_window_t window)
{
    return {xcb_query_pointer_reply(connection, xcb_query_pointer(connection, window), nullptr),
            &std::free};
}
#endif

} // namespace

SystemMove startSystemMove(QWidget& window)
{
    QWindow* handle = window.windowHandle();
    // No window manager moves a window it does not manage.
    if (handle == nullptr || FrameKeeper::isUnmanaged(window)) {
        return SystemMove::Refused;
    }
#ifdef ZENTARO_HAVE_XCB_SHAPE
    if (xcb_connection_t* connection = x11Connection()) {
        // The motion that asks for the move may be handled after the button
        // went up (press, jitter and release within a millisecond). A window
        // manager asked now would take a pointer no button holds.
        const auto pointer = queryPointer(connection, static_cast<xcb_window_t>(window.winId()));
        if (pointer && (pointer->mask & XCB_BUTTON_MASK_1) == 0) {
            return SystemMove::ButtonAlreadyUp;
        }
    }
#endif
    return handle->startSystemMove() ? SystemMove::Started : SystemMove::Refused;
}

void cancelSystemMove(QWidget& window)
{
#ifdef ZENTARO_HAVE_XCB_SHAPE
    xcb_connection_t* connection = x11Connection();
    if (connection == nullptr || window.windowHandle() == nullptr) {
        return;
    }
    const auto windowId = static_cast<xcb_window_t>(window.winId());
    const auto pointer = queryPointer(connection, windowId);
    static constexpr char kMoveResize[] = "_NET_WM_MOVERESIZE";
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> atom(
        xcb_intern_atom_reply(connection,
                              xcb_intern_atom(connection, 0, sizeof(kMoveResize) - 1, kMoveResize),
                              nullptr),
        &std::free);
    if (!pointer || !atom) {
        return;
    }
    // The same client message the move was asked with, sent to the root
    // window the window manager listens on, with the cancel direction.
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = windowId;
    message.type = atom->atom;
    message.data.data32[0] = static_cast<uint32_t>(pointer->root_x);
    message.data.data32[1] = static_cast<uint32_t>(pointer->root_y);
    message.data.data32[2] = kMoveResizeCancel;
    message.data.data32[3] = XCB_BUTTON_INDEX_1;
    message.data.data32[4] = kSourceApplication;
    xcb_send_event(connection, 0, pointer->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection);
#else
    (void)window;
#endif
}

void showAndActivate(QWidget& window)
{
    if (FrameKeeper::isUnmanaged(window)) {
        // Outside the window manager: in front, but the keyboard stays with
        // whatever the user works in beneath (a camera program).
        window.raise();
        return;
    }
    if (window.isMinimized()) {
        window.showNormal();
    } else {
        window.show();
    }
    window.raise();
    window.activateWindow();
}

void quitApplicationNow()
{
    // Leaves the event loop at once; no close event reaches any window.
    QCoreApplication::exit(0);
}

bool openWithShell(const QString& text)
{
    const QUrl url = QUrl::fromLocalFile(QDir::current().absoluteFilePath(text));
    return QDesktopServices::openUrl(url);
}

double logicalDpi(const QWidget* window)
{
    const QScreen* screen = window != nullptr ? window->screen() : nullptr;
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    return screen != nullptr ? screen->logicalDotsPerInchY() : kReferenceDpi;
}

} // namespace zentaro::platform
