#include "editing/OutputFile.h"

#include "engine/FileStamp.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace twinscan {

OutputFile::OutputFile(std::size_t bufferSize)
    : buffer_(new char[bufferSize]), capacity_(bufferSize)
{
}

OutputFile::~OutputFile()
{
    if (fd_ >= 0)
        ::close(fd_);
}

bool OutputFile::create(const QString &path)
{
    return openWith(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
}

bool OutputFile::createPrivate(const QString &path)
{
    // O_EXCL after the unlink: a leftover temporary file, or a link planted under its name,
    // is never written through.
    if (::unlink(QFile::encodeName(path).constData()) != 0 && errno != ENOENT)
        return fail(errno);
    return openWith(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
}

bool OutputFile::openWith(const QString &path, int flags, unsigned mode)
{
    fd_ = ::open(QFile::encodeName(path).constData(), flags, mode_t(mode));
    return fd_ >= 0 || fail(errno);
}

bool OutputFile::writeSlow(std::string_view bytes)
{
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
    const std::size_t size = used_;
    used_ = 0;
    return writeAll(buffer_.get(), size);
}

bool OutputFile::writeAll(const char *data, std::size_t size)
{
    while (size > 0) {
        const ssize_t done = ::write(fd_, data, size);
        if (done < 0 && errno == EINTR)
            continue;
        if (done < 0)
            return fail(errno);
        data += done;
        size -= std::size_t(done);
    }
    return true;
}

bool OutputFile::sync()
{
    if (!flush())
        return false;
    return ::fsync(fd_) == 0 || fail(errno);
}

bool OutputFile::setAccess(unsigned owner, unsigned group, unsigned mode)
{
    // Only root may give a file away; anyone else keeps the file as their own, as a copy would.
    if (::fchown(fd_, uid_t(owner), gid_t(group)) != 0)
        (void)::fchown(fd_, uid_t(-1), gid_t(group));
    return ::fchmod(fd_, mode_t(mode)) == 0 || fail(errno);
}

bool OutputFile::close()
{
    if (fd_ < 0)
        return error_.isEmpty();
    const bool flushed = flush();
    const int closed = ::close(fd_);
    fd_ = -1;
    if (closed != 0 && flushed)
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
