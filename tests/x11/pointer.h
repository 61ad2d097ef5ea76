// Drives the pointer through the test's own X connection (XTEST) and checks
// with the X server that each step has arrived, for tests only.
#pragma once

#include "x_connection.h"

#include <QPoint>

#include <optional>
#include <string>
#include <vector>

namespace zentaro::x11test {

/// Runs `xdotool args...` to its end; true when it succeeded. For what the
/// test's own connection cannot do simply (window manager requests, keys).
bool runXdotool(const std::vector<std::string>& args);

inline constexpr int kLeftButton = 1;
inline constexpr int kMiddleButton = 2;
inline constexpr int kRightButton = 3;

class Pointer
{
public:
    explicit Pointer(XConnection& x) : x_(x) {}

    /// Where the pointer is on the root window.
    std::optional<QPoint> position();
    /// Whether `button` (1 left, 2 middle, 3 right) is held.
    bool isHeld(int button);
    /// The serial of the cursor now shown (XFixes); it changes whenever the
    /// cursor does, for instance when a window manager's move takes the
    /// pointer with its own cursor.
    std::optional<unsigned long> cursorSerial();
    /// True while another client holds the pointer actively grabbed: a
    /// window manager's move holds it from its start to the release.
    bool isGrabbedElsewhere();

    /// Moves the pointer to `rootPos` and waits until the server has it there.
    bool moveTo(QPoint rootPos);
    /// Moves from the current position to `rootPos` in `steps` equal steps,
    /// each one arrived before the next is sent.
    bool moveInSteps(QPoint rootPos, int steps);
    bool press(int button);
    bool release(int button);
    /// Moves to `rootPos`, then presses and releases `button` there.
    bool click(QPoint rootPos, int button = kLeftButton);
    /// Releases every button still held (after a test that stopped midway).
    void releaseAll();

private:
    /// Whether the server has the XTEST extension (asked once).
    bool hasXTest();
    /// Presses (`down`) or releases `button` and waits until the server has it so.
    bool setButton(int button, bool down);

    XConnection& x_;
    bool xtestChecked_ = false;
    bool hasXTest_ = false;
};

} // namespace zentaro::x11test
