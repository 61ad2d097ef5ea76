#include "platform/qt_bridge.h"

#include "designs/icon.h"

#include <QGuiApplication>
#include <QPalette>
#include <QVariant>

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
    // One icon per application object, shared by every window: Qt's pixmap cache keys the
    // icon's scaled forms by the source pixmap, so an icon built anew for each window opened
    // would leave a new set of cached pixmaps behind every time (about 48 KiB per nine windows).
    // Kept on the application rather than in a static so it ends with it.
    constexpr const char* kCommonIconProperty = "zentaroCommonIcon";
    QCoreApplication* const application = QCoreApplication::instance();
    if (application != nullptr) {
        const QVariant held = application->property(kCommonIconProperty);
        if (held.metaType() == QMetaType::fromType<QIcon>()) {
            return held.value<QIcon>();
        }
    }
    const QIcon icon(QPixmap::fromImage(commonIconImage()));
    if (application != nullptr) {
        application->setProperty(kCommonIconProperty, QVariant::fromValue(icon));
    }
    return icon;
}

} // namespace zentaro::platform
