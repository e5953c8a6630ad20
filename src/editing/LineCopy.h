#pragma once

#include "editing/RemovalList.h"
#include "editing/SaveOptions.h"
#include "engine/Progress.h"

namespace twinscan {

class LineReader;
class OutputFile;

struct CopyOutcome
{
    int removed = 0;
    bool stopped = false;
    bool readFailed = false;
    bool writeFailed = false;

    bool failed() const { return readFailed || writeFailed; }
};

// The copy loop of a save: every line of `reader` that is not in `removals` goes to `out`,
// trimmed and filtered by the rules. Buffered output only; the caller flushes and commits.
CopyOutcome copyWithoutRemoved(LineReader &reader, OutputFile &out, const RemovalSet &removals,
    const SaveRules &rules, int lastLineIndex, const ProgressFn &progress);

} // namespace twinscan
