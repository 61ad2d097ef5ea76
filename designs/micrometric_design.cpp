// CroceRossaMicrometrica: a red cross centred on pixel (248, 176) whose four
// arms carry six ticks each at a pitch of 8 pixels (120 twips); tick 4 of
// every arm is long, and the four ticks next to the centre close into a
// square. Ticks 1 and 2 of the upper and lower arms are bars, the other
// twenty ticks red strokes. Elements in stacking order, topmost first.
#include "designs/designs.h"

#include <array>

namespace zentaro::designs {
namespace {

using colours::kRedStroke;

constexpr int kStripLeft = 3000;

constexpr std::array kElements = {
    stroke("Shape20", 3000, 2520, 15, 255, kRedStroke), // left arm, tick 6
    stroke("Shape19", 4440, 2520, 15, 255, kRedStroke), // right arm, tick 6
    stroke("Shape18", 3120, 2520, 15, 255, kRedStroke), // left arm, tick 5
    stroke("Shape17", 4320, 2520, 15, 255, kRedStroke), // right arm, tick 5
    stroke("Shape16", 3600, 1920, 255, 15, kRedStroke), // upper arm, tick 6
    stroke("Shape15", 3600, 2040, 255, 15, kRedStroke), // upper arm, tick 5
    stroke("Shape14", 3240, 2400, 15, 495, kRedStroke), // left arm, tick 4, long
    stroke("Shape13", 4200, 2400, 15, 495, kRedStroke), // right arm, tick 4, long
    stroke("Shape12", 3360, 2520, 15, 255, kRedStroke), // left arm, tick 3
    stroke("Shape11", 4080, 2520, 15, 255, kRedStroke), // right arm, tick 3
    stroke("Shape10", 3480, 2520, 15, 255, kRedStroke), // left arm, tick 2
    stroke("Shape9", 3960, 2520, 15, 255, kRedStroke),  // right arm, tick 2
    stroke("Shape8", 3600, 2520, 15, 255, kRedStroke),  // left arm, tick 1
    stroke("Shape7", 3840, 2520, 15, 255, kRedStroke),  // right arm, tick 1
    stroke("Shape6", 3480, 2160, 495, 15, kRedStroke),  // upper arm, tick 4, long
    stroke("Shape5", 3600, 3360, 255, 15, kRedStroke),  // lower arm, tick 6
    stroke("Shape4", 3600, 3240, 255, 15, kRedStroke),  // lower arm, tick 5
    stroke("Shape3", 3480, 3120, 495, 15, kRedStroke),  // lower arm, tick 4, long
    stroke("Shape2", 3600, 2280, 255, 15, kRedStroke),  // upper arm, tick 3
    stroke("Shape1", 3600, 3000, 255, 15, kRedStroke),  // lower arm, tick 3
    closeLabel(kStripLeft),
    bar(6, 2160, 2640, 3015, 15), // horizontal axis
    bar(5, 3720, 1320, 15, 2775), // vertical axis
    bar(4, 3600, 2400, 255, 15),  // upper arm, tick 2
    bar(3, 3600, 2880, 255, 15),  // lower arm, tick 2
    bar(2, 3600, 2760, 255, 15),  // lower arm, tick 1
    // Upper arm, tick 1. 250 twips is not a whole number of pixels; it rounds
    // to the same 17 pixels as the other bar ticks.
    bar(1, 3600, 2520, 250, 15),
    bar(0, 3000, 0, 1095, 255), // the whole bar block of the title strip
    toggleLabel(kStripLeft),
};

constexpr ReticleDesign kCroceRossaMicrometrica{
    .designName = "CroceRossaMicrometrica",
    .windowName = "Form6",
    .caption = "CroceRossaMicrometrica",
    .clientWidthTwips = 7245,
    .clientHeightTwips = 5820,
    .background = colours::kReticleBackground,
    .barColour = colours::kRedBar,
    .stripLeftTwips = kStripLeft,
    .elements = kElements,
};

} // namespace

const ReticleDesign& croceRossaMicrometrica()
{
    return kCroceRossaMicrometrica;
}

} // namespace zentaro::designs
