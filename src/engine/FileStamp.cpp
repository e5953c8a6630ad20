#include "engine/FileStamp.h"

#include "engine/FileName.h"
#include "engine/SystemCalls.h"

#include <QFile>
#include <cstring>
#include <sys/stat.h>

namespace twinscan {

namespace {
std::int64_t nanoseconds(const timespec &time)
{
    return std::int64_t(time.tv_sec) * 1000000000 + time.tv_nsec;
}
} // namespace

FileStamp stampOf(const struct stat &st)
{
    FileStamp stamp;
    stamp.size = st.st_size;
    stamp.modifiedNs = nanoseconds(st.st_mtim);
    stamp.changedNs = nanoseconds(st.st_ctim);
    stamp.device = st.st_dev;
    stamp.inode = st.st_ino;
    return stamp;
}

std::optional<FileStamp> stampOf(const QString &path)
{
    struct stat st
    {
    };
    if (::stat(fileNameBytes(path).constData(), &st) != 0)
        return std::nullopt;
    return stampOf(st);
}

std::optional<FileStamp> stampOf(int fd)
{
    struct stat st
    {
    };
    if (sys::fstat(fd, &st) != 0)
        return std::nullopt;
    return stampOf(st);
}

QString systemReason(int errorNumber)
{
    return QString::fromLocal8Bit(std::strerror(errorNumber));
}

} // namespace twinscan
