// Runs a soak session's plan one step at a time from the event loop, so that
// the program under test handles its events between any two steps.
//
// A step either finishes, asks to be run again at a later turn of the event
// loop (it waits for a condition, such as the X server showing a new shape),
// or fails. A step that keeps waiting past its deadline fails with its own
// description. A step may put further steps in front of the rest of the
// plan, so a long session is planned one part at a time.
#pragma once

#include <QObject>
#include <QTimer>

#include <chrono>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zentaro::soak {

/// What a step answers each time it runs.
class StepResult
{
public:
    static StepResult done() { return StepResult(Kind::Done, {}); }
    /// Run again later; `why` says what is still missing, for the report
    /// when the step runs out of time.
    static StepResult wait(std::string why = {}) { return StepResult(Kind::Wait, std::move(why)); }
    static StepResult failed(std::string why) { return StepResult(Kind::Failed, std::move(why)); }
    /// done() when `condition` holds, else wait().
    static StepResult doneWhen(bool condition) { return condition ? done() : wait(); }

    bool isDone() const { return kind_ == Kind::Done; }
    bool isWaiting() const { return kind_ == Kind::Wait; }
    bool isFailure() const { return kind_ == Kind::Failed; }
    const std::string& why() const { return why_; }

private:
    enum class Kind
    {
        Done,
        Wait,
        Failed
    };
    StepResult(Kind kind, std::string why) : kind_(kind), why_(std::move(why)) {}

    Kind kind_;
    std::string why_;
};

/// Long enough for a loaded CI machine under the sanitizers.
inline constexpr std::chrono::milliseconds kDefaultStepTimeout{10000};

struct Step
{
    std::string what;
    std::function<StepResult()> run;
    std::chrono::milliseconds timeout = kDefaultStepTimeout;
    /// Whether a step that runs out of time may be dropped instead of failing
    /// the session (best-effort cleanup).
    bool optional = false;
};

class StepRunner : public QObject
{
    Q_OBJECT

public:
    StepRunner();

    /// Adds `step` at the end of the plan.
    void append(Step step);
    /// Puts `steps` in front of the rest of the plan, in their order.
    void insertNext(std::vector<Step> steps);

    /// Starts running the plan once the event loop runs.
    void start();

    bool hasFailed() const { return !failure_.empty(); }
    const std::string& failure() const { return failure_; }
    /// How many steps have finished.
    long stepsDone() const { return stepsDone_; }

signals:
    /// The plan has run out, or a step has failed.
    void finished();

private:
    void tick();
    void finishStep();
    void fail(const std::string& why);

    std::deque<Step> plan_;
    // The step being run, out of the plan so that steps it inserts cannot
    // move it while it runs.
    std::optional<Step> current_;
    QTimer timer_;
    std::chrono::steady_clock::time_point deadline_;
    std::string failure_;
    long stepsDone_ = 0;
};

} // namespace zentaro::soak
