// Renders the program's common icon as a PNG for the desktop's icon theme.
//
// Usage: zentaro_icon_renderer SIZE_PIXELS OUTPUT.png
//
// The icon is pixel art on a 32 x 32 grid: larger sizes repeat each pixel
// (nearest neighbour, no smoothing), so the crosshair stays pure red on pure
// black instead of blurring into dark reds. Needs no display and no
// application object: it only paints into a QImage and writes it out.
#include "platform/qt_bridge.h"

#include <QImage>
#include <QString>

#include <cstdio>
#include <optional>

namespace {

constexpr int kMinSizePixels = 16;
constexpr int kMaxSizePixels = 1024;

std::optional<int> parseSize(const char* text)
{
    bool ok = false;
    const int size = QString::fromLocal8Bit(text).toInt(&ok);
    if (!ok || size < kMinSizePixels || size > kMaxSizePixels) {
        return std::nullopt;
    }
    return size;
}

QImage renderIcon(int sizePixels)
{
    return zentaro::platform::commonIconImage().scaled(
        sizePixels, sizePixels, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s SIZE_PIXELS OUTPUT.png\n", argv[0]);
        return 2;
    }
    const std::optional<int> size = parseSize(argv[1]);
    if (!size) {
        std::fprintf(stderr, "%s: size must be a whole number of pixels from %d to %d\n", argv[0],
                     kMinSizePixels, kMaxSizePixels);
        return 2;
    }
    if (!renderIcon(*size).save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[2]);
        return 1;
    }
    return 0;
}
