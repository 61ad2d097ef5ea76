#include "platform/qt_bridge.h"

#include "designs/icon.h"

#include <QGuiApplication>
#include <QPalette>

namespace zentaro::platform {

QColor systemColour(int number)
{
    const QPalette palette = QGuiApplication::palette();
    switch (number) {
    case 5: // window background
        return palette.color(QPalette::Active, QPalette::Base);
    case 15: // button face
        return palette.color(QPalette::Active, QPalette::Button);
    case 18: // button text
        return palette.color(QPalette::Active, QPalette::ButtonText);
    default:
        return palette.color(QPalette::Active, QPalette::Window);
    }
}

QColor toQColor(ColourValue colour)
{
    if (colour.isSystem()) {
        return systemColour(colour.systemIndex());
    }
    return QColor(colour.red(), colour.green(), colour.blue());
}

QImage commonIconImage()
{
    constexpr auto kPixels = icon::pixels();
    QImage image(icon::kSizePixels, icon::kSizePixels, QImage::Format_RGB32);
    for (int y = 0; y < icon::kSizePixels; ++y) {
        for (int x = 0; x < icon::kSizePixels; ++x) {
            image.setPixelColor(
                x, y, toQColor(kPixels[static_cast<std::size_t>(y * icon::kSizePixels + x)]));
        }
    }
    return image;
}

QIcon commonIcon()
{
    return QIcon(QPixmap::fromImage(commonIconImage()));
}

} // namespace zentaro::platform
