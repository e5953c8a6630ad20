#include "editing/InterruptSignals.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace twinscan::interrupts {

namespace {
constexpr int handled[] = {SIGINT, SIGTERM, SIGHUP};

// Everything the handler touches: plain memory and flags, read only through async-signal-safe
// calls.
volatile std::sig_atomic_t pending = 0;
volatile std::sig_atomic_t haveTemporary = 0;
int temporaryFolder = -1;
char temporaryName[64];
int pipeFds[2] = {-1, -1};

void onSignal(int signal)
{
    const int savedErrno = errno;
    if (haveTemporary) {
        haveTemporary = 0;
        ::unlinkat(temporaryFolder, temporaryName, 0);
    }
    if (pending != 0) {
        // Blocked until the handler returns, then delivered with the default action.
        std::signal(signal, SIG_DFL);
        ::raise(signal);
    }
    pending = signal;
    if (pipeFds[1] >= 0)
        (void)!::write(pipeFds[1], "!", 1);
    errno = savedErrno;
}
} // namespace

void install()
{
    if (pipeFds[0] < 0 && ::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0)
        pipeFds[0] = pipeFds[1] = -1;
    struct sigaction action
    {
    };
    action.sa_handler = onSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (const int signal : handled)
        sigaddset(&action.sa_mask, signal);
    for (const int signal : handled)
        ::sigaction(signal, &action, nullptr);
}

int pendingSignal()
{
    return pending;
}

int notifierFd()
{
    return pipeFds[0];
}

void registerTemporary(int folderFd, const char *name)
{
    haveTemporary = 0;
    std::atomic_signal_fence(std::memory_order_seq_cst);
    temporaryFolder = folderFd;
    std::strncpy(temporaryName, name, sizeof temporaryName - 1);
    temporaryName[sizeof temporaryName - 1] = '\0';
    std::atomic_signal_fence(std::memory_order_seq_cst);
    haveTemporary = 1;
}

void unregisterTemporary()
{
    haveTemporary = 0;
    std::atomic_signal_fence(std::memory_order_seq_cst);
}

} // namespace twinscan::interrupts
