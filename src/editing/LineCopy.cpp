#include "editing/LineCopy.h"

#include "editing/OutputFile.h"
#include "engine/LineKey.h"
#include "engine/LineReader.h"

#include <algorithm>
#include <string_view>

namespace twinscan {

namespace {
// Often enough for a smooth bar; the listener throttles its repainting by time anyway.
constexpr qint64 progressEvery = 4096;

// Files written on Linux keep their LF endings; everything else gets CR LF.
std::string_view outputBreak(bool haveLine, LineBreak firstBreak)
{
    return haveLine && firstBreak == LineBreak::Lf ? std::string_view("\n")
                                                   : std::string_view("\r\n");
}
} // namespace

CopyOutcome copyWithoutRemoved(LineReader &reader, OutputFile &out, const RemovalSet &removals,
    const SaveRules &rules, int lastLineIndex, const ProgressFn &progress)
{
    CopyOutcome outcome;
    std::string_view line;
    LineBreak lineBreak = LineBreak::None;
    bool haveLine = reader.next(line, lineBreak);
    if (reader.hasBom() && !out.write("\xEF\xBB\xBF"))
        outcome.writeFailed = true;
    const std::string_view ending = outputBreak(haveLine, lineBreak);
    qint64 n = 1; // the 1-based number of the current line
    for (; haveLine && !outcome.writeFailed; haveLine = reader.next(line, lineBreak), ++n) {
        if ((n - 1) % progressEvery == 0 && !keepGoing(progress, n - 1, lastLineIndex)) {
            outcome.stopped = true;
            return outcome;
        }
        if (removals.contains(n)) {
            ++outcome.removed;
            continue;
        }
        if (rules.trimLines)
            line = trimSpaces(line);
        if (line.empty() && !rules.keepEmptyLines)
            continue;
        outcome.writeFailed = !out.write(line) || !out.write(ending);
    }
    outcome.readFailed = !reader.error().isEmpty();
    if (!outcome.failed() && !keepGoing(progress, std::max<qint64>(n - 2, 0), lastLineIndex))
        outcome.stopped = true;
    return outcome;
}

} // namespace twinscan
