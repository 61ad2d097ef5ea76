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
    "StandardBianco",       "Form3",           "StandardBianco",      7440, 5925,
    colours::kReticleBackground, colours::kWhiteBar, kStandardBiancoStrip, kStandardBiancoElements,
};

} // namespace

const ReticleDesign& standardBianco() { return kStandardBianco; }

// TODO(designs): the remaining cross designs.
namespace {
constexpr ReticleDesign kStandardRossoFine{"StandardRossoFine", "Form4", "StandardRossoFine",
                                           7410, 5880, colours::kReticleBackground,
                                           colours::kRedBar, 2760, {}};
constexpr ReticleDesign kCroceRossa{"CroceRossa", "Form5", "CroceRossa", 7380, 5835,
                                    colours::kReticleBackground, colours::kRedBar, 2880, {}};
constexpr ReticleDesign kCampoCcd{"CampoCCD", "Form7", "CampoCCD", 7485, 5925,
                                  colours::kReticleBackground, colours::kRedBar, 3000, {}};
constexpr ReticleDesign kPunto{"Punto", "Form8", "Punto", 7380, 5865,
                               colours::kReticleBackground, colours::kRedBar, 3000, {}};
constexpr ReticleDesign kStandardRosso{"StandardRosso", "Form2", "StandardRosso", 14595, 8370,
                                       colours::kReticleBackground, colours::kRedBar, 6480, {}};
constexpr ReticleDesign kCroceRossaMicrometrica{
    "CroceRossaMicrometrica", "Form6", "CroceRossaMicrometrica", 7245, 5820,
    colours::kReticleBackground, colours::kRedBar, 3000, {}};
constexpr ReticleDesign kCentratore{"Centratore", "Form10", "Centratore", 13935, 9375,
                                    colours::kReticleBackground, colours::kRedBar, 7920, {}};
} // namespace
const ReticleDesign& standardRossoFine() { return kStandardRossoFine; }
const ReticleDesign& croceRossa() { return kCroceRossa; }
const ReticleDesign& campoCcd() { return kCampoCcd; }
const ReticleDesign& punto() { return kPunto; }
const ReticleDesign& standardRosso() { return kStandardRosso; }
const ReticleDesign& croceRossaMicrometrica() { return kCroceRossaMicrometrica; }
const ReticleDesign& centratore() { return kCentratore; }

} // namespace zentaro::designs
