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

/// Sets the X shape of `window` to exactly `bandedRects` (X works in device
/// pixels). Returns false where the window is not on X11.
bool setNativeShape(QWidget& window, std::span<const IntRect> bandedRects)
{
#ifdef ZENTARO_HAVE_XCB_SHAPE
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || window.windowHandle() == nullptr) {
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
    xcb_connection_t* connection = x11->connection();
    xcb_shape_rectangles(connection, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_BOUNDING,
                         XCB_CLIP_ORDERING_YX_BANDED, static_cast<xcb_window_t>(window.winId()), 0,
                         0, static_cast<uint32_t>(rects.size()), rects.data());
    xcb_flush(connection);
    return true;
#else
    (void)window;
    (void)bandedRects;
    return false;
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
    if (ratio != 1.0) {
        // Qt would round the logical mask to device pixels on its own,
        // which at fractional ratios adds or drops one-pixel slivers.
        setNativeShape(window, bandedDeviceRects);
    }
    window.update();
}

void clearRegion(QWidget& window)
{
    window.clearMask();
    window.update();
}

void setFramed(QWidget& window, bool framed)
{
    FrameKeeper::of(window).setFramed(framed);
}

bool startSystemMove(QWidget& window)
{
    QWindow* handle = window.windowHandle();
    return handle != nullptr && handle->startSystemMove();
}

void showAndActivate(QWidget& window)
{
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
