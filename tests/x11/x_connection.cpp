#include "x_connection.h"

#include <atomic>
#include <cstdlib>
#include <stdexcept>

#include <X11/Xlib.h>

namespace zentaro::x11test {
namespace {

// Xlib's error handler takes no user data, so the count has to live at file
// scope. Tests run on one thread; the atomic only keeps the compiler honest.
std::atomic<int> errorCount{0};

int countError(Display*, XErrorEvent*)
{
    ++errorCount;
    return 0;
}

} // namespace

XConnection::XConnection()
{
    const char* name = std::getenv("DISPLAY");
    if (name == nullptr || *name == '\0') {
        throw std::runtime_error("DISPLAY is not set: run the test through scripts/x11-session.sh");
    }
    display_ = XOpenDisplay(name);
    if (display_ == nullptr) {
        throw std::runtime_error(std::string("cannot open X display ") + name);
    }
    XSetErrorHandler(countError);
    root_ = DefaultRootWindow(display_);
}

XConnection::~XConnection()
{
    XCloseDisplay(display_);
}

int XConnection::screenWidth() const
{
    return DisplayWidth(display_, DefaultScreen(display_));
}

int XConnection::screenHeight() const
{
    return DisplayHeight(display_, DefaultScreen(display_));
}

XId XConnection::atom(const std::string& name) const
{
    return XInternAtom(display_, name.c_str(), False);
}

int XConnection::sync()
{
    XSync(display_, False);
    return errorCount.exchange(0);
}

} // namespace zentaro::x11test
