#include "editing/SelectedLines.h"

#include "editing/MarkingRules.h"
#include "editing/OutputFile.h"
#include "engine/LineKey.h"
#include "engine/LineList.h"
#include "engine/LoadedText.h"
#include "engine/WideLines.h"

#include <charconv>
#include <cstdio>

namespace twinscan {

namespace {
// Writes one line with its prefixes; the count and the number are made without a format call,
// as a report of millions of lines makes millions of them. A UTF-16 text is written in its own
// encoding, as the save writes it.
class PrefixedLines
{
public:
    PrefixedLines(OutputFile &out, const LoadedText &text, const LineOutput &output)
        : out_(out),
          text_(text),
          output_(output),
          ending_(
              outputBreak(text.lineCount() > 0, text.firstBreak(), text.encoding(), output.rules))
    {
    }

    bool writeMark() { return out_.write(markOf(text_.encoding(), text_.hasBom())); }

    bool write(int line, int occurrences)
    {
        std::string_view bytes = text_.lineBytes(line);
        if (output_.rules.trimLines)
            bytes = trimSpaces(bytes);
        if (bytes.empty() && !output_.rules.keepEmptyLines)
            return true;
        char prefix[32];
        std::size_t used = 0;
        if (output_.counts)
            used += std::size_t(std::snprintf(prefix, sizeof prefix, "%7d ", occurrences));
        if (output_.lineNumbers) {
            // One byte kept for the colon.
            char *end = std::to_chars(prefix + used, prefix + sizeof prefix - 1, line + 1).ptr;
            *end++ = ':';
            used = std::size_t(end - prefix);
        }
        if (isWide(text_.encoding()))
            return writeWide(std::string(prefix, used).append(bytes));
        return out_.write({prefix, used}) && out_.write(bytes) && out_.write(ending_);
    }

private:
    // An odd last byte stays last, as the save leaves it: a break after it would not fall on a
    // code unit.
    bool writeWide(const std::string &converted)
    {
        const std::string_view source = text_.sourceBytes();
        const bool bigEndian = text_.encoding() == FileEncoding::Utf16Be;
        const bool oddByte = !converted.empty() && converted.back() == '\xFF';
        return out_.write(wideLine(converted, bigEndian, source.back()))
            && (oddByte || out_.write(ending_));
    }

    OutputFile &out_;
    const LoadedText &text_;
    const LineOutput &output_;
    const std::string_view ending_;
};

// Whether a line is written, and how often its text occurs.
bool selected(const LineEntryIndex &index, LineSelection selection, const RemovalSet &removals,
    int line, int &occurrences)
{
    const int entry = index.entryOf(line);
    const EntryGroup group = index.groupOf(entry);
    occurrences = entry < 0 ? 1 : group.size;
    switch (selection) {
    case LineSelection::Repeated:
        return entry >= 0 && entry == group.first;
    case LineSelection::Unique:
        return entry < 0;
    case LineSelection::Duplicated:
        return entry >= 0;
    case LineSelection::Removed:
        return removals.contains(qint64(line) + 1);
    default:
        return !removals.contains(qint64(line) + 1);
    }
}
} // namespace

RemovalSet keptRemovals(LineSelection selection, LineList &duplicates, int lastLineIndex)
{
    const MarkRule rule = selection == LineSelection::KeepFirst ? MarkRule::AllButFirst
        : selection == LineSelection::KeepLast                  ? MarkRule::AllButLast
                                                                : MarkRule::All;
    applyMarkRule(duplicates, rule);
    return collectRemovals(duplicates, lastLineIndex);
}

RemovalSet linesLeftOut(
    LineSelection selection, const LineEntryIndex &index, int lineCount, const RemovalSet &removals)
{
    RemovalSet leftOut(qint64(lineCount) - 1);
    for (int line = 0, occurrences = 0; line < lineCount; ++line) {
        if (!selected(index, selection, removals, line, occurrences))
            leftOut.add(qint64(line) + 1);
    }
    return leftOut;
}

CopyOutcome writeSelectedLines(OutputFile &out, const ScannedLines &scanned,
    const LineOutput &output, const RemovalSet &removals)
{
    CopyOutcome outcome;
    PrefixedLines lines(out, scanned.text, output);
    outcome.writeFailed = !lines.writeMark();
    if (output.selection == LineSelection::AllRepeated) {
        const LineEntryIndex &index = scanned.outcome.lineEntries;
        for (int entry = 0; entry < scanned.outcome.entryCount && !outcome.writeFailed; ++entry) {
            const int line = int(scanned.duplicates.itemAt(entry).line);
            outcome.writeFailed = !lines.write(line, index.groupOf(entry).size);
        }
        return outcome;
    }
    const int count = scanned.text.lineCount();
    for (int line = 0, occurrences = 0; line < count && !outcome.writeFailed; ++line) {
        if (selected(scanned.outcome.lineEntries, output.selection, removals, line, occurrences))
            outcome.writeFailed = !lines.write(line, occurrences);
        else
            ++outcome.removed;
    }
    return outcome;
}

} // namespace twinscan
