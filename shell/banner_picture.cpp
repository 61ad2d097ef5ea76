#include "shell/banner_picture.h"

#include "designs/colour.h"
#include "platform/qt_bridge.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <array>
#include <string_view>

namespace zentaro::shell {
namespace {

// Everything below is in pixel columns and rows of the picture, counted from
// its top-left pixel; every span includes both ends.

constexpr ColourValue kBackground{0x0001015B}; // red 91, green 1, blue 1
constexpr ColourValue kInk{0x000404FC};        // red 252, green 4, blue 4

enum class FigureKind
{
    Outline,
    Filled
};

/// One part of a sample reticle: a one-pixel outline of the span's
/// rectangle, or the filled rectangle (a line when one pixel thick).
struct FigurePart
{
    FigureKind kind;
    int firstColumn;
    int lastColumn;
    int firstRow;
    int lastRow;
};

struct Title
{
    std::string_view text;
    /// The columns the title's ink spans.
    int firstColumn;
    int lastColumn;
};

// The titles' face: a Times-like serif at 24 pixels, unhinted, puts the
// capitals about 16 pixels tall (rows 9 to 24) on the baseline below row 24;
// hinting would snap them to 15. Qt draws text with the ink above the
// baseline's y, hence 25.
constexpr std::string_view kTitleFace = "Liberation Serif";
constexpr int kTitlePixelSize = 24;
constexpr int kTitleBaselineRow = 25;

constexpr std::array<Title, 4> kTitles = {{
    {"Standard", 18, 102},
    {"Croce", 173, 229},
    {"Campo CCD", 288, 411},
    {"Punto", 468, 523},
}};

constexpr std::array<FigurePart, 11> kFigureParts = {{
    // "Standard": a cross of two hollow bars, each outline complete.
    {FigureKind::Outline, 58, 75, 39, 139},
    {FigureKind::Outline, 11, 121, 76, 91},
    // "Croce": a thin cross, its vertical line two pixels wide.
    {FigureKind::Filled, 149, 256, 82, 82},
    {FigureKind::Filled, 202, 203, 40, 133},
    // "Campo CCD": a frame with a smaller frame inside it.
    {FigureKind::Outline, 300, 400, 40, 97},
    {FigureKind::Outline, 333, 368, 57, 77},
    // "Punto": a dot and four short lines around it that do not touch it.
    {FigureKind::Filled, 491, 495, 74, 79},
    {FigureKind::Filled, 461, 476, 77, 77},
    {FigureKind::Filled, 508, 523, 77, 77},
    {FigureKind::Filled, 493, 493, 48, 64},
    {FigureKind::Filled, 493, 493, 89, 105},
}};

QRect spanRect(int firstColumn, int lastColumn, int firstRow, int lastRow)
{
    return QRect(QPoint(firstColumn, firstRow), QPoint(lastColumn, lastRow));
}

void drawFigurePart(QPainter& painter, const FigurePart& part, const QColor& ink)
{
    const QRect box = spanRect(part.firstColumn, part.lastColumn, part.firstRow, part.lastRow);
    if (part.kind == FigureKind::Filled) {
        painter.fillRect(box, ink);
        return;
    }
    painter.fillRect(spanRect(box.left(), box.right(), box.top(), box.top()), ink);
    painter.fillRect(spanRect(box.left(), box.right(), box.bottom(), box.bottom()), ink);
    painter.fillRect(spanRect(box.left(), box.left(), box.top(), box.bottom()), ink);
    painter.fillRect(spanRect(box.right(), box.right(), box.top(), box.bottom()), ink);
}

QFont titleFont()
{
    QFont font(QString::fromUtf8(kTitleFace.data(), static_cast<qsizetype>(kTitleFace.size())));
    font.setStyleHint(QFont::Serif);
    font.setPixelSize(kTitlePixelSize);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

void drawTitle(QPainter& painter, const Title& title)
{
    const QString text =
        QString::fromUtf8(title.text.data(), static_cast<qsizetype>(title.text.size()));
    // Fit the ink, not the advance, to the title's columns. With a Times-like
    // face the ink already has about that width; the horizontal scale only
    // corrects a stand-in face.
    const QRect ink = painter.fontMetrics().tightBoundingRect(text);
    const double wantedWidth = title.lastColumn - title.firstColumn + 1;
    const double scale = ink.width() > 0 ? wantedWidth / ink.width() : 1.0;
    painter.save();
    painter.translate(title.firstColumn, 0);
    painter.scale(scale, 1.0);
    painter.drawText(QPoint(-ink.left(), kTitleBaselineRow), text);
    painter.restore();
}

} // namespace

QImage bannerPicture()
{
    QImage picture(kBannerWidthPixels, kBannerHeightPixels, QImage::Format_RGB32);
    picture.fill(platform::toQColor(kBackground));
    const QColor ink = platform::toQColor(kInk);

    QPainter painter(&picture);
    for (const FigurePart& part : kFigureParts) {
        drawFigurePart(painter, part, ink);
    }
    // Antialiased titles give the softened edges in intermediate reds.
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(titleFont());
    painter.setPen(ink);
    for (const Title& title : kTitles) {
        drawTitle(painter, title);
    }
    return picture;
}

} // namespace zentaro::shell
