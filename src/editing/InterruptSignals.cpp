#include "editing/InterruptSignals.h"

#include "engine/SystemCalls.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/time.h>
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
    // Each tick interrupts whatever call the program is blocked in, even one it entered just
    // after looking at `pending`.
    const itimerval ticks {{0, 100000}, {0, 100000}};
    ::setitimer(ITIMER_REAL, &ticks, nullptr);
    if (pipeFds[1] >= 0)
        (void)!::write(pipeFds[1], "!", 1);
    errno = savedErrno;
}

void onTick(int) { }

bool signalled()
{
    return pending != 0;
}

sigset_t handledSet()
{
    sigset_t set;
    sigemptyset(&set);
    for (const int signal : handled)
        sigaddset(&set, signal);
    return set;
}
} // namespace

void install()
{
    if (pipeFds[0] < 0 && ::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0)
        pipeFds[0] = pipeFds[1] = -1;
    struct sigaction action
    {
    };
    // Without SA_RESTART: a call blocked when the signal comes returns, and is not retried.
    action.sa_handler = onSignal;
    action.sa_mask = handledSet();
    for (const int signal : handled)
        ::sigaction(signal, &action, nullptr);
    action.sa_handler = onTick;
    ::sigaction(SIGALRM, &action, nullptr);
    sys::giveUpWhen(signalled);
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

Deferral::Deferral()
{
    const sigset_t set = handledSet();
    ::pthread_sigmask(SIG_BLOCK, &set, &before_);
}

Deferral::~Deferral()
{
    ::pthread_sigmask(SIG_SETMASK, &before_, nullptr);
}

} // namespace twinscan::interrupts
