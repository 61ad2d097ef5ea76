#include "platform/frame_keeper.h"

#include "platform/window_manager_quirks.h"
#include "platform/x11_window.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace zentaro::platform {

FrameKeeper& FrameKeeper::of(QWidget& window)
{
    if (auto* keeper = window.findChild<FrameKeeper*>(QString(), Qt::FindDirectChildrenOnly)) {
        return *keeper;
    }
    return *new FrameKeeper(window);
}

bool FrameKeeper::isUnmanaged(const QWidget& window)
{
    const auto* keeper = window.findChild<FrameKeeper*>(QString(), Qt::FindDirectChildrenOnly);
    return keeper != nullptr && keeper->isUnmanaged();
}

FrameKeeper::FrameKeeper(QWidget& window) : QObject(&window), window_(window)
{
    bound_.setSingleShot(true);
    bound_.setInterval(kHoldBoundMilliseconds);
    connect(&bound_, &QTimer::timeout, this, &FrameKeeper::endHold);
    withdrawBound_.setSingleShot(true);
    withdrawBound_.setInterval(kWithdrawBoundMilliseconds);
    connect(&withdrawBound_, &QTimer::timeout, this, &FrameKeeper::showUnmanaged);
    // A press of the user's ends any hold: the window is theirs to move.
    window_.installEventFilter(this);
}

void FrameKeeper::setFramed(bool framed)
{
    if (framed && unmanaged_) {
        returnToWindowManager();
        return;
    }
    const std::optional<QRect> before = x11::clientRect(window_);
    const WmStates states = x11::wmStates(window_).value_or(WmStates{});
    if (!framed && states.above && before && x11::windowManagerRunning() &&
        !keepsAboveWindowsOverFullScreen(x11::windowManagerName())) {
        leaveWindowManager(states, *before);
        return;
    }
    const bool remaximize = framed && leftMaximizedAt_ && before == leftMaximizedAt_;
    leftMaximizedAt_.reset();
    remaximizeAfterHold_ = false;
    stopFollowing();

    // Compositors read these when the frame changes: set before it.
    x11::setUnshadowed(window_, !framed);
    if (!framed && states.maximized()) {
        leftMaximizedAt_ = before;
        x11::requestMaximized(window_, false);
    }

    const QRect clientGeometry = window_.geometry();
    setFlags(flagsForFrame(window_.windowFlags(), framed, states));

    if (before && x11::windowManagerRunning()) {
        // A window that left the maximised state is maximised again only
        // once its frame is back around the client: asked for together with
        // the frame, Mutter placed the client as if it had no frame yet.
        remaximizeAfterHold_ = remaximize;
        startHold(*before);
    } else {
        window_.setGeometry(clientGeometry);
    }
}

void FrameKeeper::setFlags(Qt::WindowFlags flags)
{
    if (QWindow* handle = window_.windowHandle()) {
        // Changing the flags on the native window keeps the widget mapped;
        // QWidget::setWindowFlags would re-create it and lose the client
        // position by the frame's size.
        handle->setFlags(flags);
        // Keep the widget's own record of its flags in step, without
        // telling the window system a second time.
        window_.overrideWindowFlags(handle->flags());
    } else {
        window_.setWindowFlags(flags);
    }
}

void FrameKeeper::leaveWindowManager(const WmStates& states, QRect before)
{
    leftMaximizedAt_.reset();
    remaximizeAfterHold_ = false;
    stopFollowing();
    keptStates_ = states;
    unmanagedRect_ = before;
    unmanaged_ = true;
    // Unmanaged, the window keeps its maximised client rectangle; it is
    // maximised again on its return if it has not been moved.
    if (states.maximized()) {
        leftMaximizedAt_ = before;
    }
    // Withdrawn first, then flagged: the window manager never sees it
    // undecorated, so it neither moves it nor draws it so for a moment.
    x11::withdraw(window_);
    setFlags(flagsForFrame(window_.windowFlags(), false, states) | Qt::X11BypassWindowManagerHint);
    withdrawing_ = true;
    watchEvents();
    withdrawBound_.start();
}

void FrameKeeper::showUnmanaged()
{
    if (!withdrawing_) {
        return;
    }
    withdrawing_ = false;
    withdrawBound_.stop();
    stopFollowing();
    x11::markUtility(window_);
    // The record of what the user set, for the return (and for whoever
    // reads the window's states meanwhile).
    x11::writeKeptStates(window_, keptStates_);
    // The window is its own outermost window now, where picom reads it.
    x11::setUnshadowed(window_, true);
    x11::requestClientRect(window_, unmanagedRect_);
    x11::mapRaised(window_);
    // Compositors that decided about a shadow while the window manager
    // still framed it decide again.
    x11::restateWindowType(window_);
}

void FrameKeeper::returnToWindowManager()
{
    // Toggled back before the window manager let it go: it was never shown
    // unmanaged, and is still where it was.
    const bool wasShown = !withdrawing_;
    withdrawing_ = false;
    withdrawBound_.stop();
    unmanaged_ = false;
    const std::optional<QRect> before =
        wasShown ? x11::clientRect(window_) : std::optional<QRect>(unmanagedRect_);
    const bool remaximize = leftMaximizedAt_ && before == leftMaximizedAt_;
    leftMaximizedAt_.reset();
    stopFollowing();

    x11::unmap(window_);
    setFlags(
        flagsForFrame(window_.windowFlags() & ~Qt::X11BypassWindowManagerHint, true, keptStates_));
    // Read by the window manager when it takes the window up again, in the
    // place where it is now (not one of the window manager's choosing).
    x11::writeKeptStates(window_, keptStates_);
    x11::setUnshadowed(window_, false);
    if (before) {
        x11::requestClientRect(window_, *before);
        x11::markPositionUserSpecified(window_, before->topLeft());
    }
    x11::mapRaised(window_);
    // Some window managers (Mutter) clear the record when they let the
    // unmanaged window go, which may come after it was written: asked for,
    // the states come back whatever the order.
    x11::requestKeptStates(window_, keptStates_);
    if (before) {
        remaximizeAfterHold_ = remaximize;
        startHold(*before);
    }
}

void FrameKeeper::watchEvents()
{
    if (atoms_.frameExtents == 0) {
        atoms_ = x11::watchedAtoms();
    }
    if (!filtering_) {
        QCoreApplication::instance()->installNativeEventFilter(this);
        filtering_ = true;
    }
}

void FrameKeeper::startHold(QRect deviceRect)
{
    hold_.start(deviceRect);
    // Stated at once, in client coordinates: a window manager that handles
    // the frame change first then places the client right away.
    x11::requestClientRect(window_, deviceRect);
    watchEvents();
    bound_.start();
}

void FrameKeeper::checkHold(std::optional<QRect> reported)
{
    const std::optional<QRect> now = x11::clientRect(window_);
    if (!now) {
        endHold();
        return;
    }
    switch (hold_.check(*now, reported)) {
    case FrameHold::Step::Request:
        x11::requestClientRect(window_, hold_.target());
        break;
    case FrameHold::Step::RequestAside:
        // Both at once: the window manager handles them in turn, and the
        // client passes through the rectangle aside within one answer.
        x11::requestClientRect(window_, hold_.aside());
        x11::requestClientRect(window_, hold_.target());
        break;
    case FrameHold::Step::Done:
        endHold();
        break;
    case FrameHold::Step::Wait:
        break;
    }
}

void FrameKeeper::stopFollowing()
{
    hold_.stop();
    bound_.stop();
    if (filtering_) {
        QCoreApplication::instance()->removeNativeEventFilter(this);
        filtering_ = false;
    }
}

void FrameKeeper::endHold()
{
    stopFollowing();
    if (window_.windowFlags().testFlag(Qt::FramelessWindowHint)) {
        // The window manager may have given the client a new outermost
        // window, which is where picom reads its shadow hint; and a
        // compositor that decided about a shadow while the frame was there
        // decides again.
        x11::setUnshadowed(window_, true);
        x11::restateWindowType(window_);
    }
    if (remaximizeAfterHold_) {
        remaximizeAfterHold_ = false;
        x11::requestMaximized(window_, true);
    }
}

bool FrameKeeper::nativeEventFilter(const QByteArray& eventType, void* message, qintptr* /*result*/)
{
    if (eventType != "xcb_generic_event_t") {
        return false;
    }
    const x11::FrameEvent event = x11::classifyEvent(window_, message, atoms_);
    if (withdrawing_) {
        if (event != x11::FrameEvent::None && x11::isWithdrawn(window_)) {
            showUnmanaged();
        }
        return false;
    }
    if (!hold_.isHolding()) {
        return false;
    }
    switch (event) {
    case x11::FrameEvent::Answered:
        hold_.noteAnswer();
        checkHold();
        break;
    case x11::FrameEvent::Configured:
        checkHold(x11::reportedClientRect(window_, message));
        break;
    case x11::FrameEvent::Withdrawing:
    case x11::FrameEvent::None:
        break;
    }
    return false; // Qt handles every event as usual
}

bool FrameKeeper::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &window_ && event->type() == QEvent::MouseButtonPress && hold_.isHolding()) {
        endHold();
    }
    return false;
}

} // namespace zentaro::platform
