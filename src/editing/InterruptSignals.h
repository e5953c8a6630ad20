#pragma once

namespace twinscan::interrupts {

// SIGINT, SIGTERM and SIGHUP end a save without leaving its temporary file behind. The first such
// signal removes the temporary file at once, from the handler, and is noted for the program,
// which stops its job like a confirmed Stop and closes. A second one ends the program at once,
// so that a program blocked in a call still goes when asked twice.
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

} // namespace twinscan::interrupts
