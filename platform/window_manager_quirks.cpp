#include "platform/window_manager_quirks.h"

#include <array>

namespace zentaro::platform {

bool keepsAboveWindowsOverFullScreen(std::string_view windowManagerName)
{
    // "Mutter", "Mutter (Muffin)", "GNOME Shell", "Xfwm4".
    constexpr std::array<std::string_view, 3> kPrefixes = {"Mutter", "GNOME Shell", "Xfwm4"};
    for (const std::string_view prefix : kPrefixes) {
        if (windowManagerName.starts_with(prefix)) {
            return true;
        }
    }
    return false;
}

} // namespace zentaro::platform
