#pragma once

#include "engine/FileDescriptor.h"
#include "engine/LoadedText.h"
#include "engine/Progress.h"

#include <QString>

namespace twinscan {

struct SpooledStream
{
    FileDescriptor file; // open when the copy is whole
    QString path; // names the file while `file` is open, for the scan and the save to open
    bool stopped = false; // by the progress or a signal
    QString error;
};

// A stream too large for memory, copied to a temporary file of `folder` (one with no name, see
// spill::openFile) for the scan past memory to read twice as it reads a file: first the bytes
// the load read, then the rest of the stream. The progress counts the bytes copied.
SpooledStream spoolStream(
    StreamOverflow &overflow, const QString &folder, const ProgressFn &progress = {});

} // namespace twinscan
