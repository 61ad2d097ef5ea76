// The banner window `Form1`: the main window's one child window. It shows
// the banner picture and does nothing else; the user can neither move,
// resize nor close it. It goes when the main window goes.
#pragma once

#include <QImage>
#include <QMdiSubWindow>

namespace zentaro::shell {

class BannerWindow : public QMdiSubWindow
{
    Q_OBJECT

public:
    explicit BannerWindow(const QImage& picture, QWidget* parent = nullptr);

protected:
    void closeEvent(QCloseEvent* event) override;
};

} // namespace zentaro::shell
