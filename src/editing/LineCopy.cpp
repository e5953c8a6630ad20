#include "editing/LineCopy.h"

#include "editing/OutputFile.h"
#include "engine/LineKey.h"
#include "engine/LineReader.h"
#include "engine/WideLines.h"

#include <algorithm>
#include <string_view>

namespace twinscan {

namespace {
// Often enough for a smooth bar; the listener throttles its repainting by time anyway.
constexpr qint64 progressEvery = 4096;

// Files written on Linux keep their LF endings; everything else gets CR LF, in UTF-16 code units
// for a UTF-16 file.
std::string_view outputBreak(bool haveLine, LineBreak firstBreak, FileEncoding encoding)
{
    const LineBreak kept
        = haveLine && firstBreak == LineBreak::Lf ? LineBreak::Lf : LineBreak::CrLf;
    if (isWide(encoding))
        return wideBreak(kept, encoding == FileEncoding::Utf16Be);
    return kept == LineBreak::Lf ? std::string_view("\n") : std::string_view("\r\n");
}

std::string_view trimmed(std::string_view line, FileEncoding encoding)
{
    return isWide(encoding) ? trimWideSpaces(line, encoding == FileEncoding::Utf16Be)
                            : trimSpaces(line);
}
} // namespace

CopyOutcome copyWithoutRemoved(LineReader &reader, OutputFile &out, const RemovalSet &removals,
    const SaveRules &rules, int lastLineIndex, const ProgressFn &progress)
{
    CopyOutcome outcome;
    std::string_view line;
    LineBreak lineBreak = LineBreak::None;
    bool haveLine = reader.next(line, lineBreak);
    if (!out.write(reader.mark()))
        outcome.writeFailed = true;
    const std::string_view ending = outputBreak(haveLine, lineBreak, reader.encoding());
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
            line = trimmed(line, reader.encoding());
        if (line.empty() && !rules.keepEmptyLines)
            continue;
        // An odd last byte of a UTF-16 file stays last: a break after it would not fall on a
        // code unit.
        const bool brokenUnit = isWide(reader.encoding()) && line.size() % 2 != 0;
        outcome.writeFailed = !out.write(line) || (!brokenUnit && !out.write(ending));
    }
    outcome.readFailed = !reader.error().isEmpty();
    if (!outcome.failed() && !keepGoing(progress, std::max<qint64>(n - 2, 0), lastLineIndex))
        outcome.stopped = true;
    return outcome;
}

} // namespace twinscan
