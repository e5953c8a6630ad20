#include "editing/LineCopy.h"

#include "editing/OutputFile.h"
#include "engine/LineKey.h"
#include "engine/LineReader.h"
#include "engine/LoadedText.h"
#include "engine/WideLines.h"

#include <algorithm>
#include <string_view>

namespace twinscan {

namespace {
// Often enough for a smooth bar; the listener throttles its repainting by time anyway.
constexpr qint64 progressEvery = 4096;
} // namespace

std::string_view outputBreak(
    bool haveLine, LineBreak firstBreak, FileEncoding encoding, const SaveRules &rules)
{
    if (rules.lineEnds == LineEnds::Nul)
        return {"\0", 1};
    const bool lf = haveLine
        && (firstBreak == LineBreak::Lf
            || (rules.lfWithoutBreaks && firstBreak == LineBreak::None));
    const LineBreak kept = lf ? LineBreak::Lf : LineBreak::CrLf;
    if (isWide(encoding))
        return wideBreak(kept, encoding == FileEncoding::Utf16Be);
    return kept == LineBreak::Lf ? std::string_view("\n") : std::string_view("\r\n");
}

namespace {
std::string_view trimmed(std::string_view line, FileEncoding encoding)
{
    return isWide(encoding) ? trimWideSpaces(line, encoding == FileEncoding::Utf16Be)
                            : trimSpaces(line);
}
} // namespace

CopyOutcome copyWithoutRemoved(LineReader &reader, OutputFile &out, const RemovalSet &removals,
    const SaveRules &rules, qint64 lastLineIndex, const ProgressFn &progress)
{
    CopyOutcome outcome;
    std::string_view line;
    LineBreak lineBreak = LineBreak::None;
    bool haveLine = reader.next(line, lineBreak);
    if (!out.write(reader.mark()))
        outcome.writeFailed = true;
    const std::string_view ending = outputBreak(haveLine, lineBreak, reader.encoding(), rules);
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

namespace {
// Lines read and copied at a time by the indexed copy: as much as the reader's buffer holds.
constexpr std::size_t indexedChunkBytes = std::size_t(1) << 20;

// Writes the kept lines of `scanned` from the bytes the save read, placed by the scan's index:
// consecutive lines that already end in the output's break go out in one piece.
class IndexedRuns
{
public:
    IndexedRuns(OutputFile &out, const LoadedText &scanned, std::string_view ending)
        : out_(out), scanned_(scanned), ending_(ending)
    {
    }

    // One past the last byte of a line's break: where the next line starts, or the file's end.
    std::size_t endOf(int line) const
    {
        return line + 1 < scanned_.lineCount() ? offsetOf(scanned_.lineBytes(line + 1))
                                               : scanned_.byteSize();
    }
    // The last of `first`'s following lines that end within `bytes` bytes of `from`, plus one;
    // at least first + 1.
    int chunkEnd(int first, std::size_t from, std::size_t bytes) const
    {
        int low = first + 1, high = scanned_.lineCount();
        while (low < high) {
            const int middle = low + (high - low) / 2;
            if (endOf(middle) - from <= bytes)
                low = middle + 1;
            else
                high = middle;
        }
        return low;
    }
    // Copies the lines [first, end) from `bytes`, the file's bytes from offset `from` on.
    bool copy(std::string_view bytes, std::size_t from, int first, int end,
        const RemovalSet &removals, qint64 &removed)
    {
        for (int line = first; line < end; ++line) {
            if (removals.contains(qint64(line) + 1)) {
                ++removed; // the run ends before it: the next kept line does not follow on
                continue;
            }
            const std::string_view scannedLine = scanned_.lineBytes(line);
            const char *begin = bytes.data() + (offsetOf(scannedLine) - from);
            const char *lineEnd = begin + scannedLine.size();
            const char *next = bytes.data() + (endOf(line) - from);
            // A break is "\n", "\r", "\r\n" or a NUL: one of the output's length is the output's
            // when their first bytes match.
            if (std::size_t(next - lineEnd) == ending_.size() && *lineEnd == ending_.front()) {
                if (begin != runEnd_ && !flush())
                    return false;
                runBegin_ = runBegin_ ? runBegin_ : begin;
                runEnd_ = next;
            } else if (!flush() || !out_.write({begin, std::size_t(lineEnd - begin)})
                || !out_.write(ending_)) {
                return false;
            }
        }
        return flush();
    }

    // The same copy for a text whose every break is the output's: only the removed lines need
    // looking up, and the kept bytes between them go out as they stand.
    bool copyBetweenRemoved(std::string_view bytes, std::size_t from, int first, int end,
        const RemovalSet &removals, qint64 &removed)
    {
        std::size_t kept = offsetOf(scanned_.lineBytes(first));
        const auto writeKept = [&](std::size_t to) {
            return to <= kept || out_.write(bytes.substr(kept - from, to - kept));
        };
        for (int line = first; line < end; ++line) {
            if (!removals.contains(qint64(line) + 1))
                continue;
            ++removed;
            if (!writeKept(offsetOf(scanned_.lineBytes(line))))
                return false;
            kept = endOf(line);
        }
        if (!writeKept(endOf(end - 1)))
            return false;
        // The last line may lack its break; the output gives it one.
        const int last = scanned_.lineCount() - 1;
        const std::string_view lastLine = scanned_.lineBytes(last);
        return end - 1 != last || removals.contains(qint64(last) + 1)
            || offsetOf(lastLine) + lastLine.size() != endOf(last) || out_.write(ending_);
    }

private:
    std::size_t offsetOf(std::string_view scannedLine) const
    {
        return std::size_t(scannedLine.data() - scanned_.data());
    }
    bool flush()
    {
        const bool written
            = !runBegin_ || out_.write({runBegin_, std::size_t(runEnd_ - runBegin_)});
        runBegin_ = runEnd_ = nullptr;
        return written;
    }

    OutputFile &out_;
    const LoadedText &scanned_;
    const std::string_view ending_;
    const char *runBegin_ = nullptr; // kept lines and their breaks, written as they stand
    const char *runEnd_ = nullptr;
};
} // namespace

bool canCopyByIndex(const LoadedText &scanned, const SaveRules &rules)
{
    return !isWide(scanned.encoding()) && !rules.trimLines && rules.keepEmptyLines;
}

CopyOutcome copyByIndex(LineReader &reader, OutputFile &out, const RemovalSet &removals,
    const LoadedText &scanned, const SaveRules &rules, qint64 lastLineIndex,
    const ProgressFn &progress)
{
    CopyOutcome outcome;
    const int lines = scanned.lineCount();
    const std::string_view ending
        = outputBreak(lines > 0, scanned.firstBreak(), scanned.encoding(), rules);
    IndexedRuns runs(out, scanned, ending);
    const LineBreak uniformBreak = scanned.uniformBreak();
    const bool uniform = (uniformBreak == LineBreak::Lf && ending == "\n")
        || (uniformBreak == LineBreak::CrLf && ending == "\r\n")
        || (uniformBreak == LineBreak::Nul && ending == std::string_view("\0", 1));
    outcome.writeFailed = !out.write(markOf(scanned.encoding(), scanned.hasBom()));
    std::string_view bytes;
    std::size_t from = 0; // the file's offset of bytes
    for (int first = 0; first < lines && !outcome.failed();) {
        if (!keepGoing(progress, first, lastLineIndex)) {
            outcome.stopped = true;
            return outcome;
        }
        const int end = runs.chunkEnd(first, from, indexedChunkBytes);
        const std::size_t to = runs.endOf(end - 1);
        outcome.readFailed = !reader.read(to - from, bytes);
        if (outcome.readFailed || bytes.size() < to - from)
            break; // shorter than scanned: the hash tells
        outcome.writeFailed = uniform
            ? !runs.copyBetweenRemoved(bytes, from, first, end, removals, outcome.removed)
            : !runs.copy(bytes, from, first, end, removals, outcome.removed);
        from = to;
        first = end;
    }
    // The rest, so that bytes added since the scan show in the hash.
    while (!outcome.failed() && reader.read(indexedChunkBytes, bytes) && !bytes.empty()) { }
    outcome.readFailed = !reader.error().isEmpty();
    if (!outcome.failed() && !keepGoing(progress, std::max(lines - 1, 0), lastLineIndex))
        outcome.stopped = true;
    return outcome;
}

} // namespace twinscan
