#include "temporary_directory.h"

#include <string>
#include <system_error>

#include <stdlib.h>

namespace zentaro::x11test {

TemporaryDirectory::TemporaryDirectory()
{
    std::error_code error;
    std::string pattern =
        (std::filesystem::temp_directory_path(error) / "zentaro-test.XXXXXX").string();
    if (!error && mkdtemp(pattern.data()) != nullptr) {
        path_ = std::filesystem::canonical(pattern, error);
    }
}

TemporaryDirectory::~TemporaryDirectory()
{
    if (!path_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
}

} // namespace zentaro::x11test
