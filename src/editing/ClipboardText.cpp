#include "editing/ClipboardText.h"

#include <algorithm>
#include <atomic>
#include <cstdint>

namespace twinscan {

namespace {
// Per entry: whether it is copied, how its line turns into UTF-8, and its size in the text,
// which place() turns into where it starts.
constexpr std::uint64_t chosenFlag = std::uint64_t(1) << 63;
constexpr std::uint64_t latin1Flag = std::uint64_t(1) << 62;
constexpr std::uint64_t decodedFlag = std::uint64_t(1) << 61; // a broken unit of a UTF-16 file
constexpr std::uint64_t amountMask = decodedFlag - 1;

bool chosen(const ListItem &item, CopyScope scope)
{
    return scope == CopyScope::All || item.selected;
}

std::size_t latin1Size(std::string_view line)
{
    return line.size()
        + std::size_t(std::count_if(line.begin(), line.end(), [](char c) { return c < 0; }));
}

char *putLatin1(std::string_view line, char *out)
{
    for (const char c : line) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            *out++ = c;
        } else {
            *out++ = char(0xC0 | (byte >> 6));
            *out++ = char(0x80 | (byte & 0x3F));
        }
    }
    return out;
}

// The chosen entries' lines, measured and then written in file order.
class ChosenLines
{
public:
    ChosenLines(const LoadedText &text, const LineList &duplicates, const LineEntryIndex &entries,
        CopyScope scope)
        : text_(text),
          duplicates_(duplicates),
          entries_(entries),
          scope_(scope),
          slots_(std::size_t(duplicates.ListCount()))
    {
    }

    // Records the form and size of every chosen line among lines [from, to).
    void measure(int from, int to)
    {
        for (int line = from; line < to; ++line) {
            prefetchAhead(line, to);
            const int entry = chosenEntry(line);
            if (entry >= 0)
                slots_[std::size_t(entry)] = chosenFlag | formAndSize(text_.lineBytes(line));
        }
    }

    // Turns the sizes into places, in list order; answers the text's size.
    std::size_t place()
    {
        std::uint64_t size = 0;
        for (std::size_t entry = 0; entry < slots_.size(); ++entry) {
            std::uint64_t &slot = slots_[entry];
            if (slot & chosenFlag) {
                const std::uint64_t amount = slot & amountMask;
                slot = (slot & ~amountMask) | size;
                size += amount;
            }
        }
        return std::size_t(size);
    }

    // Writes every chosen line among lines [from, to) at its place in `out`, then CR LF.
    void write(int from, int to, char *out) const
    {
        for (int line = from; line < to; ++line) {
            prefetchAhead(line, to);
            const int entry = chosenEntry(line);
            if (entry < 0)
                continue;
            const std::uint64_t slot = slots_[std::size_t(entry)];
            char *at = out + (slot & amountMask);
            const std::string_view bytes = text_.lineBytes(line);
            if (slot & latin1Flag) {
                at = putLatin1(bytes, at);
            } else if (slot & decodedFlag) {
                const QByteArray decoded = decodeConvertedLine(bytes).toUtf8();
                at = std::copy(decoded.cbegin(), decoded.cend(), at);
            } else {
                at = std::copy(bytes.begin(), bytes.end(), at);
            }
            *at++ = '\r';
            *at = '\n';
        }
    }

private:
    // The entries of lines next to each other lie all over the list: asking for those a few
    // lines ahead hides most of the wait for memory.
    void prefetchAhead(int line, int to) const
    {
        constexpr int ahead = 16;
        const int entry = line + ahead < to ? entries_.entryOf(line + ahead) : -1;
        if (entry >= 0) {
            __builtin_prefetch(&duplicates_.itemAt(entry));
            __builtin_prefetch(&slots_[std::size_t(entry)]);
        }
    }

    // The entry of a line when that entry is copied, else -1.
    int chosenEntry(int line) const
    {
        const int entry = entries_.entryOf(line);
        if (entry < 0)
            return -1;
        const ListItem &item = duplicates_.itemAt(entry);
        return item.line == std::uint32_t(line) && chosen(item, scope_) ? entry : -1;
    }

    // A valid UTF-8 line is copied as it is; any other is decoded as the lists show it.
    std::uint64_t formAndSize(std::string_view bytes) const
    {
        if (encodingOf(bytes) == TextEncoding::Utf8)
            return bytes.size() + 2;
        if (!isWide(text_.encoding()))
            return latin1Flag | (latin1Size(bytes) + 2);
        return decodedFlag | std::uint64_t(decodeConvertedLine(bytes).toUtf8().size() + 2);
    }

    const LoadedText &text_;
    const LineList &duplicates_;
    const LineEntryIndex &entries_;
    const CopyScope scope_;
    BulkArray<std::uint64_t> slots_;
};

// Runs `step(from, to)` over every line in blocks on every core, counting the lines done into
// `done`; false once `progress` asked to stop.
template<typename Step>
bool eachBlock(int lineCount, const Parallelism &parallelism, std::atomic<qint64> &done,
    const ProgressFn &progress, Step step)
{
    const auto block = std::max<std::size_t>(parallelism.blockLines, 1);
    const std::size_t blocks = (std::size_t(lineCount) + block - 1) / block;
    const qint64 total = 2 * qint64(lineCount);
    return runLanes(
        parallelism.threads, blocks, 1,
        [&](std::size_t unit, std::size_t) {
            const int from = int(unit * block);
            const int to = int(std::min(std::size_t(lineCount), (unit + 1) * block));
            step(from, to);
            done += to - from;
        },
        [&] { return keepGoing(progress, done, total); });
}
} // namespace

int chosenCount(const LineList &duplicates, CopyScope scope)
{
    return scope == CopyScope::All ? duplicates.ListCount() : duplicates.selectedCount();
}

std::optional<QByteArray> clipboardText(const LoadedText &text, const LineList &duplicates,
    const LineEntryIndex &entries, CopyScope scope, const ProgressFn &progress,
    const Parallelism &parallelism)
{
    if (chosenCount(duplicates, scope) == 0)
        return QByteArray();
    ChosenLines lines(text, duplicates, entries, scope);
    std::atomic<qint64> done {0};
    const int lineCount = text.lineCount();
    if (!eachBlock(lineCount, parallelism, done, progress,
            [&](int from, int to) { lines.measure(from, to); }))
        return std::nullopt;
    QByteArray copied(qsizetype(lines.place()), Qt::Uninitialized);
    char *out = copied.data();
    if (!eachBlock(lineCount, parallelism, done, progress,
            [&](int from, int to) { lines.write(from, to, out); }))
        return std::nullopt;
    return copied;
}

} // namespace twinscan
