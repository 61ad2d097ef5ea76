// The zentaro program as a child process under the test's X session, driven
// from outside as a user would: keys to its menu, the window manager's close
// request to its windows. Every step waits for the X server to show its
// outcome before it returns.
#pragma once

#include "child_process.h"
#include "x_connection.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace zentaro::x11test {

inline constexpr std::string_view kMainWindowTitle = "ZENTARO 1.3";
inline constexpr std::string_view kInfoWindowTitle = "Info Zentaro 1.3";

class ZentaroSession
{
public:
    /// Starts the program; it takes no arguments.
    explicit ZentaroSession(XConnection& x);

    ChildProcess& process() { return process_; }

    /// The program's managed top-level windows, as the window manager lists them.
    std::vector<XId> clients();
    /// The titles of clients(), for failure messages.
    std::string describeClients();

    /// Waits until the main window is shown and framed, then remembers it.
    ::testing::AssertionResult waitForMainWindow();
    XId mainWindow() const { return mainWindow_; }

    /// Waits until exactly one window of the program has `title` and it is
    /// shown and framed; `found` receives it.
    ::testing::AssertionResult waitForWindow(std::string_view title, XId& found);

    /// Asks the window manager to activate `window` until it reports it active.
    ::testing::AssertionResult activate(XId window);

    /// Activates the main window and sends `keys` (xdotool key names) to it;
    /// a leading "alt+z" is followed by a wait until the drop-down menu shows.
    ::testing::AssertionResult typeIntoMainWindow(const std::vector<std::string>& keys);

    /// typeIntoMainWindow, then waitForWindow(title); the window must also
    /// become the active one.
    ::testing::AssertionResult openWith(const std::vector<std::string>& keys,
                                        std::string_view title, XId& found);

    /// Closes `window` as its title-bar close box does (wmctrl), without waiting.
    ::testing::AssertionResult requestClose(XId window);
    /// requestClose, then waits until the window manager no longer lists it.
    ::testing::AssertionResult close(XId window);

private:
    /// Activates the main window and drops its reticle menu down with Alt+Z.
    ::testing::AssertionResult dropDownReticleMenu();

    XConnection& x_;
    ChildProcess process_;
    XId mainWindow_ = 0;
};

/// Keys that open the reticle menu and choose its item `index` (0 = first):
/// the first item is highlighted as the menu drops down.
std::vector<std::string> menuKeys(int index);

} // namespace zentaro::x11test
