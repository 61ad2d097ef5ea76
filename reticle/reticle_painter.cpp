#include "reticle/reticle_painter.h"

#include "platform/qt_bridge.h"

#include <QPainter>
#include <QStringList>

#include <algorithm>

namespace zentaro {
namespace {

/// The bitmap face the designs name; it exists only on the system they were
/// drawn for.
constexpr std::string_view kDesignFace = "MS Sans Serif";

/// The window system's default user-interface font, the usual dialog font.
constexpr FontSpec kDefaultUiFont{kDesignFace, 8.0, false};

/// Sans-serif faces that stand in for the design face, in order of
/// preference: Liberation Sans keeps its metrics close to the classic dialog
/// faces; DejaVu Sans is on nearly every Linux desktop.
QStringList standInFamilies()
{
    return {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")};
}

QStringList familiesFor(std::string_view face)
{
    QStringList families;
    if (!face.empty() && face != kDesignFace) {
        families.append(QString::fromUtf8(face.data(), static_cast<qsizetype>(face.size())));
    }
    families.append(standInFamilies());
    return families;
}

QRect pixelRect(const DesignElement& element, double dpi)
{
    return platform::toQRect(snapToPixels(element.pixelBox(dpi)));
}

/// Outline of `box`, `width` pixels wide, drawn as four filled runs so that
/// no pen geometry can shift or blend a pixel. A box no more than two line
/// widths across is all outline.
void fillOutline(QPainter& painter, const QRect& box, const QColor& colour, int width)
{
    if (box.width() <= 2 * width || box.height() <= 2 * width) {
        painter.fillRect(box, colour);
        return;
    }
    const int innerHeight = box.height() - 2 * width;
    painter.fillRect(QRect(box.left(), box.top(), box.width(), width), colour);
    painter.fillRect(QRect(box.left(), box.bottom() - width + 1, box.width(), width), colour);
    painter.fillRect(QRect(box.left(), box.top() + width, width, innerHeight), colour);
    painter.fillRect(QRect(box.right() - width + 1, box.top() + width, width, innerHeight), colour);
}

/// Whether the centre of pixel (x, y) of a `width` x `height` box lies in
/// the ellipse inscribed in the box's outer edges. Symmetric about both of
/// the box's centre lines, since every term is a multiple of one half.
bool insideInscribedEllipse(int x, int y, int width, int height)
{
    if (x < 0 || y < 0 || x >= width || y >= height) {
        return false;
    }
    const double halfWidth = width / 2.0;
    const double halfHeight = height / 2.0;
    const double dx = (x + 0.5 - halfWidth) / halfWidth;
    const double dy = (y + 0.5 - halfHeight) / halfHeight;
    return dx * dx + dy * dy <= 1.0;
}

/// A ring pixel lies inside the ellipse with a pixel `lineWidth` steps to a
/// side outside it: a ring `lineWidth` pixels thick that touches all four
/// edges of the box and never leaves it.
bool onInscribedRing(int x, int y, int width, int height, int lineWidth)
{
    return insideInscribedEllipse(x, y, width, height) &&
           (!insideInscribedEllipse(x - lineWidth, y, width, height) ||
            !insideInscribedEllipse(x + lineWidth, y, width, height) ||
            !insideInscribedEllipse(x, y - lineWidth, width, height) ||
            !insideInscribedEllipse(x, y + lineWidth, width, height));
}

/// The ring inscribed in `box`, filled run by run along each row.
void fillInscribedRing(QPainter& painter, const QRect& box, const QColor& colour, int lineWidth)
{
    for (int y = 0; y < box.height(); ++y) {
        int x = 0;
        while (x < box.width()) {
            if (!onInscribedRing(x, y, box.width(), box.height(), lineWidth)) {
                ++x;
                continue;
            }
            const int runStart = x;
            while (x < box.width() && onInscribedRing(x, y, box.width(), box.height(), lineWidth)) {
                ++x;
            }
            painter.fillRect(QRect(box.left() + runStart, box.top() + y, x - runStart, 1), colour);
        }
    }
}

int alignmentFlags(LabelAlignment alignment)
{
    const int horizontal = alignment == LabelAlignment::Centre ? Qt::AlignHCenter : Qt::AlignLeft;
    return horizontal | Qt::AlignTop | Qt::TextWordWrap;
}

/// The caption in `area`, from its top edge; nothing leaves the area.
void drawCaption(QPainter& painter, const QRect& area, const QString& caption,
                 const LabelLook& look, double dpi)
{
    if (caption.isEmpty() || area.isEmpty()) {
        return;
    }
    painter.setClipRect(area, Qt::IntersectClip);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setFont(labelFont(look, dpi));
    painter.setPen(platform::toQColor(look.foreColour));
    painter.drawText(area, alignmentFlags(look.alignment), caption);
}

} // namespace

int deviceLineWidth(double devicePixelRatio)
{
    return std::max(1, roundToInt(devicePixelRatio));
}

PaintOptions deviceOptions(const PaintOptions& options, double devicePixelRatio)
{
    PaintOptions scaled = options;
    scaled.dpi = options.dpi * devicePixelRatio;
    scaled.lineWidthPixels = options.lineWidthPixels * deviceLineWidth(devicePixelRatio);
    return scaled;
}

void paintDesign(QPainter& painter, const ReticleDesign& design, const PaintOptions& options)
{
    painter.fillRect(painter.window(), platform::toQColor(design.background));
    const qreal ratio = painter.device() != nullptr ? painter.device()->devicePixelRatioF() : 1.0;
    if (ratio != 1.0) {
        // Logical coordinates would land between device pixels at 150 %:
        // draw the design in device pixels and lay the image on them 1:1.
        QImage image = renderDesign(design, deviceOptions(options, ratio));
        image.setDevicePixelRatio(ratio);
        painter.drawImage(QPointF(0, 0), image);
        return;
    }
    // Last to first: an element earlier in the list covers a later one.
    for (auto it = design.elements.rbegin(); it != design.elements.rend(); ++it) {
        drawElement(painter, design, *it, options);
    }
}

void drawElement(QPainter& painter, const ReticleDesign& design, const DesignElement& element,
                 const PaintOptions& options)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    switch (element.kind) {
    case ElementKind::Bar:
        drawBar(painter, design, element, options.dpi);
        break;
    case ElementKind::Stroke:
        drawStroke(painter, element, options.dpi, options.lineWidthPixels);
        break;
    case ElementKind::TextLabel:
        drawLabel(painter, element, labelCaption(element, options), options.dpi,
                  options.lineWidthPixels);
        break;
    }
    painter.restore();
}

void drawBar(QPainter& painter, const ReticleDesign& design, const DesignElement& bar, double dpi)
{
    // Each bar shows the one-colour bar picture stretched over its box: the
    // same pixels as filling the box with the picture's colour.
    if (!barShowsPicture(bar)) {
        return;
    }
    painter.fillRect(pixelRect(bar, dpi), platform::toQColor(design.barColour));
}

void drawStroke(QPainter& painter, const DesignElement& stroke, double dpi, int lineWidth)
{
    const QRect box = pixelRect(stroke, dpi);
    if (box.isEmpty()) {
        return;
    }
    const QColor colour = platform::toQColor(stroke.strokeColour);
    if (stroke.shape == StrokeShape::Circle) {
        fillInscribedRing(painter, box, colour, lineWidth);
    } else {
        fillOutline(painter, box, colour, lineWidth);
    }
}

void drawLabel(QPainter& painter, const DesignElement& label, const QString& caption, double dpi,
               int lineWidth)
{
    const QRect box = pixelRect(label, dpi);
    if (box.isEmpty()) {
        return;
    }
    const LabelLook& look = label.look;
    painter.save();
    if (look.background == LabelBackground::Opaque) {
        painter.fillRect(box, platform::toQColor(look.backColour));
    }
    QRect textArea = box;
    if (look.border == LabelBorder::Single) {
        // The design stores no border colour: the border takes the text's.
        fillOutline(painter, box, platform::toQColor(look.foreColour), lineWidth);
        textArea = box.adjusted(lineWidth, lineWidth, -lineWidth, -lineWidth);
    }
    drawCaption(painter, textArea, caption, look, dpi);
    painter.restore();
}

QString labelCaption(const DesignElement& label, const PaintOptions& options)
{
    if (label.is("Label1")) {
        return options.toggleCaption;
    }
    const std::string_view stored = label.caption.view();
    return QString::fromUtf8(stored.data(), static_cast<qsizetype>(stored.size()));
}

QFont labelFont(const LabelLook& look, double dpi)
{
    const FontSpec spec = look.font.value_or(kDefaultUiFont);
    QFont font;
    font.setFamilies(familiesFor(spec.face));
    font.setStyleHint(QFont::SansSerif);
    // Pixel sizes, not point sizes: an image's own resolution (72 dpi for a
    // fresh QImage) must not change the text's size.
    font.setPixelSize(std::max(1, pointsToPixels(spec.points, dpi)));
    font.setWeight(spec.bold ? QFont::Bold : QFont::Normal);
    return font;
}

QImage renderDesign(const ReticleDesign& design, const PaintOptions& options)
{
    const int width = roundToInt(design.clientWidthPixels(options.dpi));
    const int height = roundToInt(design.clientHeightPixels(options.dpi));
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    paintDesign(painter, design, options);
    painter.end();
    return image;
}

} // namespace zentaro
