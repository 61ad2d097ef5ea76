// A fresh, empty directory for one test, removed with everything in it at
// the end of its scope.
#pragma once

#include <filesystem>

namespace zentaro::x11test {

class TemporaryDirectory
{
public:
    TemporaryDirectory();
    ~TemporaryDirectory();
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

    /// The directory's canonical path; empty when it could not be made.
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

} // namespace zentaro::x11test
