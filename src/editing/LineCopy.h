#pragma once

#include "editing/RemovalList.h"
#include "editing/SaveOptions.h"
#include "engine/FileEncoding.h"
#include "engine/LineBreaks.h"
#include "engine/Progress.h"

#include <string_view>

namespace twinscan {

class LineReader;
class LoadedText;
class OutputFile;

// The break that ends every written line: NUL for records ended by NUL; else LF when the first
// line ends in a lone LF (or has no break at all and `lfWithoutBreaks`), else CR LF; in UTF-16
// code units for a UTF-16 file.
std::string_view outputBreak(
    bool haveLine, LineBreak firstBreak, FileEncoding encoding, const SaveRules &rules);

struct CopyOutcome
{
    qint64 removed = 0;
    bool stopped = false;
    bool readFailed = false;
    bool writeFailed = false;

    bool failed() const { return readFailed || writeFailed; }
};

// The copy loop of a save: every line of `reader` that is not in `removals` goes to `out`,
// trimmed and filtered by the rules. Buffered output only; the caller flushes and commits.
CopyOutcome copyWithoutRemoved(LineReader &reader, OutputFile &out, const RemovalSet &removals,
    const SaveRules &rules, qint64 lastLineIndex, const ProgressFn &progress);

// Whether copyByIndex can copy a save of `scanned` under `rules`: a file in bytes (not UTF-16)
// whose kept lines are written untrimmed, the empty ones too.
bool canCopyByIndex(const LoadedText &scanned, const SaveRules &rules);

// The same copy for a source whose lines the scan indexed: it reads and hashes every byte as the
// line-by-line copy does, but takes the lines' places from the scan's index and writes runs of
// kept lines that already end in the output's break as they stand, so its cost goes with the
// removed lines, not all lines. What it writes comes from the bytes read; a source that no longer
// matches the index shows in the hash, which the caller compares.
CopyOutcome copyByIndex(LineReader &reader, OutputFile &out, const RemovalSet &removals,
    const LoadedText &scanned, const SaveRules &rules, qint64 lastLineIndex,
    const ProgressFn &progress);

} // namespace twinscan
