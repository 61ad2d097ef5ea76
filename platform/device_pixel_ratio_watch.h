// Tells a top-level widget when its device pixel ratio may have changed:
// it went to a screen of another ratio, or its screen's ratio was set anew.
#pragma once

#include <QObject>

#include <QPointer>

class QWidget;
class QWindow;

namespace zentaro::platform {

/// A child of the widget it watches, so it goes with it. Emits
/// mayHaveChanged() after each change it is told of; the widget's
/// devicePixelRatioF() already gives the new ratio then. Qt 6.6 and later
/// send the widget QEvent::DevicePixelRatioChange; Qt 6.4 has no such event,
/// and there the native window's QWindow::screenChanged stands for it (a
/// ratio set anew on the same screen then shows only at the next paint).
class DevicePixelRatioWatch : public QObject
{
    Q_OBJECT

public:
    explicit DevicePixelRatioWatch(QWidget& window);

signals:
    void mayHaveChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& window_;
    // The native window whose screen changes are followed (Qt 6.4); Qt may
    // make a new one for the same widget.
    QPointer<QWindow> followed_;
    void followNativeWindow();
};

} // namespace zentaro::platform
