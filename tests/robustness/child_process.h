#pragma once
// Running a piece of a test in a forked child: to kill it at a chosen moment, or to let it drop
// its privileges or mount a file system of its own without touching the test process.

#include <cerrno>
#include <functional>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

namespace kq904::testing {

// Exit status of a child whose situation could not be set up (no permission to mount, no user
// to switch to): the test is skipped, not failed.
inline constexpr int kChildSkipped = 77;

struct ChildOutcome {
    int exitStatus = -1; // -1 when the child did not exit normally
    std::string report; // what the child wrote into its report
};

// Runs `body` in a child process and waits for it. The body returns the child's exit status and
// may fill `report`, which comes back to the parent. The child never returns into the test.
inline ChildOutcome runInChild(const std::function<int(std::string& report)>& body)
{
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return {};
    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        return {};
    }
    if (pid == 0) {
        ::close(pipeFds[0]);
        std::string report;
        const int status = body(report);
        const char* data = report.data();
        std::size_t left = report.size();
        while (left > 0) {
            const ssize_t n = ::write(pipeFds[1], data, left);
            if (n <= 0)
                break;
            data += n;
            left -= static_cast<std::size_t>(n);
        }
        ::_exit(status);
    }
    ::close(pipeFds[1]);
    ChildOutcome outcome;
    char buffer[512];
    for (;;) {
        const ssize_t n = ::read(pipeFds[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        outcome.report.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(pipeFds[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) { }
    if (WIFEXITED(status))
        outcome.exitStatus = WEXITSTATUS(status);
    return outcome;
}

} // namespace kq904::testing
