#include "window_manager.h"

#include "child_process.h"
#include "test_window.h"
#include "wait.h"
#include "window_query.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>

#include <signal.h>
#include <sys/wait.h>

namespace zentaro::x11test {
namespace {

const char* pidFilePath()
{
    return std::getenv("ZENTARO_TEST_WM_PIDFILE");
}

/// Whether `pid` is still running. Reaps it when it is our own child (a
/// window manager this process started), so that it does not linger as a
/// zombie that kill(pid, 0) would still find.
bool isRunning(pid_t pid)
{
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) == pid || kill(pid, 0) != 0) {
        return false;
    }
    // An ended process that its parent has not reaped yet counts as gone.
    // The process may end while its stat is read, which fails the read
    // (ESRCH): getline reports that as a failed stream, where reading through
    // the stream buffer directly would throw.
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text;
    if (!std::getline(stat, text)) {
        return false;
    }
    const auto afterName = text.rfind(") ");
    return afterName == std::string::npos || text.substr(afterName + 2, 1) != "Z";
}

/// openbox announces itself before it has finished starting, and a window
/// mapped in that moment can stay unmanaged. Once it takes over a new window
/// it takes over later ones too: map a throwaway window and wait for that.
bool managesANewWindow(XConnection& x)
{
    constexpr std::chrono::milliseconds kProbeWait{1000};
    TestWindow probe(x,
                     {QRect(0, 0, 10, 10), "zentaro window manager probe", qRgb(0, 0, 0), false});
    probe.map();
    const auto listed = [&] {
        const auto clients = clientWindows(x);
        return std::find(clients.begin(), clients.end(), probe.id()) != clients.end();
    };
    return waitUntil(listed, kProbeWait);
}

} // namespace

std::optional<pid_t> windowManagerPid()
{
    const char* path = pidFilePath();
    if (path == nullptr) {
        return std::nullopt;
    }
    std::ifstream file(path);
    long pid = 0;
    if (!(file >> pid) || pid <= 0) {
        return std::nullopt;
    }
    return static_cast<pid_t>(pid);
}

bool stopWindowManager(XConnection& x)
{
    const auto pid = windowManagerPid();
    if (!pid) {
        return false;
    }
    kill(*pid, SIGTERM);
    return waitUntil([&] { return !isRunning(*pid); }) &&
           waitUntil([&] { return !windowManagerRunning(x); });
}

std::optional<pid_t> startWindowManager(XConnection& x)
{
    const char* path = pidFilePath();
    const char* configHome = std::getenv("ZENTARO_TEST_WM_CONFIG_HOME");
    if (path == nullptr || configHome == nullptr) {
        return std::nullopt; // not inside scripts/x11-session.sh with a window manager
    }
    ChildProcess openbox(ChildOptions{
        {"openbox", "--sm-disable"}, {std::string("XDG_CONFIG_HOME=") + configHome}, {}, false});
    const pid_t pid = openbox.pid();
    openbox.detach(); // the session stops it through the pid file
    std::ofstream(path) << pid << '\n';
    if (!waitUntil([&] { return windowManagerRunning(x) && managesANewWindow(x); })) {
        return std::nullopt;
    }
    return pid;
}

std::optional<pid_t> restartWindowManager(XConnection& x)
{
    if (!stopWindowManager(x)) {
        return std::nullopt;
    }
    return startWindowManager(x);
}

} // namespace zentaro::x11test
