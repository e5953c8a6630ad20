#include "editing/ClipboardText.h"

#include "engine/BulkMemory.h"

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
          slots_(std::size_t(duplicates.ListCount())),
          copiedLines_(std::size_t(text.lineCount()))
    {
    }

    // Records the form and size of every chosen line among lines [from, to).
    void measure(int from, int to)
    {
        for (int line = from; line < to; ++line) {
            prefetchAhead(line, to);
            const int entry = chosenEntry(line);
            if (entry >= 0) {
                slots_[std::size_t(entry)] = chosenFlag | formAndSize(text_.lineBytes(line));
                copiedLines_[std::size_t(line)] = 1;
            }
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
            prefetchSlotAhead(line, to);
            if (!copiedLines_[std::size_t(line)])
                continue;
            const std::uint64_t slot = slots_[std::size_t(entries_.entryOf(line))];
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
    static constexpr int ahead = 16; // lines

    // The entries of lines next to each other lie all over the list: asking for those a few
    // lines ahead hides most of the wait for memory.
    void prefetchAhead(int line, int to) const
    {
        const int entry = line + ahead < to ? entries_.entryOf(line + ahead) : -1;
        if (entry >= 0) {
            __builtin_prefetch(&duplicates_.itemAt(entry));
            __builtin_prefetch(&slots_[std::size_t(entry)]);
        }
    }

    // Once measured, a copied line's entry is known to be its own: only its place is fetched.
    void prefetchSlotAhead(int line, int to) const
    {
        if (line + ahead < to && copiedLines_[std::size_t(line + ahead)])
            __builtin_prefetch(&slots_[std::size_t(entries_.entryOf(line + ahead))]);
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
        if (text_.knownAscii(bytes) || encodingOf(bytes) == TextEncoding::Utf8)
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
    // Per line, 1 when it is copied: the one line of its entry, checked while measuring.
    BulkArray<std::uint8_t> copiedLines_;
};

// The copy's work over the lines on every core, counted for `progress`: each call answers
// false once `progress` asked to stop.
class Passes
{
public:
    Passes(int lineCount, const Parallelism &parallelism, const ProgressFn &progress)
        : lineCount_(lineCount), parallelism_(parallelism), progress_(progress)
    {
    }

    // Runs `step(from, to)` over every line in blocks; each pass is half of the work.
    template<typename Step> bool eachBlock(Step step)
    {
        const auto block = std::max<std::size_t>(parallelism_.blockLines, 1);
        const std::size_t blocks = (std::size_t(lineCount_) + block - 1) / block;
        return eachUnit(blocks, [&](std::size_t unit) {
            const int from = int(unit * block);
            const int to = int(std::min(std::size_t(lineCount_), (unit + 1) * block));
            step(from, to);
            done_ += to - from;
        });
    }

    // The lines are written all over the text: its pages are filled in first, in pieces, which
    // costs less than faulting them in one by one among the writes.
    bool prefault(QByteArray &text)
    {
        constexpr std::uintptr_t piece = std::uintptr_t(8) << 20;
        const auto begin = reinterpret_cast<std::uintptr_t>(text.data());
        const std::uintptr_t end = begin + std::uintptr_t(text.size());
        const std::uintptr_t first = begin & ~(piece - 1); // pieces meet on page boundaries
        return eachUnit((end - first + piece - 1) / piece, [&](std::size_t unit) {
            const std::uintptr_t from = std::max(begin, first + unit * piece);
            const std::uintptr_t to = std::min(end, first + (unit + 1) * piece);
            bulk::prefault(reinterpret_cast<void *>(from), to - from);
        });
    }

private:
    template<typename Step> bool eachUnit(std::size_t units, Step step)
    {
        const qint64 total = 2 * qint64(lineCount_);
        return runLanes(
            parallelism_.threads, units, 1, [&](std::size_t unit, std::size_t) { step(unit); },
            [&] { return keepGoing(progress_, done_, total); });
    }

    const int lineCount_;
    const Parallelism &parallelism_;
    const ProgressFn &progress_;
    std::atomic<qint64> done_ {0};
};
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
    Passes passes(text.lineCount(), parallelism, progress);
    if (!passes.eachBlock([&](int from, int to) { lines.measure(from, to); }))
        return std::nullopt;
    QByteArray copied(qsizetype(lines.place()), Qt::Uninitialized);
    char *out = copied.data();
    if (!passes.prefault(copied)
        || !passes.eachBlock([&](int from, int to) { lines.write(from, to, out); }))
        return std::nullopt;
    return copied;
}

} // namespace twinscan
