// X11 requests on a top-level window that Qt does not offer: the window
// manager states, the client rectangle as the X server has it, the hints
// compositors read about shadows, and activation with the user's time.
//
// Every function does nothing (or answers std::nullopt / false) where the
// program does not run on X11, or the window has no native window yet.
#pragma once

#include "platform/frame_change.h"

#include <QPoint>
#include <QRect>

#include <cstdint>

#include <optional>
#include <string>

class QWidget;

namespace zentaro::platform::x11 {

/// Whether the program runs on an X server (X11 or XWayland).
bool onX11();

/// Whether a window manager announces itself (_NET_SUPPORTING_WM_CHECK).
bool windowManagerRunning();

/// The name the window manager announces (_NET_WM_NAME of its
/// _NET_SUPPORTING_WM_CHECK window), or "" when it announces none.
std::string windowManagerName();

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

/// Writes the window's _NET_WM_STATE with the states that survive its
/// withdrawal and a new map (above, below, on all desktops): for a window
/// the window manager does not manage now, the record it reads at the map.
void writeKeptStates(const QWidget& window, const WmStates& states);

/// Asks the window manager to add the kept states (above, below, on all
/// desktops) to the window's, as the user's menu would.
void requestKeptStates(const QWidget& window, const WmStates& states);

/// Withdraws the window from the window manager as ICCCM says (an unmap and
/// the synthetic UnmapNotify on the root); the window manager answers
/// asynchronously, see isWithdrawn.
void withdraw(const QWidget& window);
/// Whether the window manager is done with a withdrawn window: it sits on
/// the root again and its WM_STATE is gone or Withdrawn.
bool isWithdrawn(const QWidget& window);
/// Maps the window and puts it above its siblings; an override-redirect
/// window is shown so at once, a managed one is given to the window manager.
void mapRaised(const QWidget& window);
/// Unmaps the window (an override-redirect one has no window manager to tell).
void unmap(const QWidget& window);
/// Writes the window's _NET_WM_WINDOW_TYPE again as it is, for a compositor
/// to decide anew about the window: marco 1.26 decides whether to shadow a
/// window when it first sees it on the root (still framed, when its window
/// manager has just let it go) and when its shape or type changes, and it
/// records the shape only after the decision (compositor-xrender.c,
/// add_win and process_shape), so its shadow may outlast the frame.
void restateWindowType(const QWidget& window);
/// Marks the window's position (`deviceOrigin`, root coordinates) as the
/// user's own in its WM_NORMAL_HINTS, so that a window manager taking the
/// window up leaves it there rather than placing it anew.
void markPositionUserSpecified(const QWidget& window, QPoint deviceOrigin);
/// Gives the window the type of a utility window (_NET_WM_WINDOW_TYPE):
/// compositors that give the keyboard focus to an override-redirect window
/// of the normal type when it maps (the wlroots ones) leave a utility alone,
/// and Mutter stacks it with the other override-redirect windows, on top.
void markUtility(const QWidget& window);

/// What an X event means for a frame change of `window`.
enum class FrameEvent
{
    None,
    Configured,  ///< the client's rectangle changed
    Answered,    ///< the window manager reparented the client or set its frame extents
    Withdrawing, ///< the client was unmapped or its WM_STATE changed
};
/// The atoms classifyEvent watches (0 off X11).
struct WatchedAtoms
{
    std::uint32_t frameExtents = 0; ///< _NET_FRAME_EXTENTS
    std::uint32_t wmState = 0;      ///< WM_STATE
};
WatchedAtoms watchedAtoms();
/// `xcbEvent` is an xcb_generic_event_t from Qt's native event filter.
FrameEvent classifyEvent(const QWidget& window, const void* xcbEvent, const WatchedAtoms& atoms);
/// The client rectangle (root coordinates, device pixels) that the window
/// manager says it gave `window`, when `xcbEvent` is its synthetic
/// ConfigureNotify to the window (ICCCM 4.1.5); std::nullopt for any other
/// event, a real ConfigureNotify among them (its position is relative to
/// the frame).
std::optional<QRect> reportedClientRect(const QWidget& window, const void* xcbEvent);

} // namespace zentaro::platform::x11
