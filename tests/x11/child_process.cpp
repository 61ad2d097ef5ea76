#include "child_process.h"

#include "wait.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace zentaro::x11test {
namespace {

std::string variableName(const std::string& entry)
{
    return entry.substr(0, entry.find('='));
}

/// This process's environment with `extra` added, later entries winning.
std::vector<std::string> mergedEnvironment(const std::vector<std::string>& extra)
{
    std::vector<std::string> result;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text(*entry);
        bool replaced = false;
        for (const std::string& e : extra) {
            replaced = replaced || variableName(e) == variableName(text);
        }
        if (!replaced) {
            result.push_back(text);
        }
    }
    result.insert(result.end(), extra.begin(), extra.end());
    return result;
}

std::vector<char*> pointers(std::vector<std::string>& strings)
{
    std::vector<char*> result;
    for (std::string& s : strings) {
        result.push_back(s.data());
    }
    result.push_back(nullptr);
    return result;
}

ExitStatus decode(int waitStatus)
{
    ExitStatus status;
    status.exited = WIFEXITED(waitStatus);
    status.code = status.exited ? WEXITSTATUS(waitStatus) : 0;
    status.signal = WIFSIGNALED(waitStatus) ? WTERMSIG(waitStatus) : 0;
    return status;
}

/// posix_spawn's file actions, released at the end of the scope.
class FileActions
{
public:
    FileActions() { posix_spawn_file_actions_init(&actions_); }
    ~FileActions() { posix_spawn_file_actions_destroy(&actions_); }
    FileActions(const FileActions&) = delete;
    FileActions& operator=(const FileActions&) = delete;
    posix_spawn_file_actions_t* get() { return &actions_; }

private:
    posix_spawn_file_actions_t actions_{};
};

} // namespace

ChildProcess::ChildProcess(const ChildOptions& options)
{
    if (options.argv.empty()) {
        throw std::runtime_error("ChildProcess: no program given");
    }
    FileActions actions;
    int pipeFds[2] = {-1, -1};
    if (options.captureStdout) {
        if (pipe2(pipeFds, O_CLOEXEC) != 0) {
            throw std::runtime_error("ChildProcess: pipe2 failed");
        }
        posix_spawn_file_actions_adddup2(actions.get(), pipeFds[1], STDOUT_FILENO);
    }
    // A socket rather than a pipe: writing to a child that has ended then
    // fails with EPIPE (MSG_NOSIGNAL) instead of raising SIGPIPE here.
    int stdinFds[2] = {-1, -1};
    if (options.feedStdin) {
        if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, stdinFds) != 0) {
            throw std::runtime_error("ChildProcess: socketpair failed");
        }
        posix_spawn_file_actions_adddup2(actions.get(), stdinFds[1], STDIN_FILENO);
    }
    if (!options.workingDirectory.empty()) {
        posix_spawn_file_actions_addchdir_np(actions.get(), options.workingDirectory.c_str());
    }
    std::vector<std::string> args = options.argv;
    std::vector<std::string> env = mergedEnvironment(options.extraEnvironment);
    auto argp = pointers(args);
    auto envp = pointers(env);
    const int error =
        posix_spawnp(&pid_, argp[0], actions.get(), nullptr, argp.data(), envp.data());
    if (options.captureStdout) {
        close(pipeFds[1]);
        stdoutFd_ = pipeFds[0];
        fcntl(stdoutFd_, F_SETFL, O_NONBLOCK);
    }
    if (options.feedStdin) {
        close(stdinFds[1]);
        stdinFd_ = stdinFds[0];
    }
    if (error != 0) {
        if (stdoutFd_ >= 0) {
            close(stdoutFd_);
        }
        if (stdinFd_ >= 0) {
            close(stdinFd_);
        }
        throw std::runtime_error("cannot start " + options.argv[0] + ": " + std::strerror(error));
    }
}

ChildProcess::~ChildProcess()
{
    if (!detached_ && !exitStatus()) {
        kill(pid_, SIGKILL);
        int waitStatus = 0;
        waitpid(pid_, &waitStatus, 0);
    }
    if (stdoutFd_ >= 0) {
        close(stdoutFd_);
    }
    if (stdinFd_ >= 0) {
        close(stdinFd_);
    }
}

bool ChildProcess::writeToStdin(std::string_view text)
{
    while (!text.empty() && stdinFd_ >= 0) {
        const ssize_t n = send(stdinFd_, text.data(), text.size(), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        text.remove_prefix(static_cast<std::size_t>(n));
    }
    return text.empty();
}

const std::string& ChildProcess::output()
{
    if (stdoutFd_ < 0) {
        return output_;
    }
    char buffer[4096];
    for (;;) {
        const ssize_t n = read(stdoutFd_, buffer, sizeof buffer);
        if (n > 0) {
            output_.append(buffer, static_cast<std::size_t>(n));
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            break; // EAGAIN: nothing more for now; 0: the child closed it
        }
    }
    return output_;
}

std::optional<ExitStatus> ChildProcess::exitStatus()
{
    if (!status_ && !detached_) {
        int waitStatus = 0;
        if (waitpid(pid_, &waitStatus, WNOHANG) == pid_) {
            status_ = decode(waitStatus);
        }
    }
    return status_;
}

std::optional<ExitStatus> ChildProcess::waitForExit(std::chrono::milliseconds timeout)
{
    // Short-lived helpers (xdotool) end within milliseconds: look often.
    constexpr std::chrono::milliseconds kExitPollInterval{1};
    waitUntil([&] { return exitStatus().has_value(); }, timeout, kExitPollInterval);
    return status_;
}

void ChildProcess::terminate()
{
    if (!exitStatus()) {
        kill(pid_, SIGTERM);
    }
}

void ChildProcess::detach()
{
    detached_ = true;
}

std::optional<ExitStatus> runToEnd(const std::vector<std::string>& argv,
                                   std::chrono::milliseconds timeout)
{
    ChildProcess child(ChildOptions{argv, {}, {}, false, false});
    return child.waitForExit(timeout);
}

} // namespace zentaro::x11test
