#include "resident_memory.h"

#include <fstream>
#include <sstream>
#include <string>

#if defined(__SANITIZE_ADDRESS__)
#include <cstddef>

// AddressSanitizer's runtime has it; GCC ships no header that declares it.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#elif defined(__GLIBC__)
#include <malloc.h>
#endif

namespace zentaro::soak {

std::optional<long> residentSizeKib()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        // "VmRSS:\t   41234 kB"
        if (line.rfind("VmRSS:", 0) == 0) {
            std::istringstream fields(line.substr(6));
            long kib = 0;
            std::string unit;
            if (fields >> kib >> unit && unit == "kB") {
                return kib;
            }
            return std::nullopt;
        }
    }
    return std::nullopt;
}

std::optional<long> heapInUseKib()
{
    constexpr long kBytesPerKib = 1024;
#if defined(__SANITIZE_ADDRESS__)
    return static_cast<long>(__sanitizer_get_current_allocated_bytes()) / kBytesPerKib;
#elif defined(__GLIBC__)
    // Blocks in use from the arenas, and the large ones mapped on their own.
    const struct mallinfo2 info = mallinfo2();
    return static_cast<long>((info.uordblks + info.hblkhd) / kBytesPerKib);
#else
    return std::nullopt;
#endif
}

} // namespace zentaro::soak
