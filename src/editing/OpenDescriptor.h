#pragma once

#include <QString>
#include <optional>

namespace twinscan {

// The open descriptor of this process that `path` names: /dev/stdin, /dev/stdout, /dev/stderr,
// /dev/fd/N, /proc/self/fd/N or /proc/PID/fd/N with our own PID. Such a name stands for the file
// as the shell opened it (appending, say), which a save writes through and never replaces.
std::optional<int> openDescriptorNamed(const QString &path);

// Whether `path` names a descriptor that was not handed down to us open: one not open, one the
// program opened itself, or a standard stream that was closed at start-up and that only /dev/null
// now fills. Writing there would lose the lines.
bool namesClosedDescriptor(const QString &path);

// Remembers that the standard descriptor `fd` was closed at start-up.
void noteClosedAtStart(int fd);

// Whether writing `path` writes to this process's standard output.
bool namesStandardOutput(const QString &path);

} // namespace twinscan
