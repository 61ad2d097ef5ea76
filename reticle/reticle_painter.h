// Paints a reticle design: its background, then its elements from the last
// to the first, so that an element earlier in the list covers a later one.
//
// Coordinates are the client area's, in pixels at `dpi`. Each element covers
// the whole pixels snapToPixels() gives for its box, the same pixels the
// transparent region keeps. Bars and strokes are painted without
// antialiasing, so every one of their pixels is exactly in its colour; only
// label text may be antialiased, and it is clipped to its label's box.
#pragma once

#include "designs/design.h"

#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>

class QPainter;

namespace zentaro {

struct PaintOptions
{
    /// Logical resolution the twips convert at.
    double dpi = kReferenceDpi;
    /// The toggle label's current caption.
    QString toggleCaption = QString::fromUtf8(kToggleToTransparent.data(),
                                              static_cast<qsizetype>(kToggleToTransparent.size()));
    /// Width of outlines and rings, in pixels of the target.
    int lineWidthPixels = 1;
};

/// The pixels one logical pixel of line width takes on a device with this
/// device pixel ratio: 1 at 100 % and 125 %, 2 at 150 % and 200 %.
int deviceLineWidth(double devicePixelRatio);

/// `options` for painting directly in device pixels of a device with this
/// device pixel ratio: dpi and line width scaled.
PaintOptions deviceOptions(const PaintOptions& options, double devicePixelRatio);

/// The device pixels `element` covers when its design is painted at `dpi`
/// on a device with this device pixel ratio: its box at `dpi` times the
/// ratio, each edge rounded by itself (snapToPixels). The painter places
/// every element on exactly these pixels, and the window's hit test reads
/// the same boxes, so what takes the mouse is what is drawn.
QRect elementDeviceRect(const DesignElement& element, double dpi, double devicePixelRatio = 1.0);

/// Background and every element of `design`. The background fills the
/// painter's whole window, so a client area larger than the design's shows
/// more background. On a device with a device pixel ratio other than 1 the
/// design is drawn in device pixels (see deviceOptions()), so every bar and
/// stroke stays crisp and covers exactly the device pixels of its snapped box.
void paintDesign(QPainter& painter, const ReticleDesign& design, const PaintOptions& options);

/// One element, as the design's window shows it after load.
void drawElement(QPainter& painter, const ReticleDesign& design, const DesignElement& element,
                 const PaintOptions& options);

/// A bar: its box filled with the design's bar colour. A bar that never gets
/// the bar picture (beyond `img(6)`) paints nothing.
void drawBar(QPainter& painter, const ReticleDesign& design, const DesignElement& bar, double dpi);

/// A stroke: an outline of its box (rectangle) or the ring inscribed in its
/// box (circle), `lineWidth` pixels wide, in its colour; the inside is not
/// painted.
void drawStroke(QPainter& painter, const DesignElement& stroke, double dpi, int lineWidth = 1);

/// A text label showing `caption`: back colour when opaque, the caption from
/// the box's top edge, word-wrapped and clipped to the box, and the one-pixel
/// border (in the text colour) when it has one.
void drawLabel(QPainter& painter, const DesignElement& label, const QString& caption, double dpi,
               int lineWidth = 1);

/// The caption a label shows: the toggle label `Label1` shows the run-time
/// caption of `options`, every other label its stored caption.
QString labelCaption(const DesignElement& label, const PaintOptions& options);

/// The font a label is drawn in at `dpi`: its own size and weight in a
/// sans-serif face the machine has ("MS Sans Serif" is not available outside
/// the system the designs were drawn for), or the default user-interface
/// font (8 points, regular) when it stores none.
QFont labelFont(const LabelLook& look, double dpi);

/// The design painted into an image (Format_RGB32) of its client size at
/// `options.dpi`: round(client twips * dpi / 1440) pixels each way.
QImage renderDesign(const ReticleDesign& design, const PaintOptions& options = {});

} // namespace zentaro
