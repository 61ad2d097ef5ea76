#include "shell/banner_view.h"

#include "designs/colour.h"
#include "platform/qt_bridge.h"

#include <QPainter>

namespace zentaro::shell {
namespace {
constexpr ColourValue kBorder = colours::kBlack;
// Covered wholly by the picture.
constexpr ColourValue kBannerBackground = colours::kDarkRedBackground;
constexpr int kBorderWidthPixels = 1;
} // namespace

BannerView::BannerView(const QImage& picture, QSize clientSize, QWidget* parent)
    : QFrame(parent), picture_(picture)
{
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(kBorderWidthPixels);
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, platform::toQColor(kBorder));
    palette.setColor(QPalette::Window, platform::toQColor(kBannerBackground));
    setPalette(palette);
    setAutoFillBackground(true);
    const int border = 2 * kBorderWidthPixels;
    setFixedSize(clientSize + QSize(border, border));
}

void BannerView::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    // The picture is the size of the whole window, so its last columns and
    // rows fall outside the inside of the border.
    QPainter painter(this);
    painter.setClipRect(contentsRect());
    painter.drawImage(contentsRect().topLeft(), picture_);
}

} // namespace zentaro::shell
