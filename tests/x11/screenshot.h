// Pixels of the screen as the X server holds them, for tests only.
#pragma once

#include "x_connection.h"

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRegion>

namespace zentaro::x11test {

/// The root window's pixels in `area` (root coordinates), as RGB32; a null
/// image when the area is not on the screen.
QImage grabScreen(XConnection& x, const QRect& area);

/// The colour of one screen pixel, invalid when it is off the screen.
QColor screenPixel(XConnection& x, QPoint rootPos);

/// The pixels of `where` (image coordinates) in which two images of the
/// same size differ; pixels outside either image count as differing.
QRegion differingPixels(const QImage& a, const QImage& b, const QRegion& where);

} // namespace zentaro::x11test
