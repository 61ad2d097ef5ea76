// Sets QT_SCALE_FACTOR in this process's environment for the reticle hosts
// started while it lives, and restores the previous value afterwards. The
// test's own QApplication, created before, is not affected.
#pragma once

#include <optional>
#include <string>

namespace zentaro::x11test {

class ScopedScaleFactor
{
public:
    explicit ScopedScaleFactor(double factor);
    ~ScopedScaleFactor();
    ScopedScaleFactor(const ScopedScaleFactor&) = delete;
    ScopedScaleFactor& operator=(const ScopedScaleFactor&) = delete;

private:
    std::optional<std::string> previous_;
};

} // namespace zentaro::x11test
