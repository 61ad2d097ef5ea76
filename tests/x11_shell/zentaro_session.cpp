#include "zentaro_session.h"

#include "pointer.h"
#include "process_windows.h"
#include "wait.h"
#include "window_query.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>

namespace zentaro::x11test {

using ::testing::AssertionFailure;
using ::testing::AssertionResult;
using ::testing::AssertionSuccess;

namespace {

ChildOptions programOptions()
{
    ChildOptions child;
    // The program built with the tests, unless ZENTARO_EXECUTABLE names
    // another build of it (to try the tests on a changed program).
    const char* program = std::getenv("ZENTARO_EXECUTABLE");
    child.argv.push_back(program != nullptr && *program != '\0' ? program : ZENTARO_EXECUTABLE);
    return child;
}

/// wmctrl's -i form takes the window id in hexadecimal.
std::string hexId(XId window)
{
    std::ostringstream out;
    out << "0x" << std::hex << window;
    return out.str();
}

/// How often Alt+Z is tried when another window takes the focus before it.
constexpr int kMenuAttempts = 3;

} // namespace

std::vector<std::string> menuKeys(int index)
{
    std::vector<std::string> keys{"alt+z"};
    keys.insert(keys.end(), static_cast<std::size_t>(index), "Down");
    keys.push_back("Return");
    return keys;
}

ZentaroSession::ZentaroSession(XConnection& x) : x_(x), process_(programOptions()) {}

std::vector<XId> ZentaroSession::clients()
{
    return clientWindowsOf(x_, process_.pid());
}

std::string ZentaroSession::describeClients()
{
    std::ostringstream out;
    const auto windows = clients();
    out << windows.size() << " windows:";
    for (const XId window : windows) {
        out << " \"" << windowTitle(x_, window).value_or("?") << "\"";
    }
    return out.str();
}

AssertionResult ZentaroSession::waitForWindow(std::string_view title, XId& found)
{
    std::vector<XId> matching;
    const bool shown = waitUntil([&] {
        if (process_.exitStatus()) {
            return true;
        }
        matching.clear();
        for (const XId window : clients()) {
            if (windowTitle(x_, window) == title) {
                matching.push_back(window);
            }
        }
        return matching.size() == 1 && isPlacedAndSettled(x_, matching.front());
    });
    if (const auto status = process_.exitStatus()) {
        return AssertionFailure() << "the program ended (status " << status->code << ", signal "
                                  << status->signal << ") while waiting for \"" << title << "\"";
    }
    if (!shown) {
        return AssertionFailure() << "\"" << title << "\" not shown once; " << describeClients();
    }
    found = matching.front();
    return AssertionSuccess();
}

AssertionResult ZentaroSession::waitForMainWindow()
{
    return waitForWindow(kMainWindowTitle, mainWindow_);
}

AssertionResult ZentaroSession::activate(XId window)
{
    // A window that has just asked for activation itself may win over the
    // first request: ask again until the window manager reports ours.
    const bool active = waitUntil([&] {
        if (activeWindow(x_) == window) {
            return true;
        }
        runXdotool({"windowactivate", std::to_string(window)});
        return false;
    });
    if (!active) {
        return AssertionFailure() << "window \"" << windowTitle(x_, window).value_or("?")
                                  << "\" does not become active";
    }
    return AssertionSuccess();
}

AssertionResult ZentaroSession::dropDownReticleMenu()
{
    for (int attempt = 0; attempt < kMenuAttempts; ++attempt) {
        if (auto result = activate(mainWindow_); !result) {
            return result;
        }
        if (!runXdotool({"key", "alt+z"})) {
            return AssertionFailure() << "xdotool could not type alt+z";
        }
        bool shown = false;
        waitUntil([&] {
            shown = popupShownBy(x_, process_.pid());
            return shown || activeWindow(x_) != mainWindow_;
        });
        if (shown) {
            return AssertionSuccess();
        }
        // A window shown a moment ago took the focus back before the key
        // arrived; the key went there. Try again.
    }
    return AssertionFailure() << "alt+z shows no drop-down menu; active window \""
                              << windowTitle(x_, activeWindow(x_)).value_or("?") << "\"";
}

AssertionResult ZentaroSession::typeIntoMainWindow(const std::vector<std::string>& keys)
{
    auto rest = keys.begin();
    if (!keys.empty() && keys.front() == "alt+z") {
        if (auto result = dropDownReticleMenu(); !result) {
            return result;
        }
        ++rest;
    } else if (auto result = activate(mainWindow_); !result) {
        return result;
    }
    for (; rest != keys.end(); ++rest) {
        if (!runXdotool({"key", *rest})) {
            return AssertionFailure() << "xdotool could not type " << *rest;
        }
    }
    return AssertionSuccess();
}

AssertionResult ZentaroSession::openWith(const std::vector<std::string>& keys,
                                         std::string_view title, XId& found)
{
    if (auto result = typeIntoMainWindow(keys); !result) {
        return result;
    }
    if (auto result = waitForWindow(title, found); !result) {
        return result;
    }
    // The program makes the window it shows the active one.
    if (!waitUntil([&] { return activeWindow(x_) == found; })) {
        return AssertionFailure() << "\"" << title << "\" is shown but not active; active is \""
                                  << windowTitle(x_, activeWindow(x_)).value_or("?") << "\"";
    }
    return AssertionSuccess();
}

AssertionResult ZentaroSession::requestClose(XId window)
{
    const auto status = runToEnd({"wmctrl", "-i", "-c", hexId(window)}, kDefaultWait);
    if (!status || !status->isSuccess()) {
        return AssertionFailure() << "wmctrl could not close " << hexId(window);
    }
    return AssertionSuccess();
}

AssertionResult ZentaroSession::close(XId window)
{
    const std::string title = windowTitle(x_, window).value_or("?");
    if (auto result = requestClose(window); !result) {
        return result;
    }
    const auto listed = [&] {
        const auto windows = clientWindows(x_);
        return std::find(windows.begin(), windows.end(), window) != windows.end();
    };
    if (!waitUntil([&] { return !listed(); })) {
        return AssertionFailure() << "\"" << title << "\" is still listed after its close";
    }
    return AssertionSuccess();
}

} // namespace zentaro::x11test
