#include "editing/DuplicateReport.h"

#include "editing/OutputFile.h"
#include "engine/DuplicateScanner.h"
#include "engine/KeyExtractor.h"
#include "engine/LineList.h"
#include "engine/LoadedText.h"
#include "engine/TextEncoding.h"

#include <algorithm>
#include <charconv>
#include <string>

namespace twinscan {

namespace {
// Often enough for a smooth bar; the listener throttles its repainting by time anyway.
constexpr int progressEveryGroups = 4096;

constexpr bool needsEscape(char c)
{
    return c == '\t' || c == '\n' || c == '\r' || c == '\\';
}

// One report row at a time, built in a buffer that the rows share.
class ReportRows
{
public:
    ReportRows(OutputFile &out, const ReportSource &source) : out_(out), source_(source) { }

    bool write(EntryGroup group)
    {
        row_.clear();
        const LineList &list = source_.duplicates;
        const int firstLine = int(list.itemAt(group.first).line);
        appendNumber(group.size);
        row_ += '\t';
        appendNumber(qint64(firstLine) + 1);
        for (int entry = group.first; entry < group.first + group.size; ++entry) {
            row_ += entry == group.first ? '\t' : ',';
            appendNumber(qint64(list.itemAt(entry).line) + 1);
        }
        row_ += '\t';
        const std::string_view line = source_.text.lineBytes(firstLine);
        appendText(line);
        if (source_.key) {
            row_ += '\t';
            // A line in a group always has a key; keyOf gives it as the scan compared it.
            appendText(source_.key->keyOf(line, scratch_).value_or(std::string_view()));
        }
        row_ += '\n';
        return out_.write(row_);
    }

private:
    void appendNumber(qint64 number)
    {
        char digits[24];
        const char *end = std::to_chars(digits, digits + sizeof digits, number).ptr;
        row_.append(digits, std::size_t(end - digits));
    }

    // The bytes of valid UTF-8 as they are; any other line as the window decodes it.
    void appendText(std::string_view bytes)
    {
        const bool wide = isWide(source_.text.encoding());
        if (isAscii(bytes) || (!wide && encodingOf(bytes) == TextEncoding::Utf8))
            return appendEscaped(row_, bytes);
        const QByteArray utf8 = (wide ? decodeConvertedLine(bytes) : decodeLine(bytes)).toUtf8();
        appendEscaped(row_, {utf8.constData(), std::size_t(utf8.size())});
    }

    OutputFile &out_;
    const ReportSource &source_;
    std::string row_;
    std::string scratch_;
};
} // namespace

std::string_view reportHeader(bool withKey)
{
    static constexpr std::string_view header = "count\tfirst line\tlines\ttext\tkey\n";
    static constexpr std::string_view withoutKey = "count\tfirst line\tlines\ttext\n";
    return withKey ? header : withoutKey;
}

void appendEscaped(std::string &field, std::string_view bytes)
{
    std::size_t from = 0;
    for (std::size_t at = 0; at < bytes.size(); ++at) {
        const char c = bytes[at];
        if (!needsEscape(c))
            continue;
        field.append(bytes.substr(from, at - from));
        field += '\\';
        field += c == '\t' ? 't' : c == '\n' ? 'n' : c == '\r' ? 'r' : '\\';
        from = at + 1;
    }
    field.append(bytes.substr(from));
}

CopyOutcome writeDuplicateReport(
    OutputFile &out, const ReportSource &source, const ProgressFn &progress)
{
    CopyOutcome outcome;
    ReportRows rows(out, source);
    outcome.writeFailed = !out.write(reportHeader(source.key != nullptr));
    const int count = source.duplicates.ListCount();
    int entry = 0;
    for (int groups = 0; entry < count && !outcome.writeFailed; ++groups) {
        if (groups % progressEveryGroups == 0 && !keepGoing(progress, entry, count)) {
            outcome.stopped = true;
            return outcome;
        }
        EntryGroup group = source.entries.groupOf(entry);
        // A stopped scan's list may end inside a group; its rows hold the entries listed.
        group.size = std::min(group.size, count - group.first);
        if (group.size <= 0)
            break;
        outcome.writeFailed = !rows.write(group);
        entry = std::max(entry + 1, group.first + group.size);
    }
    if (!outcome.writeFailed && !keepGoing(progress, count, count))
        outcome.stopped = true;
    return outcome;
}

} // namespace twinscan
