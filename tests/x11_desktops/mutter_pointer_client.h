// The pointer of the GNOME Wayland session, driven through Mutter's own
// input (mutter_pointer.py): XTest reaches XWayland's clients there, but not
// the compositor's move that a drag on a bar starts.
#pragma once

#include "child_process.h"

#include <gtest/gtest.h>

#include <QPoint>

#include <optional>
#include <string>

namespace zentaro::x11test {

/// One remote desktop session of Mutter, alive as long as this object. Each
/// call returns once Mutter has accepted the event; what the event leads to
/// (a move begun, a window moved) is for the caller to wait for.
class MutterPointerClient
{
public:
    /// Starts `script` (mutter_pointer.py) with the session's bus.
    explicit MutterPointerClient(const std::string& script);

    /// Moves the pointer to `screenPoint`.
    ::testing::AssertionResult moveTo(QPoint screenPoint);
    /// Moves the pointer by `delta` (pixels).
    ::testing::AssertionResult moveBy(QPoint delta);
    /// Presses the left button.
    ::testing::AssertionResult press();
    /// Releases the left button.
    ::testing::AssertionResult release();

private:
    /// Sends one command line and waits for its answer.
    ::testing::AssertionResult command(const std::string& line);

    ChildProcess script_;
    /// How much of the script's output has been read as answers.
    std::size_t answered_ = 0;
};

} // namespace zentaro::x11test
