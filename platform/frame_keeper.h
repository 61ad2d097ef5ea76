// Keeps a top-level window's client area, and the states the user gave it
// through the window manager, across the adding and removing of the window
// manager's frame.
#pragma once

#include "platform/frame_change.h"
#include "platform/x11_window.h"

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <QRect>
#include <QTimer>

#include <cstdint>
#include <optional>

class QWidget;

namespace zentaro::platform {

/// One per window that changes its frame, a child of that window (so it goes
/// with it). Qt rewrites _NET_WM_STATE's "above" and "below" from its flags,
/// and window managers answer a frame change in their own ways (some keep the
/// frame's outer rectangle and give it to the client); the keeper reads the
/// states before the change, carries them into Qt's flags, and then holds the
/// client rectangle until the window manager has answered, for a bounded time.
///
/// A window the user keeps above others loses its frame by leaving the
/// window manager altogether: withdrawn, then mapped again override-redirect
/// (unmanaged) where it was. Several window managers (openbox, KWin, IceWM,
/// marco) stack a focused full-screen window over every managed window, "above"
/// ones included, and the wlroots compositors ignore "above" from X11
/// clients; every one of them leaves unmanaged windows on top. The window
/// manager no longer moves such a window (the caller moves it itself, see
/// isUnmanaged) nor lists it; on the return it manages the window anew,
/// given the kept states before the map.
class FrameKeeper : public QObject, public QAbstractNativeEventFilter
{
    Q_OBJECT

public:
    /// How long the keeper waits at most for the window manager's answer to a
    /// frame change, in milliseconds. It normally ends at the answer.
    static constexpr int kHoldBoundMilliseconds = 2000;

    /// The keeper of `window`, made on first use.
    static FrameKeeper& of(QWidget& window);

    /// Shows the window with or without the frame, its client area on the
    /// same screen pixels and its window manager states kept.
    void setFramed(bool framed);

    /// How long the keeper waits at most for the window manager to let a
    /// withdrawn window go, in milliseconds. It normally ends at the answer.
    static constexpr int kWithdrawBoundMilliseconds = 1000;

    /// Whether the keeper still waits for the window manager's answer.
    bool isHolding() const { return hold_.isHolding() || withdrawing_; }
    /// Whether the window is shown override-redirect, outside the window
    /// manager, or on its way there.
    bool isUnmanaged() const { return unmanaged_; }
    /// Whether `window` is shown override-redirect (see isUnmanaged).
    static bool isUnmanaged(const QWidget& window);

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit FrameKeeper(QWidget& window);

    void setFlags(Qt::WindowFlags flags);
    void leaveWindowManager(const WmStates& states, QRect before);
    void returnToWindowManager();
    /// Shows the withdrawn window override-redirect, once the window manager
    /// has let it go (or the bound has passed).
    void showUnmanaged();
    void watchEvents();
    void startHold(QRect deviceRect);
    /// `reported`: where the window manager said it put the client, if the
    /// event was its synthetic ConfigureNotify.
    void checkHold(std::optional<QRect> reported = std::nullopt);
    /// Ends the hold and does what waited for the window manager's answer.
    void endHold();
    /// Ends the hold and nothing else.
    void stopFollowing();

    QWidget& window_;
    FrameHold hold_;
    QTimer bound_;
    QTimer withdrawBound_;
    x11::WatchedAtoms atoms_;
    bool filtering_ = false;
    // Outside the window manager while frameless: the states it had there,
    // its client rectangle (device pixels, root coordinates), and whether
    // the window manager has still to let it go.
    bool unmanaged_ = false;
    bool withdrawing_ = false;
    WmStates keptStates_;
    QRect unmanagedRect_;
    // A maximised window leaves the maximised state while it has no frame (a
    // maximised client would otherwise move into the place of the title
    // bar); it comes back maximised when it is still where it left.
    std::optional<QRect> leftMaximizedAt_;
    bool remaximizeAfterHold_ = false;
};

} // namespace zentaro::platform
