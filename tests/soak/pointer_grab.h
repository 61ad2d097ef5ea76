// Whether some X client holds the pointer grabbed: a window manager's move
// holds it from its start to the button's release.
#pragma once

#include "x_connection.h"

namespace zentaro::soak {

/// True while another client has the pointer actively grabbed. Asks by
/// trying a grab of its own at a time so old that it cannot succeed while
/// anyone has ever grabbed the pointer, so it leaves no trace.
bool pointerGrabbedElsewhere(x11test::XConnection& x);

} // namespace zentaro::soak
