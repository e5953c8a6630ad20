#pragma once

#include "engine/FileDescriptor.h"
#include "engine/KeyTally.h"

#include <QString>
#include <cstdint>
#include <memory>

namespace twinscan {

// A temporary file of tallies in a folder, written through a buffer and then read back from its
// start. It is made (spill::openFile) and its buffer taken when the first tally comes, since many
// partitions of a small file get none. Most keys of a large file occur once, so a tally of one
// line is written in 24 bytes and only the others in 40.
class TallyFile
{
public:
    explicit TallyFile(QString folder, std::size_t bufferBytes = std::size_t(64) << 10);

    // False, errno set, when the file cannot be made or written.
    bool write(const Tally &tally);
    bool flush();
    std::uint64_t bytesWritten() const { return written_ + std::uint64_t(end_); }

    // Once flushed: reads from the start. next() is false at the end or, errno set and
    // failed() true, on a read error or a record cut short.
    bool rewind();
    bool next(Tally &tally);
    bool failed() const { return failed_; }

private:
    bool fill(std::size_t wanted);

    QString folder_;
    FileDescriptor fd_;
    std::unique_ptr<char[]> buffer_;
    std::size_t capacity_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    std::uint64_t written_ = 0;
    bool failed_ = false;
};

} // namespace twinscan
