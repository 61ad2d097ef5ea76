#include "platform/device_pixel_ratio_watch.h"

#include <QEvent>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <QtGlobal>

namespace zentaro::platform {

namespace {

/// Qt 6.6 added a public event for the change of a widget's ratio.
constexpr bool kQtSendsRatioChangeEvent = QT_VERSION >= QT_VERSION_CHECK(6, 6, 0);

} // namespace

DevicePixelRatioWatch::DevicePixelRatioWatch(QWidget& window) : QObject(&window), window_(window)
{
    window_.installEventFilter(this);
    followNativeWindow();
}

bool DevicePixelRatioWatch::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != &window_) {
        return false;
    }
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
    if (event->type() == QEvent::DevicePixelRatioChange) {
        emit mayHaveChanged();
    }
#else
    // The native window is made (or made anew) at the first show and when
    // the widget's native id changes.
    if (event->type() == QEvent::WinIdChange || event->type() == QEvent::Show) {
        followNativeWindow();
    }
#endif
    return false;
}

void DevicePixelRatioWatch::followNativeWindow()
{
    if constexpr (kQtSendsRatioChangeEvent) {
        return;
    }
    QWindow* handle = window_.windowHandle();
    if (handle == nullptr || handle == followed_) {
        return;
    }
    if (followed_ != nullptr) {
        disconnect(followed_, nullptr, this, nullptr);
    }
    followed_ = handle;
    connect(handle, &QWindow::screenChanged, this, &DevicePixelRatioWatch::mayHaveChanged);
}

} // namespace zentaro::platform
