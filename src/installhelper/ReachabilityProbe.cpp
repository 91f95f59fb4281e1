#include "installhelper/ReachabilityProbe.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace jorvo::installhelper {
namespace {

constexpr std::chrono::milliseconds kPollInterval{10};

// Runs in the forked child, so it may only make async-signal-safe calls.
[[noreturn]] void CheckInChild(const char* folder, const char* settingsFile)
{
    struct stat info {};
    if (folder[0] != '\0' && (::stat(folder, &info) != 0 || !S_ISDIR(info.st_mode)))
        ::_exit(1);
    if (::stat(settingsFile, &info) != 0)
        ::_exit(errno == ENOENT ? 0 : 1);
    const int descriptor = ::open(settingsFile, O_RDONLY);
    if (descriptor < 0)
        ::_exit(1);
    char first = 0;
    const ssize_t got = ::read(descriptor, &first, 1);
    ::_exit(got < 0 ? 1 : 0);
}

// The child's exit status once it ended, or -1 when it did not end within `timeout` (it is then
// killed; a child stuck in the kernel is left to the system to reap).
int WaitForChild(pid_t child, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        int status = 0;
        const pid_t ended = ::waitpid(child, &status, WNOHANG);
        if (ended == child)
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        if (ended < 0 && errno != EINTR)
            return -1;
        if (std::chrono::steady_clock::now() >= deadline)
            break;
        std::this_thread::sleep_for(kPollInterval);
    }
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, WNOHANG);
    return -1;
}

} // namespace

bool ProbeReachable(const std::string& folder, const std::string& settingsFile, std::chrono::milliseconds timeout)
{
    const pid_t child = ::fork();
    if (child < 0)
        return false;
    if (child == 0)
        CheckInChild(folder.c_str(), settingsFile.c_str());
    return WaitForChild(child, timeout) == 0;
}

} // namespace jorvo::installhelper
