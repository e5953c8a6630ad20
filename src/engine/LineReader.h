#pragma once

#include "engine/ContentHash.h"
#include "engine/FileDescriptor.h"
#include "engine/FileEncoding.h"
#include "engine/LineBreaks.h"

#include <QCoreApplication>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace twinscan {

// Reads a file line by line with the same rules as LoadedText, holding one chunk and at most one
// line in memory: the save streams its source through this. The lines of a UTF-16 file come in
// its own bytes, so line n here is line n of the converted text the scan read.
class LineReader
{
    Q_DECLARE_TR_FUNCTIONS(LineReader)

public:
    explicit LineReader(std::size_t chunkSize = std::size_t(1) << 20);
    LineReader(const LineReader &) = delete;
    LineReader &operator=(const LineReader &) = delete;

    // False with error() set when the file cannot be opened.
    bool open(const QString &path);
    // Reads from an already open descriptor.
    void adopt(FileDescriptor fd) { fd_ = std::move(fd); }
    // Reads bytes already in memory, as a file holding them would be read: a pipe can be read
    // only once, so a save from one reads what the scan kept. They must outlive the reader.
    void adoptBytes(std::string_view bytes) { memory_ = bytes; }
    // Lines ended by NUL instead, read as bytes as LoadedText reads them; before the first next().
    void setLineEnds(LineEnds ends) { lineEnds_ = ends; }
    // A line of more bytes than this fails next() with error() set, instead of taking memory
    // the caller does not have.
    void setLongestLine(std::size_t bytes) { longestLine_ = bytes; }

    // The next line without its terminator. False at the end of the file or on a read error.
    bool next(std::string_view &line, LineBreak &lineBreak);
    // Instead of lines, for a caller that knows where they are: the next `size` bytes of the
    // file, fewer only at its end, hashed as next() hashes them. Valid until the next call; false
    // on a read error.
    bool read(std::size_t size, std::string_view &bytes);

    bool hasBom() const { return !mark_.empty(); }
    // The byte-order mark skipped before line 1, known once next() was called.
    std::string_view mark() const { return mark_; }
    // Bytes for anything but UTF-16, which splits in code units (WideLines.h).
    FileEncoding encoding() const { return encoding_; }
    // Whether the loader would read this text: false for binary data, UTF-32 and UTF-16 without
    // a mark, which are still split as bytes here. Known once the first line is read.
    bool readable() const { return readable_; }
    QString error() const { return error_; }
    int fd() const { return fd_.get(); }
    // Of every byte read so far; at the end of the file, of the whole file as LoadedText hashes it.
    std::uint64_t contentHash() const { return hash_.value(); }

private:
    bool fill();
    bool readMore(std::size_t room);
    std::size_t readMemory(std::size_t room);

    FileDescriptor fd_;
    std::string_view memory_; // the bytes still to read, when not reading fd_
    ContentHash hash_;
    std::unique_ptr<char[]> buffer_;
    std::size_t capacity_;
    std::size_t longestLine_ = SIZE_MAX;
    std::size_t begin_ = 0; // first unread byte
    std::size_t end_ = 0; // one past the last byte read
    bool atEnd_ = false;
    bool started_ = false;
    FileEncoding encoding_ = FileEncoding::Bytes;
    bool readable_ = true;
    LineEnds lineEnds_ = LineEnds::Text;
    std::string_view mark_;
    QString error_;
};

} // namespace twinscan
