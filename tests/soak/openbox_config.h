// openbox does two things of its own while it moves a window: it holds the
// window back for a few pixels at the edges of the screen and of other
// windows, and it switches to the next desktop when the pointer rests at the
// screen's edge. With several reticle windows open, the first would make a
// drag not follow the pointer exactly and the second would hide every
// window. The soak session turns both off in its private X session.
#pragma once

#include "x_connection.h"

#include <string>

namespace zentaro::soak {

/// Restarts the session's openbox with the system configuration, edge
/// resistance and desktop switching at the edges turned off. Does nothing
/// and returns true when no window manager of the test session runs;
/// returns false, with the reason in `error`, when it could not.
bool configureOpenboxForSoak(x11test::XConnection& x, std::string& error);

} // namespace zentaro::soak
