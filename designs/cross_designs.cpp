// The five cross designs: StandardBianco, StandardRossoFine, CroceRossa,
// CampoCCD and Punto. Each table lists every element in stacking order,
// topmost first; boxes in twips (15 twips = 1 pixel at 96 dpi).
#include "designs/designs.h"

#include <array>

namespace zentaro::designs {
namespace {

using colours::kRedStroke;
using colours::kWhiteStroke;

// StandardBianco: a cross of two hollow bars in near-white, centred on pixel
// (248, 176). The bars (0x00F7F7FB) draw the long sides, the strokes
// (0x00FFFFFF) the short sides.
constexpr int kStandardBiancoStrip = 3000;
constexpr std::array kStandardBiancoElements = {
    stroke("Shape4", 2280, 2520, 15, 255, kWhiteStroke),
    stroke("Shape3", 5160, 2520, 15, 255, kWhiteStroke),
    stroke("Shape2", 3600, 1320, 255, 15, kWhiteStroke),
    stroke("Shape1", 3600, 4080, 255, 15, kWhiteStroke),
    closeLabel(kStandardBiancoStrip),
    bar(1, 2280, 2760, 2895, 15),
    bar(6, 2280, 2520, 2895, 15),
    bar(5, 3840, 1320, 15, 2775),
    bar(4, 3600, 1320, 15, 2775),
    bar(2, 3000, 0, 375, 255),
    bar(3, 3000, 0, 375, 255),
    bar(0, 3360, 0, 735, 255),
    toggleLabel(kStandardBiancoStrip),
};

constexpr ReticleDesign kStandardBianco{
    .designName = "StandardBianco",
    .windowName = "Form3",
    .caption = "StandardBianco",
    .clientWidthTwips = 7440,
    .clientHeightTwips = 5925,
    .background = colours::kReticleBackground,
    .barColour = colours::kWhiteBar,
    .stripLeftTwips = kStandardBiancoStrip,
    .elements = kStandardBiancoElements,
};

// StandardRossoFine: the same figure in red with narrower hollow bars,
// centred on pixel (228, 164). The short sides are 8 pixels (120 twips) long:
// the long bars img(1) and img(5) paint the remaining corner pixels.
constexpr int kStandardRossoFineStrip = 2760;
constexpr std::array kStandardRossoFineElements = {
    stroke("Shape4", 3360, 3960, 120, 15, kRedStroke),
    stroke("Shape3", 3360, 1200, 120, 15, kRedStroke),
    stroke("Shape2", 1920, 2400, 15, 120, kRedStroke),
    stroke("Shape1", 4920, 2400, 15, 120, kRedStroke),
    bar(1, 1920, 2520, 3015, 15),
    bar(6, 1920, 2400, 3015, 15),
    bar(4, 3360, 1200, 15, 2775),
    bar(5, 3480, 1200, 15, 2775),
    closeLabel(kStandardRossoFineStrip),
    bar(2, 2760, 0, 375, 255),
    bar(3, 2760, 0, 375, 255),
    bar(0, 3120, 0, 735, 255),
    toggleLabel(kStandardRossoFineStrip),
};

constexpr ReticleDesign kStandardRossoFine{
    .designName = "StandardRossoFine",
    .windowName = "Form4",
    .caption = "StandardRossoFine",
    .clientWidthTwips = 7410,
    .clientHeightTwips = 5880,
    .background = colours::kReticleBackground,
    .barColour = colours::kRedBar,
    .stripLeftTwips = kStandardRossoFineStrip,
    .elements = kStandardRossoFineElements,
};

// CroceRossa: a plain cross of two one-pixel bars, img(6) horizontal and
// img(5) vertical, centred on pixel (240, 176). img(1) and img(4) belong to
// the title strip's bar block, which is made of five bars here.
constexpr int kCroceRossaStrip = 2880;
constexpr std::array kCroceRossaElements = {
    bar(1, 3120, 0, 855, 255),    bar(6, 2160, 2640, 2895, 15), bar(4, 2880, 0, 975, 255),
    bar(5, 3600, 1320, 15, 2775), closeLabel(kCroceRossaStrip), bar(3, 2880, 0, 375, 255),
    bar(2, 2880, 0, 375, 255),    bar(0, 3240, 0, 735, 255),    toggleLabel(kCroceRossaStrip),
};

constexpr ReticleDesign kCroceRossa{
    .designName = "CroceRossa",
    .windowName = "Form5",
    .caption = "CroceRossa",
    .clientWidthTwips = 7380,
    .clientHeightTwips = 5835,
    .background = colours::kReticleBackground,
    .barColour = colours::kRedBar,
    .stripLeftTwips = kCroceRossaStrip,
    .elements = kCroceRossaElements,
};

// CampoCCD: three concentric figures centred on pixel (252, 196): an outer
// frame of strokes, an inner frame of bars and a small centre square of four
// 8-pixel (120-twip) strokes, whose lower-right corner pixel stays unpainted.
constexpr int kCampoCcdStrip = 3000;
constexpr std::array kCampoCcdElements = {
    stroke("Shape8", 960, 1080, 5655, 15, kRedStroke),
    stroke("Shape7", 960, 4800, 5655, 15, kRedStroke),
    stroke("Shape6", 960, 1080, 15, 3735, kRedStroke),
    stroke("Shape5", 6600, 1080, 15, 3735, kRedStroke),
    stroke("Shape4", 3720, 2880, 15, 120, kRedStroke),
    stroke("Shape3", 3840, 2880, 15, 120, kRedStroke),
    stroke("Shape2", 3720, 3000, 120, 15, kRedStroke),
    stroke("Shape1", 3720, 2880, 120, 15, kRedStroke),
    closeLabel(kCampoCcdStrip),
    bar(1, 2280, 3840, 3015, 15),
    bar(6, 2280, 2040, 3015, 15),
    bar(4, 2280, 2040, 15, 1815),
    bar(5, 5280, 2040, 15, 1815),
    bar(3, 3000, 0, 375, 255),
    bar(2, 3000, 0, 375, 255),
    bar(0, 3360, 0, 735, 255),
    toggleLabel(kCampoCcdStrip),
};

constexpr ReticleDesign kCampoCcd{
    .designName = "CampoCCD",
    .windowName = "Form7",
    .caption = "CampoCCD",
    .clientWidthTwips = 7485,
    .clientHeightTwips = 5925,
    .background = colours::kReticleBackground,
    .barColour = colours::kRedBar,
    .stripLeftTwips = kCampoCcdStrip,
    .elements = kCampoCcdElements,
};

// Punto: a hollow 9-pixel ring centred on pixel (244, 196) with four solid
// bars around it. Here both strip labels lie above the strip's bars.
constexpr int kPuntoStrip = 3000;
constexpr std::array kPuntoElements = {
    stroke("Shape1", 3600, 2880, 135, 135, kRedStroke, StrokeShape::Circle),
    bar(1, 2400, 2880, 735, 135),
    bar(6, 4200, 2880, 735, 135),
    bar(4, 3600, 1920, 135, 615),
    bar(5, 3600, 3360, 135, 615),
    toggleLabel(kPuntoStrip),
    closeLabel(kPuntoStrip),
    bar(3, 3000, 0, 375, 255),
    bar(2, 3000, 0, 375, 255),
    bar(0, 3360, 0, 735, 255),
};

constexpr ReticleDesign kPunto{
    .designName = "Punto",
    .windowName = "Form8",
    .caption = "Punto",
    .clientWidthTwips = 7380,
    .clientHeightTwips = 5865,
    .background = colours::kReticleBackground,
    .barColour = colours::kRedBar,
    .stripLeftTwips = kPuntoStrip,
    .elements = kPuntoElements,
};

} // namespace

const ReticleDesign& standardBianco()
{
    return kStandardBianco;
}
const ReticleDesign& standardRossoFine()
{
    return kStandardRossoFine;
}
const ReticleDesign& croceRossa()
{
    return kCroceRossa;
}
const ReticleDesign& campoCcd()
{
    return kCampoCcd;
}
const ReticleDesign& punto()
{
    return kPunto;
}

} // namespace zentaro::designs
