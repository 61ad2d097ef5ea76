// What the X server knows about the windows of one client process, for the
// shell tests: which top-level windows belong to it (_NET_WM_PID), whether
// one of its drop-down menus is on the screen, and which window is active.
#pragma once

#include "x_connection.h"

#include <sys/types.h>

#include <optional>
#include <vector>

namespace zentaro::x11test {

/// The process that says it owns `window` (_NET_WM_PID), if it says so.
std::optional<pid_t> windowPid(XConnection& x, XId window);

/// The managed client windows (the window manager's list) owned by `pid`.
std::vector<XId> clientWindowsOf(XConnection& x, pid_t pid);

/// Whether a window of `pid` that bypasses the window manager (a drop-down
/// menu) is mapped on the screen.
bool popupShownBy(XConnection& x, pid_t pid);

/// The window the window manager reports as active (_NET_ACTIVE_WINDOW), 0
/// when none.
XId activeWindow(XConnection& x);

} // namespace zentaro::x11test
