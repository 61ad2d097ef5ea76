#include "test_window.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace zentaro::x11test {
namespace {

unsigned long allocatePixel(XConnection& x, QRgb colour)
{
    XColor xcolour{};
    // X colour channels are 16 bits: 0xff becomes 0xffff.
    constexpr int kEightToSixteenBits = 257;
    xcolour.red = static_cast<unsigned short>(qRed(colour) * kEightToSixteenBits);
    xcolour.green = static_cast<unsigned short>(qGreen(colour) * kEightToSixteenBits);
    xcolour.blue = static_cast<unsigned short>(qBlue(colour) * kEightToSixteenBits);
    XAllocColor(x.display(), DefaultColormap(x.display(), DefaultScreen(x.display())), &xcolour);
    return xcolour.pixel;
}

} // namespace

TestWindow::TestWindow(XConnection& x, const TestWindowOptions& options) : x_(x)
{
    XSetWindowAttributes attributes{};
    attributes.background_pixel = allocatePixel(x, options.background);
    attributes.override_redirect = options.overrideRedirect ? True : False;
    attributes.event_mask = ButtonPressMask | ExposureMask | StructureNotifyMask;
    const QRect& g = options.geometry;
    window_ =
        XCreateWindow(x.display(), x.root(), g.x(), g.y(), static_cast<unsigned>(g.width()),
                      static_cast<unsigned>(g.height()), 0, CopyFromParent, InputOutput,
                      CopyFromParent, CWBackPixel | CWOverrideRedirect | CWEventMask, &attributes);
    XStoreName(x.display(), window_, options.title.c_str());
    const auto& title = options.title;
    XChangeProperty(x.display(), window_, x.atom("_NET_WM_NAME"), x.atom("UTF8_STRING"), 8,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(title.data()),
                    static_cast<int>(title.size()));
    // Ask a window manager to keep the requested position.
    XSizeHints hints{};
    hints.flags = USPosition | USSize;
    hints.x = g.x();
    hints.y = g.y();
    hints.width = g.width();
    hints.height = g.height();
    XSetWMNormalHints(x.display(), window_, &hints);
    // Takes the keyboard focus when clicked, as an application's window
    // does: without the hint Mutter leaves the focus where it was.
    XWMHints wmHints{};
    wmHints.flags = InputHint;
    wmHints.input = True;
    XSetWMHints(x.display(), window_, &wmHints);
    x.sync();
}

TestWindow::~TestWindow()
{
    XDestroyWindow(x_.display(), window_);
    x_.sync();
}

void TestWindow::map()
{
    XMapWindow(x_.display(), window_);
    x_.sync();
}

void TestWindow::lower()
{
    XLowerWindow(x_.display(), window_);
    x_.sync();
}

std::vector<QPoint> TestWindow::takeButtonPresses()
{
    x_.sync();
    std::vector<QPoint> presses;
    XEvent event{};
    while (XCheckTypedWindowEvent(x_.display(), window_, ButtonPress, &event)) {
        presses.emplace_back(event.xbutton.x_root, event.xbutton.y_root);
    }
    return presses;
}

} // namespace zentaro::x11test
