#include "engine/FileStamp.h"

#include <QFile>
#include <cstring>
#include <sys/stat.h>

namespace twinscan {

namespace {
FileStamp fromStat(const struct stat &st)
{
    FileStamp stamp;
    stamp.size = st.st_size;
    stamp.modifiedNs = std::int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    stamp.device = st.st_dev;
    stamp.inode = st.st_ino;
    return stamp;
}
} // namespace

std::optional<FileStamp> stampOf(const QString &path)
{
    struct stat st
    {
    };
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return std::nullopt;
    return fromStat(st);
}

std::optional<FileStamp> stampOf(int fd)
{
    struct stat st
    {
    };
    if (::fstat(fd, &st) != 0)
        return std::nullopt;
    return fromStat(st);
}

QString systemReason(int errorNumber)
{
    return QString::fromLocal8Bit(std::strerror(errorNumber));
}

} // namespace twinscan
