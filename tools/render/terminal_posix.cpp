#include "tools/render/terminal.h"

#include <csignal>
#include <initializer_list>
#include <sys/ioctl.h>
#include <unistd.h>

namespace render {

namespace {

volatile std::sig_atomic_t interrupted = 0;

extern "C" void OnInterrupt(int)
{
    interrupted = 1;
}

} // namespace

bool StderrIsTerminal()
{
    return isatty(STDERR_FILENO) == 1;
}

int StderrColumns()
{
    winsize size{};
    if (ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col >= 20)
        return size.ws_col;
    return 80;
}

void CatchInterrupts()
{
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    // Every signal whose default is to end the process, so that none of them
    // leaves an unfinished file behind.
    for (const int sig : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE, SIGUSR1, SIGUSR2, SIGALRM})
        sigaction(sig, &action, nullptr);
    // Over the file-size limit a write then fails with "File too large" and
    // the render stops with that message instead of being killed.
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGXFSZ, &ignore, nullptr);
}

bool InterruptRequested()
{
    return interrupted != 0;
}

bool StdoutIsTerminal()
{
    return isatty(STDOUT_FILENO) == 1;
}

int StdoutDescriptor()
{
    return STDOUT_FILENO;
}

void IgnoreBrokenPipe()
{
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGPIPE, &ignore, nullptr);
}

} // namespace render
