// What the program must know of particular window managers, each answer in
// one place with its reason and where it was seen. Pure: the window
// manager is named by what it announces (_NET_WM_NAME of its
// _NET_SUPPORTING_WM_CHECK window).
#pragma once

#include <string_view>

namespace zentaro::platform {

/// Whether the window manager stacks a window the user keeps above others
/// over a focused full-screen window, so that a frameless reticle can stay
/// managed there. Mutter (and GNOME Shell) and muffin have no full-screen
/// layer, and xfwm4 puts "above" over it (Debian 12 and 13 alike); openbox,
/// KWin, IceWM and marco stack a focused full-screen window over every
/// managed one, and the wlroots compositors ignore "above" from X11 clients:
/// there the reticle leaves the window manager while frameless. Mutter 43
/// and muffin would also draw a shadow around a shaped window that they do
/// not manage (they read no _GTK_FRAME_EXTENTS of it).
bool keepsAboveWindowsOverFullScreen(std::string_view windowManagerName);

} // namespace zentaro::platform
