// The banner picture: four sample reticles under their titles, shown by the
// main window's client area and by the banner window.
#pragma once

#include <QImage>

namespace zentaro::shell {

/// The picture's size in pixels, whatever the screen's resolution.
inline constexpr int kBannerWidthPixels = 537;
inline constexpr int kBannerHeightPixels = 150;

/// Draws the banner picture (537 x 150 pixels, 24-bit colour).
QImage bannerPicture();

} // namespace zentaro::shell
