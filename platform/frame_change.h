// What a change of a top-level window's frame must carry over: the window
// manager states the user set, and the client geometry the window manager
// may disturb while it adds or removes its decorations.
#pragma once

#include <QRect>
#include <Qt>

namespace zentaro::platform {

/// The window manager states (EWMH _NET_WM_STATE) of a top-level window that
/// the user sets from the window manager's menu and that a frame change must
/// keep.
struct WmStates
{
    bool above = false;
    bool below = false;
    bool sticky = false;
    bool maximizedHorizontally = false;
    bool maximizedVertically = false;

    bool maximized() const { return maximizedHorizontally || maximizedVertically; }
    bool operator==(const WmStates&) const = default;
};

/// Qt's flags for `flags` shown with or without the window manager's frame.
/// Qt rewrites "above" and "below" from its stacking hints whenever the flags
/// change, so the hints here follow what the window manager has now
/// (`states`), not what the program once asked for.
Qt::WindowFlags flagsForFrame(Qt::WindowFlags flags, bool framed, const WmStates& states);

/// Holds a window's client rectangle (in device pixels on the root window)
/// against the window manager's answers to a frame change, for a bounded
/// number of requests. Some window managers keep the frame's outer rectangle
/// when decorations go and give it to the client, or place the client under
/// a frame that is still there; the hold states the client rectangle again
/// until the window manager has answered and the client is where it was.
class FrameHold
{
public:
    /// Requests after the first one before the hold gives up: a window
    /// manager that keeps overriding the request is not fought forever.
    static constexpr int kMaxRequests = 4;

    enum class Step
    {
        Wait,    ///< the client is in place, the window manager has not answered yet
        Request, ///< ask for the target rectangle again
        Done,    ///< the hold is over
    };

    /// Starts holding `target`.
    void start(QRect target);
    /// Ends the hold: the user took the window, or the bound has passed.
    void stop();
    bool isHolding() const { return holding_; }
    QRect target() const { return target_; }

    /// The window manager has acted on the frame change: it reparented the
    /// client or announced the new frame extents.
    void noteAnswer() { answered_ = true; }
    /// What to do now that the client's rectangle is `current`.
    Step check(QRect current);

private:
    QRect target_;
    bool holding_ = false;
    bool answered_ = false;
    int requests_ = 0;
};

} // namespace zentaro::platform
