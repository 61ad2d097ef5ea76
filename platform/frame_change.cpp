#include "platform/frame_change.h"

namespace zentaro::platform {

Qt::WindowFlags flagsForFrame(Qt::WindowFlags flags, bool framed, const WmStates& states)
{
    flags.setFlag(Qt::FramelessWindowHint, !framed);
    flags.setFlag(Qt::WindowStaysOnTopHint, states.above);
    flags.setFlag(Qt::WindowStaysOnBottomHint, states.below && !states.above);
    return flags;
}

void FrameHold::start(QRect target)
{
    target_ = target;
    holding_ = true;
    answered_ = false;
    steppedAside_ = false;
    requests_ = 0;
}

void FrameHold::stop()
{
    holding_ = false;
}

FrameHold::Step FrameHold::check(QRect current, std::optional<QRect> reported)
{
    if (!holding_) {
        return Step::Done;
    }
    if (current != target_) {
        if (steppedAside_ && current == aside()) {
            return Step::Wait; // the request for the target follows
        }
        // Once per hold, outside the bound: the requests so far could not
        // have moved the client.
        if (reported == target_ && !steppedAside_) {
            steppedAside_ = true;
            return Step::RequestAside;
        }
        if (requests_ == kMaxRequests) {
            stop();
            return Step::Done;
        }
        ++requests_;
        return Step::Request;
    }
    if (answered_) {
        stop();
        return Step::Done;
    }
    return Step::Wait;
}

} // namespace zentaro::platform
