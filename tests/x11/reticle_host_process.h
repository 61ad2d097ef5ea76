// The reticle test host (reticle_host) as a child process under the test's
// X session, and the client windows it shows.
#pragma once

#include "child_process.h"
#include "x_connection.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace zentaro::x11test {

struct HostOptions
{
    /// The reticle windows to show ("Form3", ...), one each.
    std::vector<std::string> windowNames;
    /// Print every request to open a file as "OPEN <path>" instead of
    /// asking the desktop.
    bool reportOpenRequests = false;
    /// The host's current directory; empty keeps the test's.
    std::string workingDirectory;
};

class ReticleHostProcess
{
public:
    ReticleHostProcess(XConnection& x, const HostOptions& options);

    /// Waits until the host has shown every window and each one is mapped,
    /// found by its caption, placed and (under a window manager) framed.
    ::testing::AssertionResult waitUntilShown();

    /// The X client window of `windowName` (after waitUntilShown).
    XId window(std::string_view windowName) const;
    /// The resolution the host converts that window's twips at.
    double dpi(std::string_view windowName) const;

    ChildProcess& process() { return process_; }
    /// The lines of the host's stdout so far that start with `prefix`.
    std::vector<std::string> linesStartingWith(std::string_view prefix);

private:
    bool allReported();

    XConnection& x_;
    std::vector<std::string> windowNames_;
    ChildProcess process_;
    std::map<std::string, XId, std::less<>> windows_;
    std::map<std::string, double, std::less<>> dpis_;
};

} // namespace zentaro::x11test
