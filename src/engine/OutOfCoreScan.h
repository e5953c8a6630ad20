#pragma once

#include "engine/FileStamp.h"
#include "engine/KeySpec.h"
#include "engine/LineBits.h"
#include "engine/LineBreaks.h"
#include "engine/Progress.h"
#include "engine/ScanOptions.h"

#include <QCoreApplication>
#include <QString>
#include <cstdint>

namespace twinscan {

// Which occurrence of each group of equal lines the save keeps: the first, the last, or none.
enum class KeptOccurrence { First, Last, None };

struct OutOfCoreRequest
{
    QString file;
    ScanRules rules;
    KeySpec key; // what of a line is compared
    KeptOccurrence kept = KeptOccurrence::First;
    std::uint64_t budget = 0; // bytes of memory the scan may take
    QString spillFolder; // for the temporary files (spill::chooseFolder)
    // Also the lines removed when each group keeps its last: with `removed` under First, every
    // marking rule chosen after the scan follows from the two.
    bool alsoLastKept = false;
    LineEnds lineEnds = LineEnds::Text; // NUL-ended records for the filter's -z
};

struct OutOfCoreOutcome
{
    enum class Status { Done, Stopped, Failed };
    Status status = Status::Failed;
    QString error; // why it failed: the system's reason, or the free space it needs
    std::uint64_t lineCount = 0;
    std::uint64_t groupCount = 0; // keys that occur more than once
    std::uint64_t entryCount = 0; // the lines of those keys
    std::uint64_t removedCount = 0;
    LineBits removed; // by 0-based line: what the save leaves out under the kept occurrence
    LineBits removedWithLastKept; // the same when the last is kept, for alsoLastKept
    FileStamp stamp; // the file as it was read
    std::uint64_t contentHash = 0; // of its bytes, as the save hashes them
};

// The scan of a file whatever its size, in the memory of the budget: the file is read once as a
// stream, line by line as LineReader reads it, and each line's key (as the in-memory scan makes
// it) is counted in a table of its 128-bit hash. When the table fills, its tallies go to
// temporary files by the top bits of the hash, each file a partition of the keys; at the end the
// tallies of each partition are combined (a partition too large for the table is split again by
// the next bits), and each key's occurrences removed but the one kept. What is kept of the lines
// is one bit each. The groups, counts and removed lines are those of the in-memory scan and the
// marking rule that keeps the same occurrence.
//
// The temporary files have no names, so they go with the process however it ends; before the
// first is written, the scan refuses when the folder has not about the room they will take.
// `progress` sees the bytes read out of the file's size and a share for combining; false stops.
class OutOfCoreScan
{
    Q_DECLARE_TR_FUNCTIONS(OutOfCoreScan)

public:
    static OutOfCoreOutcome run(const OutOfCoreRequest &request, const ProgressFn &progress = {});
};

} // namespace twinscan
