#include "platform/session.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace zentaro::platform {

namespace {

bool nonEmpty(const std::optional<std::string>& value)
{
    return value.has_value() && !value->empty();
}

std::optional<std::string> environmentValue(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
}

} // namespace

PlatformDecision decidePlatform(const SessionFacts& facts)
{
    if (nonEmpty(facts.qtPlatform) || facts.platformArgument) {
        return PlatformDecision::KeepDefault;
    }
    const bool wayland = nonEmpty(facts.waylandDisplay) || facts.sessionType == "wayland";
    if (!wayland) {
        return PlatformDecision::KeepDefault;
    }
    return nonEmpty(facts.x11Display) ? PlatformDecision::UseX11 : PlatformDecision::NoX11Available;
}

SessionFacts currentSessionFacts(int argc, char** argv)
{
    SessionFacts facts;
    facts.qtPlatform = environmentValue("QT_QPA_PLATFORM");
    facts.waylandDisplay = environmentValue("WAYLAND_DISPLAY");
    facts.sessionType = environmentValue("XDG_SESSION_TYPE");
    facts.x11Display = environmentValue("DISPLAY");
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0 ||
            std::strncmp(argv[i], "-platform=", 10) == 0) {
            facts.platformArgument = true;
        }
    }
    return facts;
}

bool prepareWindowSystem(int argc, char** argv)
{
    switch (decidePlatform(currentSessionFacts(argc, argv))) {
    case PlatformDecision::KeepDefault:
        return true;
    case PlatformDecision::UseX11:
        ::setenv("QT_QPA_PLATFORM", "xcb", 1);
        return true;
    case PlatformDecision::NoX11Available:
        std::fputs("zentaro: this Wayland session has no X server (XWayland) to place and shape "
                   "reticle windows on; enable XWayland or start an X11 session.\n",
                   stderr);
        return false;
    }
    return true;
}

} // namespace zentaro::platform
