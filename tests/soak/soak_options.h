// How long a soak session runs: the counts of its actions, from the command
// line, so that the short form in CI and the full form share one program.
#pragma once

#include <QStringList>

#include <optional>
#include <string>

namespace zentaro::soak {

struct SoakOptions
{
    /// Each of the nine menu windows is opened and closed this many times.
    int cycles = 200;
    /// Toggle clicks over the whole session, spread over the cycles.
    int toggles = 2000;
    /// Drags by a bar over the whole session, spread over the cycles.
    int drags = 500;
    /// Cycles run before the resident size is first measured.
    int warmupCycles = 20;
    /// Every n-th toggle is a real click through the X server.
    int realToggleEvery = 10;
    /// The most the memory may grow from the warm-up to the end: the heap
    /// in use (the resident size where the allocator does not tell).
    long maxGrowthKib = 2048;
};

/// Reads the options from `arguments` (the program's, its name first).
/// Returns nullopt, with a message in `error`, for an unknown option or a
/// count out of range.
std::optional<SoakOptions> parseSoakOptions(const QStringList& arguments, std::string& error);

} // namespace zentaro::soak
