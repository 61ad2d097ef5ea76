// What a change of a top-level window's frame must carry over: the window
// manager states the user set, and the client geometry the window manager
// may disturb while it adds or removes its decorations.
#pragma once

#include <QRect>
#include <Qt>

#include <optional>

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
        Wait,    ///< the client is in place or on its way, the window manager has not answered yet
        Request, ///< ask for the target rectangle again
        RequestAside, ///< ask for aside(), then at once for the target rectangle
        Done,         ///< the hold is over
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
    /// What to do now that the client's rectangle is `current` (as the X
    /// server has it). `reported` is the rectangle the window manager says
    /// it gave the client, when the event was its synthetic ConfigureNotify.
    /// A window manager that reports the target while the client is
    /// elsewhere takes a request for the target for one that changes
    /// nothing (see aside()).
    Step check(QRect current, std::optional<QRect> reported = std::nullopt);

    /// The rectangle asked for once before the target when the window
    /// manager believes the client is already at the target: one device
    /// pixel above it, as large.
    ///
    /// Mutter 48 on X11 (Debian 13) remembers the client's position inside
    /// its frame and, when it removes the frame, puts the client at the
    /// frame's origin without updating that record; it then compares the
    /// client position asked for on the root window with the old position
    /// inside the frame. Its frames come from a separate client that
    /// announces their borders later, so a window that leaves the maximised
    /// state and its frame at once keeps the maximised client's place inside
    /// the frame (0 px left, the title bar's height down); when the frame lay
    /// at the root's origin, the client's place on the root is the same
    /// numbers, and Mutter grants the size but leaves the client at the
    /// frame's origin, reporting the target. A request for another position
    /// first makes it move the client for real. Mutter 43 (Debian 12)
    /// computes the unmaximised frame's borders itself at once, so the two
    /// positions differ there.
    QRect aside() const { return target_.translated(0, -1); }

private:
    QRect target_;
    bool holding_ = false;
    bool answered_ = false;
    bool steppedAside_ = false;
    int requests_ = 0;
};

} // namespace zentaro::platform
