#pragma once

#include "editing/LineCopy.h"
#include "editing/RemovalList.h"
#include "editing/SaveOptions.h"
#include "editing/SaveTarget.h"
#include "engine/FileStamp.h"
#include "engine/Progress.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

namespace twinscan {

class LoadedText;

struct SaveRequest
{
    QString sourceFile; // the scanned file; empty for a pipe read once, which `scanned` then holds
    FileStamp scannedStamp; // the source as it was when it was scanned
    // The final target, after any extension was added. Whether it is the source is decided again
    // here, so a name that only became the source's with the extension is still protected.
    QString targetFile;
    qint64 lastLineIndex = 0; // the scanned file's line count minus one
    SaveRules rules;
    std::uint64_t scannedHash = 0; // LoadedText::contentHash() of the scan
    // The scan's text, when at hand: its index spares the save splitting the lines again.
    std::shared_ptr<const LoadedText> scanned;
};

enum class SaveStatus {
    Completed, // the target holds the source without the removed lines
    // The progress listener asked to stop, or a signal came: nothing written, the temporary file
    // removed; only a target written directly (a device, a FIFO) may have had a part of it.
    Stopped,
    Failed, // a file could not be opened, read, written or replaced: see message; files untouched
    SourceMissing, // the scanned file no longer exists
    SourceChanged, // the scanned file is not what was scanned, or changed during the save
};

struct SaveResult
{
    SaveStatus status = SaveStatus::Failed;
    qint64 removedCount = 0; // lines left out because they were marked
    SaveTarget target; // how the target was written
    QString message; // why it failed, naming the file; empty when completed or stopped
    // What a completed save could not keep of the file it replaced (extended attributes), or empty.
    QString warning;
    QString file; // the file it failed on
    QString reason; // the message without the file's name, the system's reason say
};

// The messages of the two refusals.
QString sourceMissingText();
QString sourceChangedText();

// Copies the source to the target line by line, leaving out the lines in `removals` and applying
// the save rules. Lines are read as the scan read them, so line n here is line n of the scan, and
// the result replaces the target only when the bytes read hash as the scan's did and the source's
// stamp is still the scan's right before the rename.
// Every kept line ends in CR LF, or in LF when the source's first line ends in a lone LF; a
// byte-order mark at the source's start is written back, and a UTF-16 source is written in its
// own encoding, its breaks in code units. `progress` sees the number of
// lines done before the current one out of `lastLineIndex` every few thousand lines and at the
// end; false stops the copy.
SaveResult saveWithRemoval(
    const SaveRequest &request, const RemovalSet &removals, const ProgressFn &progress = {});

// Writes what `fill` writes to the target under the same rules, without reading the source again:
// `fill` takes its lines from the scan's text, which must still be intact at the end, and the
// source's stamp is checked before the rename as the copy's is. A fill that reports its own
// progress gives the same listener here, which then also hears a wait for a FIFO's reader.
using OutputFill = std::function<CopyOutcome(OutputFile &out)>;
SaveResult saveWritten(
    const SaveRequest &request, const OutputFill &fill, const ProgressFn &progress = {});

} // namespace twinscan
