#include "platform/platform.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QScreen>
#include <QUrl>
#include <QWidget>
#include <QWindow>

namespace zentaro::platform {

QRegion unionOfRects(std::span<const IntRect> rects)
{
    // QRegion::setRects builds the banded region from all rectangles at once;
    // it is far cheaper than one union per rectangle for the larger designs.
    QList<QRect> qrects;
    qrects.reserve(static_cast<qsizetype>(rects.size()));
    for (const IntRect& rect : rects) {
        if (!rect.isEmpty()) {
            qrects.append(QRect(rect.left, rect.top, rect.width(), rect.height()));
        }
    }
    QRegion region;
    if (!qrects.isEmpty()) {
        region.setRects(qrects.constData(), static_cast<int>(qrects.size()));
    }
    return region;
}

void applyRegion(QWidget& window, const QRegion& region)
{
    if (region.isEmpty()) {
        // An empty mask means "no mask" to Qt. A one-pixel rectangle just
        // outside the window keeps the window shaped, with nothing visible.
        window.setMask(QRegion(-1, -1, 1, 1));
    } else {
        window.setMask(region);
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
    const QRect clientGeometry = window.geometry();
    if (QWindow* handle = window.windowHandle()) {
        // Changing the flag on the native window keeps the widget mapped;
        // QWidget::setWindowFlags would re-create it and lose the client
        // position by the frame's size.
        handle->setFlag(Qt::FramelessWindowHint, !framed);
        // Keep the widget's own record of its flags in step, without
        // telling the window system a second time.
        window.overrideWindowFlags(handle->flags());
    } else {
        window.setWindowFlag(Qt::FramelessWindowHint, !framed);
    }
    window.setGeometry(clientGeometry);
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
