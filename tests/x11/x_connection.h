// A connection to the test session's X server (DISPLAY), for tests only.
//
// Xlib stays out of this header: windows and atoms are plain XIDs, and the
// Display pointer is only handed to helpers that include Xlib themselves.
#pragma once

#include <string>

struct _XDisplay; // Xlib's Display

namespace zentaro::x11test {

/// An X window or atom id (Xlib's XID).
using XId = unsigned long;

class XConnection
{
public:
    /// Opens $DISPLAY; throws std::runtime_error when no server answers.
    /// X protocol errors (a window that vanished while it was queried) are
    /// counted instead of ending the process, as Xlib's default would.
    XConnection();
    ~XConnection();
    XConnection(const XConnection&) = delete;
    XConnection& operator=(const XConnection&) = delete;

    _XDisplay* display() const { return display_; }
    XId root() const { return root_; }
    int screenWidth() const;
    int screenHeight() const;

    /// The atom named `name`, interned on first use.
    XId atom(const std::string& name) const;

    /// A round trip: every request made so far has been handled and every
    /// event the server has sent so far is queued. Returns how many X errors
    /// arrived since the previous call.
    int sync();

private:
    _XDisplay* display_ = nullptr;
    XId root_ = 0;
};

} // namespace zentaro::x11test
