#include "shell/banner_window.h"

#include "designs/units.h"
#include "platform/platform.h"
#include "shell/banner_view.h"

#include <QCloseEvent>

namespace zentaro::shell {
namespace {
// The inside of the border, in twips: 535 x 148 pixels at 96 dpi.
constexpr int kClientWidthTwips = 8025;
constexpr int kClientHeightTwips = 2220;
} // namespace

BannerWindow::BannerWindow(const QImage& picture, QWidget* parent)
    : QMdiSubWindow(parent, Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("Form1"));
    // No title bar, hence no caption, no icon and no system menu: nothing
    // with which to move, resize or close the window.
    setSystemMenu(nullptr);
    const double dpi = platform::logicalDpi(this);
    const QSize clientSize(roundToInt(twipsToPixels(kClientWidthTwips, dpi)),
                           roundToInt(twipsToPixels(kClientHeightTwips, dpi)));
    auto* view = new BannerView(picture, clientSize);
    setWidget(view);
    setFixedSize(view->size());
}

void BannerWindow::closeEvent(QCloseEvent* event)
{
    // Only the main window's end removes the banner, by deleting it; a close
    // request (a keyboard shortcut of the client area) is refused.
    event->ignore();
}

} // namespace zentaro::shell
