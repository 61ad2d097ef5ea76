// Polling with a deadline: X geometry, shapes, stacking and child processes
// change asynchronously, so tests wait for the condition they expect instead
// of sleeping for a guessed time.
#pragma once

#include <chrono>
#include <thread>

namespace zentaro::x11test {

/// Long enough for a loaded CI machine, short enough to fail fast.
inline constexpr std::chrono::milliseconds kDefaultWait{5000};
/// Interval between two checks of a condition.
inline constexpr std::chrono::milliseconds kPollInterval{10};

/// Checks `condition` until it holds or `timeout` has passed; returns
/// whether it held. The condition is checked once more at the deadline, so
/// a slow last poll does not fail a condition that has become true.
template <typename Condition>
bool waitUntil(Condition&& condition, std::chrono::milliseconds timeout = kDefaultWait,
               std::chrono::milliseconds interval = kPollInterval)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        if (condition()) {
            return true;
        }
        std::this_thread::sleep_for(interval);
    }
    return condition();
}

} // namespace zentaro::x11test
