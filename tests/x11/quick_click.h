// Pointer gestures sent through XTEST in one burst, with no gap between
// their events, for tests only: what a real mouse does faster than any
// window manager or program answers (a click with a one-pixel jitter whose
// press, motion and release arrive within a millisecond, a double click).
#pragma once

#include "x_connection.h"

#include <QPoint>

namespace zentaro::x11test {

/// Moves the pointer to `at` and waits until the server has it there; then
/// sends, in one burst, a left press, a motion to `at + jitter` and the
/// release. Returns once the server has handled all of them.
bool sendQuickClick(XConnection& x, QPoint at, QPoint jitter);

/// Moves the pointer to `at` and waits for it there; then sends two left
/// clicks in one burst: a double click for any double-click interval.
bool sendDoubleClick(XConnection& x, QPoint at);

} // namespace zentaro::x11test
