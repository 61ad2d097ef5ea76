// Conversions between the Qt-free design model and Qt's types.
#pragma once

#include "designs/colour.h"
#include "designs/units.h"

#include <QColor>
#include <QIcon>
#include <QImage>
#include <QRect>
#include <QString>

#include <string_view>

namespace zentaro::platform {

/// The window system's colour number nn (5 window, 15 button face,
/// 18 button text), taken from the application's palette.
QColor systemColour(int number);

/// A colour value of either form as a QColor; system colours are resolved now.
QColor toQColor(ColourValue colour);

/// UTF-8 text of the design tables (names, captions) as a QString.
inline QString toQString(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

/// An integer rectangle (exclusive right and bottom) as a QRect.
constexpr QRect toQRect(const IntRect& rect)
{
    return QRect(rect.left, rect.top, rect.width(), rect.height());
}

/// The common 32 x 32 icon as an image.
QImage commonIconImage();
/// The common icon as a window icon: built once per application object and shared by every
/// window after it (a new one each call when no application exists).
QIcon commonIcon();

} // namespace zentaro::platform
