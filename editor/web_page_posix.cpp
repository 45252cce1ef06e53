// The web page opener on Linux: xdg-open, started in a grandchild process so
// the host neither waits for the browser nor inherits a zombie. A pipe closed
// by the exec tells whether the opener could be started at all.

#include "editor/web_page.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// In the intermediate child: starts the opener and leaves at once. Only
// calls that are safe after fork in a threaded process.
[[noreturn]] void StartOpener(const char* address, int reportFd)
{
    const pid_t pid = fork();
    if (pid == 0) {
        char opener[] = "xdg-open";
        char* const argv[] = {opener, const_cast<char*>(address), nullptr};
        execvp(opener, argv);
        const int error = errno;
        (void)!write(reportFd, &error, sizeof error);
        _exit(127);
    }
    if (pid < 0) {
        const int error = errno;
        (void)!write(reportFd, &error, sizeof error);
    }
    _exit(0);
}

} // namespace

bool OpenWebAddress(const char* address)
{
    if (!address || !*address)
        return false;
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0)
        return false;
    const pid_t child = fork();
    if (child == 0) {
        close(report[0]);
        StartOpener(address, report[1]);
    }
    close(report[1]);
    if (child < 0) {
        close(report[0]);
        return false;
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    // Nothing to read: the exec closed the pipe, the opener runs.
    int error = 0;
    ssize_t got = 0;
    do {
        got = read(report[0], &error, sizeof error);
    } while (got < 0 && errno == EINTR);
    close(report[0]);
    return got == 0;
}
