#include "engine/TallyFile.h"

#include "engine/SpillFolder.h"
#include "engine/SystemCalls.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace twinscan {

namespace {
constexpr std::uint64_t moreThanOnce = std::uint64_t(1) << 63; // in `first`: last and count follow
constexpr std::size_t shortRecord = 3 * sizeof(std::uint64_t);
constexpr std::size_t longRecord = 5 * sizeof(std::uint64_t);
} // namespace

TallyFile::TallyFile(QString folder, std::size_t bufferBytes)
    : folder_(std::move(folder)), capacity_(std::max(bufferBytes, longRecord))
{
}

bool TallyFile::write(const Tally &tally)
{
    if (!buffer_)
        buffer_.reset(new char[capacity_]);
    if (capacity_ - end_ < longRecord && !flush())
        return false;
    const bool once = tally.count == 1;
    const std::uint64_t words[5] = {tally.hash.low, tally.hash.high,
        tally.first | (once ? 0 : moreThanOnce), tally.last, tally.count};
    const std::size_t size = once ? shortRecord : longRecord;
    std::memcpy(buffer_.get() + end_, words, size);
    end_ += size;
    return true;
}

bool TallyFile::flush()
{
    if (end_ > 0 && !fd_.isOpen()) {
        fd_ = spill::openFile(folder_);
        if (!fd_.isOpen())
            return false;
    }
    for (std::size_t done = 0; done < end_;) {
        const ssize_t wrote = sys::write(fd_.get(), buffer_.get() + done, end_ - done);
        if (wrote <= 0) {
            if (wrote == 0)
                errno = ENOSPC;
            return false;
        }
        done += std::size_t(wrote);
    }
    written_ += end_;
    end_ = 0;
    return true;
}

bool TallyFile::rewind()
{
    begin_ = end_ = 0;
    failed_ = false;
    if (!buffer_)
        return true; // nothing was written
    return ::lseek(fd_.get(), 0, SEEK_SET) == 0;
}

// Keeps the unread bytes and reads until `wanted` of them are there or the file ends.
bool TallyFile::fill(std::size_t wanted)
{
    if (!buffer_)
        return false; // nothing was written, so there is nothing to read
    std::memmove(buffer_.get(), buffer_.get() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
    while (end_ < wanted && fd_.isOpen()) {
        const ssize_t got = sys::read(fd_.get(), buffer_.get() + end_, capacity_ - end_);
        if (got < 0)
            failed_ = true;
        if (got <= 0)
            return false;
        end_ += std::size_t(got);
    }
    return end_ >= wanted;
}

bool TallyFile::next(Tally &tally)
{
    if (end_ - begin_ < shortRecord && !fill(shortRecord)) {
        failed_ = failed_ || end_ != begin_;
        return false;
    }
    std::uint64_t words[5] = {};
    std::memcpy(words, buffer_.get() + begin_, shortRecord);
    const bool once = !(words[2] & moreThanOnce);
    if (!once && end_ - begin_ < longRecord && !fill(longRecord)) {
        failed_ = true;
        return false;
    }
    std::memcpy(words, buffer_.get() + begin_, once ? shortRecord : longRecord);
    begin_ += once ? shortRecord : longRecord;
    const std::uint64_t first = words[2] & ~moreThanOnce;
    tally = {{words[0], words[1]}, first, once ? first : words[3], once ? 1 : words[4]};
    return true;
}

} // namespace twinscan
