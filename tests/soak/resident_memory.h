// This process's memory, as the kernel and the sanitizer's allocator see it.
#pragma once

#include <optional>

namespace zentaro::soak {

/// VmRSS from /proc/self/status, in KiB; nullopt where it cannot be read.
std::optional<long> residentSizeKib();

/// The heap the program holds now, in KiB, as AddressSanitizer's allocator
/// counts it: without the freed blocks it keeps in quarantine, which make up
/// much of the resident size of a sanitized build. nullopt in a build
/// without AddressSanitizer.
std::optional<long> sanitizerHeapKib();

} // namespace zentaro::soak
