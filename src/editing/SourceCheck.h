#pragma once

#include "engine/FileStamp.h"

#include <QString>

namespace twinscan {

// Whether the scanned file can still be saved from: it must exist and hold what was scanned,
// or the line numbers of the marks would remove the wrong lines.
enum class SourceState {
    Unchanged,
    Missing, // no file of that name (a folder does not count)
    Changed, // another size, another modification time, or another file under the name
};

SourceState checkSource(const QString &sourceFile, const FileStamp &scannedStamp);

} // namespace twinscan
