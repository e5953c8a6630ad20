#pragma once

#include <csignal>

namespace twinscan::interrupts {

// SIGINT, SIGTERM and SIGHUP end a save without leaving its temporary file behind. The first such
// signal removes a named temporary file at once, from the handler, and is noted for the program,
// which stops its job like a confirmed Stop and closes. Calls blocked on a pipe or a FIFO are cut
// short then, and again every tenth of a second after it, so that the job ends whatever it waits
// for. A second signal ends the program at once.
void install();

// The first of those signals that arrived, or 0.
int pendingSignal();

// A descriptor that becomes readable when a signal arrives, for an event loop to watch; -1 before
// install(). Each signal writes one byte to it.
int notifierFd();

// The temporary file the handler removes: `name` (at most 63 bytes) in the folder open as
// `folderFd`. Registering replaces the one before; both are safe to call at any time.
void registerTemporary(int folderFd, const char *name);
void unregisterTemporary();

// While one lives, those signals wait: a save commits whole or not at all, and reports what it did.
class Deferral
{
public:
    Deferral();
    ~Deferral();
    Deferral(const Deferral &) = delete;
    Deferral &operator=(const Deferral &) = delete;

private:
    sigset_t before_;
};

} // namespace twinscan::interrupts
