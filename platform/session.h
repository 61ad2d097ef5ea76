// Which Qt platform plugin the program runs on, decided before the
// application object exists.
//
// Reticle windows must be placed and shaped by the program itself, which a
// Wayland compositor does not allow its clients. In a Wayland session with
// an X server reachable (XWayland), the program therefore runs on X11 by
// itself; a platform the user chose explicitly (QT_QPA_PLATFORM or
// -platform) is always kept.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zentaro::platform {

/// What the decision reads from the process environment and arguments.
struct SessionFacts
{
    std::optional<std::string> qtPlatform;     // QT_QPA_PLATFORM
    bool platformArgument = false;             // "-platform" among the arguments
    std::optional<std::string> waylandDisplay; // WAYLAND_DISPLAY
    std::optional<std::string> sessionType;    // XDG_SESSION_TYPE
    std::optional<std::string> x11Display;     // DISPLAY
};

enum class PlatformDecision
{
    KeepDefault,    // let Qt choose (X11 session, or an explicit choice)
    UseX11,         // Wayland session with XWayland: run on xcb
    NoX11Available, // Wayland session and no X display: cannot run
};

PlatformDecision decidePlatform(const SessionFacts& facts);

/// The facts of this process.
SessionFacts currentSessionFacts(int argc, char** argv);

/// Applies the decision before the QApplication is created. Returns false,
/// after one line on standard error, when the program cannot run here.
bool prepareWindowSystem(int argc, char** argv);

} // namespace zentaro::platform
