// X11 requests on a top-level window that Qt does not offer: the window
// manager states, the client rectangle as the X server has it, the hints
// compositors read about shadows, and activation with the user's time.
//
// Every function does nothing (or answers std::nullopt / false) where the
// program does not run on X11, or the window has no native window yet.
#pragma once

#include "platform/frame_change.h"

#include <QRect>

#include <cstdint>

#include <optional>

class QWidget;

namespace zentaro::platform::x11 {

/// Whether the program runs on an X server (X11 or XWayland).
bool onX11();

/// Whether a window manager announces itself (_NET_SUPPORTING_WM_CHECK).
bool windowManagerRunning();

/// The window's _NET_WM_STATE as the window manager has set it.
std::optional<WmStates> wmStates(const QWidget& window);

/// Asks the window manager to add or remove the maximised states.
void requestMaximized(const QWidget& window, bool maximized);

/// The client area's rectangle on the root window, in device pixels, as the
/// X server has it now (a round trip).
std::optional<QRect> clientRect(const QWidget& window);

/// Asks for the client area to be at `deviceRect` (root coordinates, device
/// pixels). Qt's client windows carry the static window gravity, so window
/// managers read the position as the client's own, not the frame's.
void requestClientRect(const QWidget& window, QRect deviceRect);

/// Sets (or removes) the hints that keep compositors from drawing a shadow
/// around the window: _GTK_FRAME_EXTENTS of 0 (Mutter, xfwm4 and picom's
/// usual configurations leave such client-decorated windows unshadowed) on
/// the client, and _COMPTON_SHADOW of 0 on the window's outermost ancestor
/// (picom reads it from the window manager's frame).
void setUnshadowed(const QWidget& window, bool unshadowed);

/// What an X event means for a frame change of `window`.
enum class FrameEvent
{
    None,
    Configured, ///< the client's rectangle changed
    Answered,   ///< the window manager reparented the client or set its frame extents
};
/// The atom of _NET_FRAME_EXTENTS, for classifyEvent (0 off X11).
std::uint32_t frameExtentsAtom();
/// `xcbEvent` is an xcb_generic_event_t from Qt's native event filter.
FrameEvent classifyEvent(const QWidget& window, const void* xcbEvent, std::uint32_t extentsAtom);
/// The client rectangle (root coordinates, device pixels) that the window
/// manager says it gave `window`, when `xcbEvent` is its synthetic
/// ConfigureNotify to the window (ICCCM 4.1.5); std::nullopt for any other
/// event, a real ConfigureNotify among them (its position is relative to
/// the frame).
std::optional<QRect> reportedClientRect(const QWidget& window, const void* xcbEvent);

} // namespace zentaro::platform::x11
