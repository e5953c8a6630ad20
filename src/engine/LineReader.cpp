#include "engine/LineReader.h"

#include "engine/FileName.h"
#include "engine/FileStamp.h"
#include "engine/SystemCalls.h"
#include "engine/WideLines.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>

namespace twinscan {

LineReader::LineReader(std::size_t chunkSize) : buffer_(new char[chunkSize]), capacity_(chunkSize)
{
}

bool LineReader::open(const QString &path)
{
    FileDescriptor fd(sys::open(fileNameBytes(path).constData(), O_RDONLY | O_CLOEXEC));
    if (!fd.isOpen()) {
        error_ = systemReason(errno);
        return false;
    }
    adopt(std::move(fd));
    return true;
}

// Moves the unread bytes to the front, grows the buffer when one line fills it, and reads more.
bool LineReader::fill()
{
    const std::size_t pending = end_ - begin_;
    if (begin_ > 0) {
        std::memmove(buffer_.get(), buffer_.get() + begin_, pending);
        begin_ = 0;
        end_ = pending;
    }
    if (end_ == capacity_) {
        if (capacity_ >= longestLine_) {
            error_ = tr("holds a line of more than %1 MB, more than the memory Twinscan may use")
                         .arg(longestLine_ >> 20);
            return false;
        }
        std::unique_ptr<char[]> grown(new char[capacity_ * 2]);
        std::memcpy(grown.get(), buffer_.get(), end_);
        buffer_ = std::move(grown);
        capacity_ *= 2;
    }
    return readMore(capacity_ - end_);
}

// One read of up to `room` bytes after those held.
bool LineReader::readMore(std::size_t room)
{
    const ssize_t got = fd_.isOpen() ? sys::read(fd_.get(), buffer_.get() + end_, room)
                                     : ssize_t(readMemory(room));
    if (got < 0) {
        error_ = systemReason(errno);
        return false;
    }
    atEnd_ = got == 0;
    hash_.add(buffer_.get() + end_, std::size_t(got));
    end_ += std::size_t(got);
    return true;
}

std::size_t LineReader::readMemory(std::size_t room)
{
    const std::size_t got = std::min(room, memory_.size());
    if (got > 0)
        std::memcpy(buffer_.get() + end_, memory_.data(), got);
    memory_.remove_prefix(got);
    return got;
}

bool LineReader::read(std::size_t size, std::string_view &bytes)
{
    begin_ = end_ = 0;
    if (capacity_ < size) {
        buffer_.reset(new char[size]);
        capacity_ = size;
    }
    while (end_ < size && !atEnd_) {
        if (!readMore(size - end_))
            return false;
    }
    bytes = std::string_view(buffer_.get(), end_);
    return true;
}

bool LineReader::next(std::string_view &line, LineBreak &lineBreak)
{
    if (!started_) {
        // The first block is read whole to judge it as the loader does.
        while (!atEnd_ && end_ < encodingBlockBytes) {
            if (!fill())
                return false;
        }
        if (lineEnds_ == LineEnds::Text) {
            encoding_ = markedEncoding(buffer_.get(), end_);
            readable_ = detectEncoding(buffer_.get(), end_) != FileEncoding::Unreadable;
        }
        mark_ = markOf(encoding_, startsWithBom(buffer_.get(), end_));
        begin_ = mark_.size();
        started_ = true;
    }
    for (;;) {
        const char *p = buffer_.get() + begin_;
        const char *end = buffer_.get() + end_;
        if (p == end && atEnd_)
            return false;
        const NextLine found = isWide(encoding_)
            ? nextWideLine(p, end, atEnd_, encoding_ == FileEncoding::Utf16Be)
            : lineEnds_ == LineEnds::Nul ? nextRecord(p, end, atEnd_)
                                         : nextLine(p, end, atEnd_);
        if (found.complete && p != end) {
            line = std::string_view(p, std::size_t(found.end - p));
            lineBreak = found.lineBreak;
            begin_ = std::size_t(found.next - buffer_.get());
            return true;
        }
        if (!fill())
            return false;
    }
}

} // namespace twinscan
