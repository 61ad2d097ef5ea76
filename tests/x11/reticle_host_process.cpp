#include "reticle_host_process.h"

#include "designs/designs.h"
#include "wait.h"
#include "window_query.h"

#include <cstdlib>
#include <sstream>

namespace zentaro::x11test {
namespace {

ChildOptions hostOptions(const HostOptions& options)
{
    ChildOptions child;
    // The host built with the tests, unless ZENTARO_RETICLE_HOST names another
    // build of it (to try the tests on a changed program).
    const char* host = std::getenv("ZENTARO_RETICLE_HOST");
    child.argv.push_back(host != nullptr && *host != '\0' ? host : ZENTARO_RETICLE_HOST);
    child.argv.insert(child.argv.end(), options.windowNames.begin(), options.windowNames.end());
    if (options.reportOpenRequests) {
        child.extraEnvironment.push_back("ZENTARO_TEST_REPORT_OPEN=1");
    }
    child.workingDirectory = options.workingDirectory;
    child.captureStdout = true;
    return child;
}

} // namespace

ReticleHostProcess::ReticleHostProcess(XConnection& x, const HostOptions& options)
    : x_(x), windowNames_(options.windowNames), process_(hostOptions(options))
{
}

std::vector<std::string> ReticleHostProcess::linesStartingWith(std::string_view prefix)
{
    std::vector<std::string> result;
    std::istringstream lines(process_.output());
    std::string line;
    while (std::getline(lines, line)) {
        if (line.starts_with(prefix)) {
            result.push_back(line);
        }
    }
    return result;
}

bool ReticleHostProcess::allReported()
{
    for (const std::string& line : linesStartingWith("WINDOW ")) {
        std::istringstream fields(line.substr(7));
        std::string name;
        double dpi = 0;
        if (fields >> name >> dpi) {
            dpis_[name] = dpi;
        }
    }
    return dpis_.size() == windowNames_.size();
}

::testing::AssertionResult ReticleHostProcess::waitUntilShown()
{
    if (!waitUntil([&] { return allReported() || process_.exitStatus(); })) {
        return ::testing::AssertionFailure()
               << "the host reported " << dpis_.size() << " of " << windowNames_.size()
               << " windows; stdout: " << process_.output();
    }
    if (const auto status = process_.exitStatus()) {
        return ::testing::AssertionFailure() << "the host ended early with status " << status->code
                                             << " (signal " << status->signal << ")";
    }
    for (const std::string& name : windowNames_) {
        const ReticleDesign* design = designs::findByWindowName(name);
        if (design == nullptr) {
            return ::testing::AssertionFailure() << "no design for " << name;
        }
        std::vector<XId> found;
        const bool shown = waitUntil([&] {
            found = findClientWindowsByTitle(x_, design->caption);
            return found.size() == 1 && isPlacedAndSettled(x_, found.front());
        });
        if (!shown) {
            return ::testing::AssertionFailure()
                   << "window \"" << design->caption << "\" of " << name
                   << " not shown: " << found.size() << " client windows with that title";
        }
        windows_[name] = found.front();
    }
    return ::testing::AssertionSuccess();
}

XId ReticleHostProcess::window(std::string_view windowName) const
{
    const auto it = windows_.find(windowName);
    return it != windows_.end() ? it->second : 0;
}

double ReticleHostProcess::dpi(std::string_view windowName) const
{
    const auto it = dpis_.find(windowName);
    return it != dpis_.end() ? it->second : 0.0;
}

} // namespace zentaro::x11test
