// Starts a program and measures, from outside it, the time from its start to
// its titled top-level window mapped and painted on the X server; then ends
// it. Needs nothing from the program measured: no hook, no option.
//
//   first_paint_probe [--title TEXT] [--pixel X,Y] [--timeout-ms N] [--trace]
//                     -- program args...
//
// Prints one line, the milliseconds from just before the program was created
// to the moment the X server held its first painted pixel:
//   first_paint_ms 123.45
// Exit status 0 on success, 1 when the window was not painted in time, 2 on
// a usage error.
//
// How "painted" is seen: Qt creates its windows without a background, so the
// server leaves a new window's pixels as the black of the empty screen until
// the program puts its first frame there. The probe watches the root for new
// windows, follows those whose title (WM_NAME or _NET_WM_NAME) is TEXT, and
// once one of them is viewable reads one pixel (by default (2, 2), the menu bar of a
// main window) until it is no longer black. Qt puts a window's whole first
// frame in one go, so that pixel stands for the whole window.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <spawn.h>
#include <string>
#include <sys/select.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

constexpr unsigned long kUnpaintedPixel = 0x000000;
// Often enough for a figure of tens of milliseconds, seldom enough to leave
// the server and the program measured the processor.
constexpr auto kPixelPollInterval = std::chrono::microseconds(500);
constexpr auto kEventWaitInterval = std::chrono::milliseconds(5);
constexpr auto kStopTimeout = std::chrono::seconds(5);

struct Options
{
    std::string title;
    int pixelX = 2;
    int pixelY = 2;
    int timeoutMs = 20000;
    bool trace = false;
    std::vector<char*> command; // null-terminated
};

int usage(const char* program)
{
    std::fprintf(stderr,
                 "usage: %s --title TEXT [--pixel X,Y] [--timeout-ms N] [--trace] -- program "
                 "args...\n",
                 program);
    return 2;
}

std::optional<Options> parseOptions(int argc, char** argv)
{
    Options options;
    int i = 1;
    for (; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--") {
            ++i;
            break;
        }
        if (arg == "--title" && hasValue) {
            options.title = argv[++i];
        } else if (arg == "--pixel" && hasValue) {
            if (std::sscanf(argv[++i], "%d,%d", &options.pixelX, &options.pixelY) != 2) {
                return std::nullopt;
            }
        } else if (arg == "--timeout-ms" && hasValue) {
            options.timeoutMs = std::atoi(argv[++i]);
        } else if (arg == "--trace") {
            options.trace = true;
        } else {
            return std::nullopt;
        }
    }
    for (; i < argc; ++i) {
        options.command.push_back(argv[i]);
    }
    if (options.title.empty() || options.command.empty() || options.timeoutMs <= 0) {
        return std::nullopt;
    }
    options.command.push_back(nullptr);
    return options;
}

// Windows come and go while a program starts (and may be gone by the time a
// request about them arrives): errors about them are expected, not fatal.
int ignoreXError(Display*, XErrorEvent*)
{
    return 0;
}

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

class Probe
{
public:
    Probe(Display* display, const Options& options)
        : display_(display), options_(options), root_(DefaultRootWindow(display)),
          wmName_(XInternAtom(display, "WM_NAME", False)),
          netWmName_(XInternAtom(display, "_NET_WM_NAME", False)),
          utf8String_(XInternAtom(display, "UTF8_STRING", False))
    {
        // New top-levels are created as children of the root.
        XSelectInput(display_, root_, SubstructureNotifyMask);
        XSync(display_, False);
    }

    /// Waits for the titled window to be painted; returns false at `deadline`.
    bool waitPainted(Clock::time_point start, Clock::time_point deadline)
    {
        while (Clock::now() < deadline) {
            handlePendingEvents(start);
            if (target_ == None) {
                target_ = firstViewable(start);
            }
            if (target_ != None) {
                const unsigned long pixel = readPixel(target_);
                if (pixel != kUnpaintedPixel) {
                    trace(start, "painted", target_, pixel);
                    return true;
                }
                std::this_thread::sleep_for(kPixelPollInterval);
            } else {
                waitForEvents(titled_.empty() ? kEventWaitInterval : kPixelPollInterval);
            }
        }
        return false;
    }

private:
    void handlePendingEvents(Clock::time_point start)
    {
        while (XPending(display_) > 0) {
            XEvent event;
            XNextEvent(display_, &event);
            if (event.type == CreateNotify && event.xcreatewindow.parent == root_) {
                follow(event.xcreatewindow.window, start);
            } else if (event.type == PropertyNotify &&
                       (event.xproperty.atom == wmName_ || event.xproperty.atom == netWmName_)) {
                checkTitle(event.xproperty.window, start);
            } else if (event.type == MapNotify) {
                trace(start, "mapped", event.xmap.window, 0);
            }
        }
    }

    void follow(Window window, Clock::time_point start)
    {
        XSelectInput(display_, window, PropertyChangeMask | StructureNotifyMask);
        // The title may have been set before the selection took effect.
        checkTitle(window, start);
    }

    void checkTitle(Window window, Clock::time_point start)
    {
        if (std::find(titled_.begin(), titled_.end(), window) != titled_.end()) {
            return;
        }
        if (titleOf(window, netWmName_, utf8String_) == options_.title ||
            titleOf(window, wmName_, AnyPropertyType) == options_.title) {
            titled_.push_back(window);
            trace(start, "titled", window, 0);
        }
    }

    /// The first titled window that is viewable: a program may give the
    /// same text to windows it never maps (Qt's client leader window is named
    /// after the program).
    Window firstViewable(Clock::time_point start)
    {
        for (Window window : titled_) {
            if (isViewable(window)) {
                trace(start, "viewable", window, 0);
                return window;
            }
        }
        return None;
    }

    std::string titleOf(Window window, Atom property, Atom type)
    {
        Atom actualType = None;
        int format = 0;
        unsigned long count = 0;
        unsigned long remaining = 0;
        unsigned char* data = nullptr;
        std::string title;
        if (XGetWindowProperty(display_, window, property, 0, 1024, False, type, &actualType,
                               &format, &count, &remaining, &data) == Success &&
            data != nullptr) {
            if (format == 8) {
                title.assign(reinterpret_cast<const char*>(data), count);
            }
            XFree(data);
        }
        return title;
    }

    bool isViewable(Window window)
    {
        XWindowAttributes attributes;
        return XGetWindowAttributes(display_, window, &attributes) != 0 &&
               attributes.map_state == IsViewable;
    }

    unsigned long readPixel(Window window)
    {
        XImage* image =
            XGetImage(display_, window, options_.pixelX, options_.pixelY, 1, 1, AllPlanes, ZPixmap);
        if (image == nullptr) {
            return kUnpaintedPixel;
        }
        const unsigned long pixel = XGetPixel(image, 0, 0) & 0xFFFFFFul;
        XDestroyImage(image);
        return pixel;
    }

    void waitForEvents(std::chrono::microseconds timeout)
    {
        if (XPending(display_) > 0) {
            return;
        }
        const int fd = ConnectionNumber(display_);
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(fd, &readable);
        timeval tv{0, static_cast<suseconds_t>(timeout.count())};
        select(fd + 1, &readable, nullptr, nullptr, &tv);
    }

    void trace(Clock::time_point start, const char* what, Window window, unsigned long pixel)
    {
        if (options_.trace) {
            std::fprintf(stderr, "%9.2f ms  %-8s window 0x%lx pixel %06lx\n",
                         millisecondsSince(start), what, window, pixel);
        }
    }

    Display* display_;
    const Options& options_;
    Window root_;
    Atom wmName_;
    Atom netWmName_;
    Atom utf8String_;
    std::vector<Window> titled_;
    Window target_ = None;
};

/// Ends the program the probe started: SIGTERM, then SIGKILL if it lingers.
void stopChild(pid_t pid)
{
    kill(pid, SIGTERM);
    const auto deadline = Clock::now() + kStopTimeout;
    while (Clock::now() < deadline) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) {
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

} // namespace

int main(int argc, char** argv)
{
    const std::optional<Options> options = parseOptions(argc, argv);
    if (!options) {
        return usage(argv[0]);
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "%s: cannot open the display\n", argv[0]);
        return 1;
    }
    XSetErrorHandler(ignoreXError);
    Probe probe(display, *options);

    const Clock::time_point start = Clock::now();
    pid_t pid = 0;
    if (posix_spawnp(&pid, options->command[0], nullptr, nullptr, options->command.data(),
                     environ) != 0) {
        std::fprintf(stderr, "%s: cannot start %s\n", argv[0], options->command[0]);
        return 1;
    }
    const bool painted =
        probe.waitPainted(start, start + std::chrono::milliseconds(options->timeoutMs));
    const double elapsedMs = millisecondsSince(start);
    stopChild(pid);
    XCloseDisplay(display);
    if (!painted) {
        std::fprintf(stderr, "%s: no painted window titled \"%s\" within %d ms\n", argv[0],
                     options->title.c_str(), options->timeoutMs);
        return 1;
    }
    std::printf("first_paint_ms %.2f\n", elapsedMs);
    return 0;
}
