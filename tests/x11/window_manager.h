// Stopping and starting the session's window manager in the middle of a
// test, for tests only. scripts/x11-session.sh starts openbox and names the
// pid file (ZENTARO_TEST_WM_PIDFILE); a window manager started here is
// recorded there too, so the session stops it at the end.
#pragma once

#include "x_connection.h"

#include <sys/types.h>

#include <optional>

namespace zentaro::x11test {

/// The pid of the session's current window manager, from its pid file.
std::optional<pid_t> windowManagerPid();

/// Ends the current window manager and waits until it has left the screen.
bool stopWindowManager(XConnection& x);

/// Starts openbox with the session's configuration and waits until it owns
/// the screen. Returns its pid.
std::optional<pid_t> startWindowManager(XConnection& x);

/// stopWindowManager, then startWindowManager.
std::optional<pid_t> restartWindowManager(XConnection& x);

} // namespace zentaro::x11test
