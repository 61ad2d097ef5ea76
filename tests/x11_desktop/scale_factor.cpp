#include "scale_factor.h"

#include <cstdlib>
#include <sstream>

namespace zentaro::x11test {
namespace {

constexpr const char* kVariable = "QT_SCALE_FACTOR";

} // namespace

ScopedScaleFactor::ScopedScaleFactor(double factor)
{
    if (const char* value = std::getenv(kVariable)) {
        previous_ = value;
    }
    std::ostringstream text;
    text << factor;
    setenv(kVariable, text.str().c_str(), 1);
}

ScopedScaleFactor::~ScopedScaleFactor()
{
    if (previous_) {
        setenv(kVariable, previous_->c_str(), 1);
    } else {
        unsetenv(kVariable);
    }
}

} // namespace zentaro::x11test
