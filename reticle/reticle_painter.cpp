#include "reticle/reticle_painter.h"

#include <QPainter>

namespace zentaro {

// TODO(painter)
void paintDesign(QPainter&, const ReticleDesign&, const PaintOptions&) {}
void drawElement(QPainter&, const ReticleDesign&, const DesignElement&, const PaintOptions&) {}
QFont labelFont(const LabelLook&, double) { return {}; }
QImage renderDesign(const ReticleDesign&, const PaintOptions&) { return {}; }

} // namespace zentaro
