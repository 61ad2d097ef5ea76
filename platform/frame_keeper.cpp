#include "platform/frame_keeper.h"

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

FrameKeeper::FrameKeeper(QWidget& window) : QObject(&window), window_(window)
{
    bound_.setSingleShot(true);
    bound_.setInterval(kHoldBoundMilliseconds);
    connect(&bound_, &QTimer::timeout, this, &FrameKeeper::endHold);
    // A press of the user's ends any hold: the window is theirs to move.
    window_.installEventFilter(this);
}

void FrameKeeper::setFramed(bool framed)
{
    const std::optional<QRect> before = x11::clientRect(window_);
    const WmStates states = x11::wmStates(window_).value_or(WmStates{});
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
    if (QWindow* handle = window_.windowHandle()) {
        // Changing the flags on the native window keeps the widget mapped;
        // QWidget::setWindowFlags would re-create it and lose the client
        // position by the frame's size.
        handle->setFlags(flagsForFrame(handle->flags(), framed, states));
        // Keep the widget's own record of its flags in step, without
        // telling the window system a second time.
        window_.overrideWindowFlags(handle->flags());
    } else {
        window_.setWindowFlags(flagsForFrame(window_.windowFlags(), framed, states));
    }

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

void FrameKeeper::startHold(QRect deviceRect)
{
    hold_.start(deviceRect);
    // Stated at once, in client coordinates: a window manager that handles
    // the frame change first then places the client right away.
    x11::requestClientRect(window_, deviceRect);
    if (extentsAtom_ == 0) {
        extentsAtom_ = x11::frameExtentsAtom();
    }
    if (!filtering_) {
        QCoreApplication::instance()->installNativeEventFilter(this);
        filtering_ = true;
    }
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
        // window, which is where picom reads its shadow hint.
        x11::setUnshadowed(window_, true);
    }
    if (remaximizeAfterHold_) {
        remaximizeAfterHold_ = false;
        x11::requestMaximized(window_, true);
    }
}

bool FrameKeeper::nativeEventFilter(const QByteArray& eventType, void* message, qintptr* /*result*/)
{
    if (!hold_.isHolding() || eventType != "xcb_generic_event_t") {
        return false;
    }
    switch (x11::classifyEvent(window_, message, extentsAtom_)) {
    case x11::FrameEvent::Answered:
        hold_.noteAnswer();
        checkHold();
        break;
    case x11::FrameEvent::Configured:
        checkHold(x11::reportedClientRect(window_, message));
        break;
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
