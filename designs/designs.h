// The eight reticle designs, as constant tables.
#pragma once

#include "designs/design.h"

#include <span>
#include <string_view>

namespace zentaro::designs {

const ReticleDesign& standardBianco();         // Form3
const ReticleDesign& standardRossoFine();      // Form4
const ReticleDesign& croceRossa();             // Form5
const ReticleDesign& croceRossaMicrometrica(); // Form6
const ReticleDesign& campoCcd();               // Form7
const ReticleDesign& punto();                  // Form8
const ReticleDesign& standardRosso();          // Form2, the grid
const ReticleDesign& centratore();             // Form10, the centring scale

/// All eight designs, in window-name order (Form2 .. Form8, Form10).
std::span<const ReticleDesign* const> all();

/// The design shown by the window `windowName`, or nullptr when no design has
/// that window name.
const ReticleDesign* findByWindowName(std::string_view windowName);

} // namespace zentaro::designs
