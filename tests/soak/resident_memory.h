// This process's memory, as the kernel and the heap's allocator see it.
#pragma once

#include <optional>

namespace zentaro::soak {

/// VmRSS from /proc/self/status, in KiB; nullopt where it cannot be read.
std::optional<long> residentSizeKib();

/// The heap the program holds now, in KiB: the blocks allocated and not
/// freed, as the allocator counts them (glibc's, or AddressSanitizer's in a
/// sanitized build, without the freed blocks it keeps in quarantine). Far
/// steadier than the resident size, which moves by whole pages as the
/// allocator and the libraries take and give back memory. nullopt where no
/// allocator tells.
std::optional<long> heapInUseKib();

} // namespace zentaro::soak
