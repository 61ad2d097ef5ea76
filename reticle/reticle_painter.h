// Paints a reticle design: its background, then its elements from the last
// to the first, so that an element earlier in the list covers a later one.
//
// Coordinates are the client area's, in pixels at `dpi`. Each element covers
// the whole pixels snapToPixels() gives for its box, the same pixels the
// transparent region keeps.
#pragma once

#include "designs/design.h"

#include <QFont>
#include <QImage>
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
};

/// Background and every element of `design`.
void paintDesign(QPainter& painter, const ReticleDesign& design, const PaintOptions& options);

/// One element, as the design's window shows it after load.
void drawElement(QPainter& painter, const ReticleDesign& design, const DesignElement& element,
                 const PaintOptions& options);

/// The font a label is drawn in at `dpi`: its own face, size and weight, or
/// the default user-interface font.
QFont labelFont(const LabelLook& look, double dpi);

/// The design painted into an image of its client size at `options.dpi`.
QImage renderDesign(const ReticleDesign& design, const PaintOptions& options = {});

} // namespace zentaro
