// The window system operations the program relies on, over Qt.
//
// Everything that depends on the window system (X11 through Qt's xcb
// platform, or the offscreen platform in tests) is decided here; the rest
// of the program calls these and never looks at the platform itself.
#pragma once

#include "designs/units.h"

#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QString>

#include <span>

class QWidget;

namespace zentaro::platform {

// ---- Regions ----------------------------------------------------------------
// A window region is a set of pixels in the window's own coordinates, built
// as a union of integer rectangles with exclusive right and bottom edges.

/// The union of `rects`, which may overlap. Empty rectangles add nothing.
QRegion unionOfRects(std::span<const IntRect> rects);

/// The region of rectangles already in banded form (non-overlapping, sorted
/// by top then left, each band's rectangles sharing top and bottom), taken
/// as they are: the cheap way for a union computed beforehand.
QRegion regionFromBandedRects(std::span<const IntRect> bandedRects);

/// Makes `window` (a top-level) visible, and hit by the mouse, only inside
/// the union of `bandedDeviceRects`, and repaints it. The rectangles are in
/// banded form (see regionFromBandedRects) and in device pixels of the client
/// area (logical pixels times the window's device pixel ratio), so at
/// fractional scales the shape is exact to the device pixel rather than
/// rounded from logical pixels. No rectangles leave nothing of the window
/// visible (it does not mean "no region").
void applyRegion(QWidget& window, std::span<const IntRect> bandedDeviceRects);

/// The logical region that covers every device pixel of `bandedDeviceRects`
/// at `devicePixelRatio`: each rectangle widened outwards to whole logical
/// pixels. Equal to the exact union at ratios 1 and 2.
QRegion logicalCover(std::span<const IntRect> bandedDeviceRects, double devicePixelRatio);

/// Removes the region: the whole window shows again, at any size.
void clearRegion(QWidget& window);

// ---- Frames -------------------------------------------------------------------

/// Shows `window` with or without the window manager's frame, keeping its
/// client area on the same screen pixels and at the same size, and keeping
/// the states the user gave it through the window manager (above, below, on
/// all desktops; a maximised window leaves the maximised state while it has
/// no frame and takes it up again on its return, when it has not moved).
/// Without its frame the window also asks compositors to draw no shadow
/// around it. Works on the existing native window, so the window is not
/// hidden and re-shown in between. The window manager answers
/// asynchronously: the client's place is held for a bounded time after the
/// call (see FrameKeeper).
void setFramed(QWidget& window, bool framed);

// ---- Moving -------------------------------------------------------------------

/// Hands the move of `window` to the window manager, as a press on its title
/// bar would: the window then follows the pointer until the button is
/// released. Returns false when the window system refuses (no window
/// manager, offscreen): the caller then moves the window itself.
bool startSystemMove(QWidget& window);

// ---- Showing and ending -----------------------------------------------------------

/// Shows a top-level window modeless, brings it to the front and activates it.
void showAndActivate(QWidget& window);

/// Ends the application at once: every window goes, no window's closing
/// handling runs, and the event loop returns 0.
void quitApplicationNow();

// ---- Desktop shell ----------------------------------------------------------------

/// Asks the desktop to open `text` as a file of the current directory, with
/// its default application. Never goes through a shell command line. Returns
/// whether the desktop accepted the request.
bool openWithShell(const QString& text);

// ---- Resolution ---------------------------------------------------------------------

/// The logical resolution (dots per inch) that twips convert at for `window`
/// (its screen's, or the primary screen's when it has none yet).
double logicalDpi(const QWidget* window);

} // namespace zentaro::platform
