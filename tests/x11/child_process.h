// A child process started without a shell (posix_spawnp), for tests only:
// the program and its arguments go to exec as they are, never through a
// command line that a shell would parse.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zentaro::x11test {

struct ChildOptions
{
    /// The program (looked up in PATH) followed by its arguments.
    std::vector<std::string> argv;
    /// "NAME=value" entries added to (or replacing in) this process's environment.
    std::vector<std::string> extraEnvironment;
    /// The child's working directory; empty keeps this process's.
    std::string workingDirectory;
    /// Whether the child's stdout is kept for output(); otherwise it is shared
    /// with this process.
    bool captureStdout = false;
    /// Whether the child's stdin is a stream this process writes with
    /// writeToStdin(); otherwise it is shared with this process.
    bool feedStdin = false;
};

struct ExitStatus
{
    bool exited = false; // true: ended by exit(), `code` holds the status
    int code = 0;
    int signal = 0; // the signal that ended it when !exited
    bool isSuccess() const { return exited && code == 0; }
};

class ChildProcess
{
public:
    /// Starts the child; throws std::runtime_error when it cannot.
    explicit ChildProcess(const ChildOptions& options);
    /// Kills (SIGKILL) and reaps a child that still runs.
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return pid_; }

    /// Everything the child has written to stdout so far (captureStdout).
    const std::string& output();
    /// Writes `text` to the child's stdin (feedStdin); false when the child
    /// has closed it or ended.
    bool writeToStdin(std::string_view text);

    /// The exit status once the child has ended, without waiting.
    std::optional<ExitStatus> exitStatus();
    /// Waits up to `timeout` for the child to end.
    std::optional<ExitStatus> waitForExit(std::chrono::milliseconds timeout);

    /// Sends SIGTERM.
    void terminate();
    /// Lets the child outlive this object: it is neither killed nor reaped.
    void detach();

private:
    pid_t pid_ = -1;
    int stdoutFd_ = -1;
    int stdinFd_ = -1;
    std::string output_;
    std::optional<ExitStatus> status_;
    bool detached_ = false;
};

/// Runs `argv` to its end (at most `timeout`, then it is killed) and returns
/// its exit status, or nullopt when it did not end in time.
std::optional<ExitStatus> runToEnd(const std::vector<std::string>& argv,
                                   std::chrono::milliseconds timeout);

} // namespace zentaro::x11test
