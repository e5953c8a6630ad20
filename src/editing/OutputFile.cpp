#include "editing/OutputFile.h"

#include "editing/InterruptSignals.h"
#include "engine/FileStamp.h"
#include "engine/SystemCalls.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace twinscan {

OutputFile::OutputFile(std::size_t bufferSize)
    : buffer_(new char[bufferSize]), capacity_(bufferSize)
{
}

OutputFile::~OutputFile()
{
    behind_.reset(); // its write in flight uses the descriptor
}

void OutputFile::writeBehind()
{
    behind_ = std::make_unique<WriteBehind>(fd_.get(), capacity_);
}

namespace {
bool isFifo(int folder, const QByteArray &name)
{
    struct stat st
    {
    };
    return ::fstatat(folder, name.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0
        && S_ISFIFO(st.st_mode);
}
} // namespace

// Opened without blocking: a FIFO that nobody reads yet answers at once, where a blocking open
// would wait for a reader deaf to Stop and signals. The wait for one goes in steps instead.
bool OutputFile::openDevice(int folder, const QByteArray &name)
{
    for (;;) {
        fd_.reset(
            sys::openAt(folder, name.constData(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
        if (fd_.isOpen())
            break;
        const int error = errno;
        if (error != ENXIO || !isFifo(folder, name))
            return fail(error);
        ::poll(nullptr, 0, 100);
        if (!keepWaiting())
            return fail(errno);
    }
    writeWithoutBlocking();
    return true;
}

// A FIFO or a device opened anew has an open file description of its own, whose flags nobody
// else shares: the shell that handed the descriptor down keeps its blocking writes.
bool OutputFile::openDescriptor(int fd)
{
    struct stat st
    {
    };
    if (::fstat(fd, &st) == 0 && (S_ISFIFO(st.st_mode) || S_ISCHR(st.st_mode))) {
        const std::string own = "/proc/self/fd/" + std::to_string(fd);
        fd_.reset(sys::open(own.c_str(), O_WRONLY | O_CLOEXEC));
        if (fd_.isOpen()) {
            writeWithoutBlocking();
            return true;
        }
    }
    fd_.reset(::fcntl(fd, F_DUPFD_CLOEXEC, 0));
    return fd_.isOpen() || fail(errno);
}

// Where the flag cannot be set, writes block as before, and only a signal cuts them short.
void OutputFile::writeWithoutBlocking()
{
    const int flags = ::fcntl(fd_.get(), F_GETFL);
    nonBlocking_ = flags != -1 && ::fcntl(fd_.get(), F_SETFL, flags | O_NONBLOCK) == 0;
}

bool OutputFile::writeSlow(std::string_view bytes)
{
    if (behind_ && bytes.size() < capacity_ && error_.isEmpty()) {
        if (const int error = behind_->handOver(buffer_, used_))
            return fail(error);
        std::memcpy(buffer_.get(), bytes.data(), bytes.size());
        used_ = bytes.size();
        return true;
    }
    if (!flush())
        return false;
    if (bytes.size() >= capacity_)
        return writeAll(bytes.data(), bytes.size());
    std::memcpy(buffer_.get(), bytes.data(), bytes.size());
    used_ = bytes.size();
    return true;
}

bool OutputFile::flush()
{
    if (!error_.isEmpty())
        return false;
    if (behind_) {
        if (const int error = behind_->finish())
            return fail(error);
    }
    const std::size_t size = used_;
    used_ = 0;
    return writeAll(buffer_.get(), size);
}

bool OutputFile::writeAll(const char *data, std::size_t size)
{
    while (nonBlocking_ && size > 0) {
        const ssize_t done = sys::write(fd_.get(), data, size);
        if (done >= 0) {
            data += done;
            size -= std::size_t(done);
        } else if (errno != EAGAIN || !waitForRoom()) {
            return fail(errno);
        }
    }
    const int error = writeFully(fd_.get(), data, size);
    return error == 0 || fail(error);
}

// False, with errno set, when the wait ends in a signal or a stop.
bool OutputFile::waitForRoom()
{
    pollfd room {fd_.get(), POLLOUT, 0};
    if (::poll(&room, 1, 100) < 0 && errno != EINTR)
        return false;
    return keepWaiting();
}

// False, with errno set to EINTR, when a signal came or the patience ran out.
bool OutputFile::keepWaiting()
{
    stopped_ = keepWaiting_ && !keepWaiting_();
    errno = EINTR;
    return !stopped_ && interrupts::pendingSignal() == 0;
}

bool OutputFile::sync()
{
    if (!flush())
        return false;
    return sys::fsync(fd_.get()) == 0 || fail(errno);
}

bool OutputFile::setAccess(unsigned owner, unsigned group, unsigned mode)
{
    // Only root may give a file away; anyone else keeps the file as their own, as a copy would.
    if (::fchown(fd_.get(), uid_t(owner), gid_t(group)) != 0) {
        // Not a member of the group either: then the file keeps the user's own group.
        [[maybe_unused]] const int groupKept = ::fchown(fd_.get(), uid_t(-1), gid_t(group));
    }
    return ::fchmod(fd_.get(), mode_t(mode)) == 0 || fail(errno);
}

bool OutputFile::close()
{
    if (!fd_.isOpen())
        return error_.isEmpty();
    const bool flushed = flush();
    behind_.reset();
    if (!fd_.close() && flushed)
        return fail(errno);
    return flushed;
}

bool OutputFile::fail(int errorNumber)
{
    if (error_.isEmpty())
        error_ = systemReason(errorNumber);
    return false;
}

} // namespace twinscan
