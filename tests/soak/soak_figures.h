// What a soak session did and measured, printed at its end.
#pragma once

#include <chrono>
#include <iosfwd>
#include <optional>

namespace zentaro::soak {

/// One reading of the memory, taken with only the main window open.
struct MemoryReading
{
    long rssKib = 0;
    /// The heap in use, where the allocator tells (heapInUseKib).
    std::optional<long> heapKib;
};

struct SoakFigures
{
    long opens = 0;
    long closes = 0;
    long toggles = 0;
    long realToggles = 0;
    long drags = 0;
    /// Drags whose window followed only after a further motion of the
    /// pointer (the window manager took the move late).
    long dragNudges = 0;
    /// Windows whose region was compared with the union of their element
    /// boxes, in the program and on the X server.
    long regionChecks = 0;
    long steps = 0;

    std::optional<MemoryReading> warmup;
    std::optional<MemoryReading> end;
    long maxGrowthKib = 0;

    std::chrono::steady_clock::time_point started = std::chrono::steady_clock::now();
    std::optional<std::chrono::steady_clock::time_point> warmedUp;
    std::optional<std::chrono::steady_clock::time_point> ended;

    long actions() const { return opens + closes + toggles + drags; }
    std::optional<long> rssGrowthKib() const;
    std::optional<long> heapGrowthKib() const;
    /// The growth held against the limit: the heap's, where the allocator
    /// tells, else the resident size's. The resident size moves by pages as
    /// memory is taken and given back (in a sanitized build it is mostly the
    /// sanitizer's own quarantine), too coarse for a leak of some KiB a
    /// cycle in a short run.
    std::optional<long> judgedGrowthKib() const;
    /// Whether the growth was measured and stayed within the limit.
    bool memorySteady() const;
};

/// The figures, one fact a line, each line starting "soak: ".
void print(std::ostream& out, const SoakFigures& figures);

} // namespace zentaro::soak
