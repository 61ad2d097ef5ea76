#include "step_runner.h"

namespace zentaro::soak {

namespace {

/// Between two runs of a waiting step: long enough to leave the two shared
/// cores to the X server and the window manager, short next to any wait.
constexpr std::chrono::milliseconds kWaitInterval{2};

} // namespace

StepRunner::StepRunner()
{
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &StepRunner::tick);
}

void StepRunner::append(Step step)
{
    plan_.push_back(std::move(step));
}

void StepRunner::insertNext(std::vector<Step> steps)
{
    plan_.insert(plan_.begin(), std::make_move_iterator(steps.begin()),
                 std::make_move_iterator(steps.end()));
}

void StepRunner::start()
{
    timer_.start(0);
}

void StepRunner::tick()
{
    if (!current_) {
        if (plan_.empty()) {
            emit finished();
            return;
        }
        current_ = std::move(plan_.front());
        plan_.pop_front();
        deadline_ = std::chrono::steady_clock::now() + current_->timeout;
    }
    const StepResult result = current_->run();
    if (result.isFailure()) {
        fail(current_->what + ": " + result.why());
        return;
    }
    const bool timedOut = result.isWaiting() && std::chrono::steady_clock::now() >= deadline_;
    if (timedOut && !current_->optional) {
        fail(current_->what + ": timed out after " + std::to_string(current_->timeout.count()) +
             " ms" + (result.why().empty() ? "" : "; still " + result.why()));
        return;
    }
    if (result.isDone() || timedOut) {
        finishStep();
        timer_.start(0);
        return;
    }
    timer_.start(kWaitInterval);
}

void StepRunner::finishStep()
{
    current_.reset();
    ++stepsDone_;
}

void StepRunner::fail(const std::string& why)
{
    failure_ = why;
    current_.reset();
    plan_.clear();
    emit finished();
}

} // namespace zentaro::soak
