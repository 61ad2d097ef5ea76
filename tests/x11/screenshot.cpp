#include "screenshot.h"

#include <bit>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace zentaro::x11test {
namespace {

/// The 8-bit channel that `mask` selects from `pixel`.
int channel(unsigned long pixel, unsigned long mask)
{
    if (mask == 0) {
        return 0;
    }
    const int shift = std::countr_zero(mask);
    const unsigned long maximum = mask >> shift;
    return static_cast<int>(((pixel & mask) >> shift) * 255 / maximum);
}

} // namespace

QImage grabScreen(XConnection& x, const QRect& area)
{
    const QRect screen(0, 0, x.screenWidth(), x.screenHeight());
    if (area.isEmpty() || !screen.contains(area)) {
        return {};
    }
    XImage* image = XGetImage(x.display(), x.root(), area.x(), area.y(),
                              static_cast<unsigned int>(area.width()),
                              static_cast<unsigned int>(area.height()), AllPlanes, ZPixmap);
    if (x.sync() != 0 || image == nullptr) {
        return {};
    }
    QImage result(area.size(), QImage::Format_RGB32);
    for (int row = 0; row < area.height(); ++row) {
        for (int column = 0; column < area.width(); ++column) {
            const unsigned long pixel = XGetPixel(image, column, row);
            result.setPixel(column, row,
                            qRgb(channel(pixel, image->red_mask), channel(pixel, image->green_mask),
                                 channel(pixel, image->blue_mask)));
        }
    }
    XDestroyImage(image);
    return result;
}

QColor screenPixel(XConnection& x, QPoint rootPos)
{
    const QImage image = grabScreen(x, QRect(rootPos, QSize(1, 1)));
    return image.isNull() ? QColor() : QColor(image.pixel(0, 0));
}

QRegion differingPixels(const QImage& a, const QImage& b, const QRegion& where)
{
    const QRect common = a.rect() & b.rect();
    QRegion result = where.subtracted(common);
    for (const QRect& rect : where.intersected(common)) {
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            for (int x = rect.left(); x <= rect.right(); ++x) {
                if (a.pixel(x, y) != b.pixel(x, y)) {
                    result += QRect(x, y, 1, 1);
                }
            }
        }
    }
    return result;
}

} // namespace zentaro::x11test
