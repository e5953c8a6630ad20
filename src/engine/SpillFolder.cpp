#include "engine/SpillFolder.h"

#include "engine/FileName.h"
#include "engine/FileStamp.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/statfs.h>
#include <unistd.h>

namespace twinscan::spill {

namespace {
struct SpillText
{
    Q_DECLARE_TR_FUNCTIONS(SpillFolder)
};

QByteArray nameOf(const QString &path)
{
    return fileNameBytes(path);
}

Folder usable(const QString &path)
{
    struct statfs fs
    {
    };
    if (path.isEmpty() || ::statfs(nameOf(path).constData(), &fs) != 0
        || ::access(nameOf(path).constData(), W_OK | X_OK) != 0)
        return {};
    return {QDir(path).absolutePath(), std::uint64_t(fs.f_bavail) * std::uint64_t(fs.f_bsize)};
}

QString environment(const char *name)
{
    const char *value = std::getenv(name);
    return value ? fileNameFromBytes(value) : QString();
}
} // namespace

bool isMemoryBacked(const QString &folder)
{
    struct statfs fs
    {
    };
    if (::statfs(nameOf(folder).constData(), &fs) != 0)
        return false;
    return fs.f_type == TMPFS_MAGIC || fs.f_type == RAMFS_MAGIC;
}

Folder chooseFolder(const QString &outputFolder)
{
    if (const Folder asked = usable(environment("TWINSCAN_TMPDIR")); !asked.path.isEmpty())
        return asked;
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    QDir().mkpath(cache);
    for (const QString &candidate : {environment("TMPDIR"), outputFolder, cache}) {
        const Folder folder = usable(candidate);
        if (!folder.path.isEmpty() && !isMemoryBacked(folder.path))
            return folder;
    }
    return {};
}

FileDescriptor openFile(const QString &folder)
{
    const QByteArray path = nameOf(folder);
    FileDescriptor fd(::open(path.constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600));
    if (fd.isOpen() || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL))
        return fd;
    QByteArray name = path + "/.twinscan-spill-XXXXXX";
    fd.reset(::mkostemp(name.data(), O_CLOEXEC));
    if (fd.isOpen())
        ::unlink(name.constData());
    return fd;
}

QString cannotWriteText(const QString &folder, int errorNumber)
{
    return SpillText::tr("Can't write a temporary file in %1: %2")
        .arg(QDir::toNativeSeparators(folder), systemReason(errorNumber));
}

QString spaceNeededText(std::uint64_t bytes, const QString &folder)
{
    const double gigabytes = double(bytes) / 1e9;
    return SpillText::tr("needs about %1 GB of free space in %2")
        .arg(gigabytes < 10 ? QString::number(gigabytes, 'f', 1)
                            : QString::number(qint64(gigabytes + 0.5)),
            QDir::toNativeSeparators(folder));
}

} // namespace twinscan::spill
