#pragma once

#include "engine/BulkMemory.h"
#include "engine/FileDescriptor.h"
#include "engine/FileEncoding.h"
#include "engine/FileStamp.h"
#include "engine/LineBreaks.h"
#include "engine/LineSource.h"
#include "engine/MappedFile.h"
#include "engine/Parallelism.h"
#include "engine/Progress.h"
#include "engine/TextEncoding.h"

#include <QCoreApplication>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

namespace twinscan {

// A whole file in memory with an index of its lines. A line costs eight bytes of index beyond
// its own bytes, so a file of millions of lines fits in about its own size. A regular file is
// mapped rather than copied: its pages are the system's cache, with nothing to zero or copy.
class LoadedText final : public LineSource
{
    Q_DECLARE_TR_FUNCTIONS(LoadedText)

public:
    int lineCount() const override { return lineCount_; }
    QString lineText(int line) const override
    {
        if (withdrawn_.load(std::memory_order_relaxed))
            return {};
        return isWide(encoding_) ? decodeConvertedLine(lineBytes(line))
                                 : decodeLine(lineBytes(line));
    }

    std::string_view lineBytes(int line) const
    {
        const std::uint64_t entry = index_[std::size_t(line)];
        const std::size_t length = entry & longLine;
        return {data_ + (entry >> lengthBits), length == longLine ? longLineLength(line) : length};
    }
    // Asks the processor to fetch the index entry of a line that will be read soon.
    void prefetchLine(int line) const noexcept { __builtin_prefetch(&index_[std::size_t(line)]); }
    // The text's bytes: lineBytes(i) lies within [data(), data() + byteSize()). They are the
    // file's own, or for a UTF-16 file its text converted to UTF-8 (WideLines.h).
    const char *data() const { return data_; }
    // The bytes as they were read, their mark too: for a UTF-16 file its own, which a save from a
    // pipe, read only once, writes again; for any other the text's.
    std::string_view sourceBytes() const
    {
        return source_.data() ? source_ : std::string_view(data_, size_);
    }
    bool hasBom() const { return hasBom_; }
    // Whether `bytes`, a line of this text, are known to be plain ASCII: every 4 KiB page that
    // holds them was. A copy of millions of lines then need not read them to know how they read;
    // false only means "not known".
    bool knownAscii(std::string_view bytes) const;
    FileEncoding encoding() const { return encoding_; }
    LineBreak firstBreak() const { return firstBreak_; }
    // The break that ends every line but perhaps the last, which may have none; None when lines
    // end in different breaks or no line has one. A save then knows, without looking at each
    // line, that runs of kept lines can be copied as they stand.
    LineBreak uniformBreak() const { return uniformBreak_; }
    const FileStamp &stamp() const { return stamp_; }
    // The hash of every byte read from the file (ContentHash).
    std::uint64_t contentHash() const { return contentHash_; }
    std::size_t byteSize() const { return size_; }
    // False when the mapped file was truncated or written to since it was opened: what was read
    // from it may mix old and new bytes.
    bool intact() const;
    // Whether the text is still the file's as scanned, which one fstat tells: so ask before a
    // command or a paint, not per line. Once the answer was no, lineText() reads every line as
    // empty, so that whoever shows lines never shows bytes that were never scanned.
    bool stillScanned() const;
    static QString changedWhileRead() { return tr("The file changed while it was being read"); }

    LineEnds lineEnds() const { return lineEnds_; }

    // Indexes bytes already in memory, as a file holding them would be read.
    static std::shared_ptr<LoadedText> fromBytes(std::string_view bytes,
        const Parallelism &parallelism = Parallelism::fromEnvironment(),
        LineEnds ends = LineEnds::Text);

private:
    friend class TextLoader;
    struct Pieces;
    void prepare(const Parallelism &parallelism, bool rawBytes, const ProgressFn &progress);
    bool convertWide();
    void buildIndex(const Parallelism &parallelism, bool hashing, const ProgressFn &progress);
    bool indexPieces(Pieces &pieces, const ProgressFn &progress);
    void countPiece(Pieces &pieces, std::size_t piece);
    void fillPiece(Pieces &pieces, std::size_t piece);
    template<class BreakFn>
    void eachBreak(const Pieces &pieces, std::size_t begin, std::size_t end, BreakFn &&brk) const;
    void markPagesBeyondAscii(std::size_t from, std::size_t end);
    std::size_t longLineLength(int line) const;

    // An index entry is offset << lengthBits | length; a line of longLine bytes or more has
    // longLine there and its length in longLines_.
    static constexpr unsigned lengthBits = 24;
    static constexpr std::uint64_t longLine = (std::uint64_t(1) << lengthBits) - 1;

    const char *data_ = nullptr; // the file's bytes: buffer_ or mapped_
    std::size_t size_ = 0;
    BulkArray<char> buffer_; // what was read, and room to spare
    BulkArray<char> original_; // a UTF-16 file's bytes read into memory, before its conversion
    std::string_view source_; // of a UTF-16 file: its own bytes, mapped or in original_
    MappedFile mapped_;
    FileDescriptor file_; // of the mapped file, to tell whether it changed
    int lineCount_ = 0;
    BulkArray<std::uint64_t> index_;
    std::vector<std::pair<int, std::size_t>> longLines_; // by line
    bool hasBom_ = false;
    static constexpr std::size_t asciiPageBytes = 4096;
    std::vector<std::uint8_t> asciiPages_; // per page of the text, 1 when it is all ASCII
    FileEncoding encoding_ = FileEncoding::Bytes;
    LineBreak firstBreak_ = LineBreak::None;
    LineBreak uniformBreak_ = LineBreak::None;
    LineEnds lineEnds_ = LineEnds::Text;
    FileStamp stamp_;
    std::uint64_t contentHash_ = 0;
    mutable std::atomic<bool> withdrawn_ {false};
    bool indexStopped_ = false;
    QString indexError_;
};

// What a read of a stream held when the stream outgrew the memory it may take, for the caller to
// go on past memory: the bytes read so far, and the stream at the byte after them.
struct StreamOverflow
{
    BulkArray<char> bytes; // the first `size` of them read
    std::size_t size = 0;
    FileDescriptor stream;
};

struct LoadResult
{
    std::shared_ptr<LoadedText> text; // empty on failure or stop
    bool stopped = false;
    QString error; // the system's reason when the file could not be read
    bool unreadable = false; // not text in an encoding that is read (FileEncoding::Unreadable)
    std::shared_ptr<StreamOverflow> overflow; // set when a stream outgrew its budget
};

// Reads a file whole, and refuses one whose encoding is Unreadable or that changes while it is
// read. The progress counts the bytes read and then the bytes indexed, out of twice the file's
// size. Records ended by NUL are bytes whatever they hold: NULs are what they are made of, so
// nothing is refused as binary, and no UTF-16 mark is looked for.
class TextLoader
{
public:
    static LoadResult load(const QString &path, const ProgressFn &progress = {},
        const Parallelism &parallelism = Parallelism::fromEnvironment(),
        LineEnds ends = LineEnds::Text);
    // The same for a file already open: standard input, say, a pipe or a terminal read to its end.
    // A stream that cannot be mapped is read only while its scan in memory would fit `budget`;
    // past that, the result holds what was read and the stream, as its overflow.
    static LoadResult load(FileDescriptor file, const ProgressFn &progress = {},
        const Parallelism &parallelism = Parallelism::fromEnvironment(),
        LineEnds ends = LineEnds::Text, std::uint64_t budget = UINT64_MAX);
};

} // namespace twinscan
