#include "shell/client_area.h"

#include "designs/colour.h"
#include "platform/qt_bridge.h"

#include <QPaintEvent>
#include <QPainter>

namespace zentaro::shell {

ClientArea::ClientArea(const QImage& picture, QSize clientSize, QWidget* parent)
    : QMdiArea(parent), picture_(picture), clientSize_(clientSize)
{
    setFrameStyle(QFrame::NoFrame);
    // The banner is the area's only child and has no function: scroll bars
    // would only let the user scroll a picture, so a smaller window simply
    // cuts it off.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setBackground(platform::toQColor(colours::kDarkRedBackground));
}

QSize ClientArea::sizeHint() const
{
    return clientSize_;
}

void ClientArea::paintEvent(QPaintEvent* event)
{
    // Once at the top-left on the plain colour; a pixmap brush would tile.
    QPainter painter(viewport());
    painter.fillRect(event->rect(), background());
    painter.drawImage(QPoint(0, 0), picture_);
}

} // namespace zentaro::shell
