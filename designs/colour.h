// Colour values as the designs store them.
//
// A colour is a 32-bit value of one of two forms:
//  - 0x00BBGGRR: an RGB colour, red in the lowest byte;
//  - 0x800000nn: the window system's colour number nn, resolved when painting.
#pragma once

#include <cstdint>

namespace zentaro {

struct ColourValue
{
    std::uint32_t raw = 0;

    constexpr bool isSystem() const { return (raw & 0x80000000u) != 0; }
    /// The system colour number nn of a 0x800000nn value.
    constexpr int systemIndex() const { return static_cast<int>(raw & 0xFFu); }
    constexpr int red() const { return static_cast<int>(raw & 0xFFu); }
    constexpr int green() const { return static_cast<int>((raw >> 8) & 0xFFu); }
    constexpr int blue() const { return static_cast<int>((raw >> 16) & 0xFFu); }

    friend constexpr bool operator==(ColourValue, ColourValue) = default;
};

namespace colours {
// The program's one dark red background (64, 0, 0): the reticle windows, the
// main window's client area and the banner behind its picture.
inline constexpr ColourValue kDarkRedBackground{0x00000040};

// RGB colours of the reticles (0x00BBGGRR).
inline constexpr ColourValue kReticleBackground = kDarkRedBackground;
inline constexpr ColourValue kRedBar{0x000707FA};        // 250, 7, 7
inline constexpr ColourValue kWhiteBar{0x00F7F7FB};      // 251, 247, 247
inline constexpr ColourValue kRedStroke{0x000000FF};     // 255, 0, 0
inline constexpr ColourValue kWhiteStroke{0x00FFFFFF};   // 255, 255, 255
inline constexpr ColourValue kGridScaleText{0x000000C0}; // 192, 0, 0
inline constexpr ColourValue kBlack{0x00000000};
// System colours, by the window system's colour number.
inline constexpr ColourValue kSystemWindow{0x80000005};
inline constexpr ColourValue kSystemButtonFace{0x8000000F};
inline constexpr ColourValue kSystemButtonText{0x80000012};
} // namespace colours

} // namespace zentaro
