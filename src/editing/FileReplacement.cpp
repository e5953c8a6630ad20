#include "editing/FileReplacement.h"

#include "editing/OutputFile.h"
#include "editing/TemporaryFile.h"
#include "engine/FileName.h"
#include "engine/FileStamp.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <string_view>
#include <sys/stat.h>

namespace twinscan {

namespace {
// The translation context of the messages.
struct FileReplacement
{
    Q_DECLARE_TR_FUNCTIONS(FileReplacement)
};

QString cannotWrite(const QString &file, const QString &reason)
{
    return FileReplacement::tr("Can't write %1: %2").arg(QDir::toNativeSeparators(file), reason);
}
} // namespace

QString replaceFileContent(const QString &file, QByteArrayView bytes)
{
    const QFileInfo named(file);
    const QFileInfo target(named.exists() ? named.canonicalFilePath() : named.absoluteFilePath());
    struct stat old
    {
    };
    const bool replacing = ::stat(fileNameBytes(target.filePath()).constData(), &old) == 0;
    TemporaryFile temporary;
    FileDescriptor fd = temporary.create(target.absolutePath());
    if (!fd.isOpen())
        return cannotWrite(target.filePath(), systemReason(errno));
    OutputFile out(std::size_t(bytes.size()) + 1);
    out.adopt(std::move(fd));
    const bool written = out.write(std::string_view(bytes.data(), std::size_t(bytes.size())))
        && (!replacing || out.setAccess(old.st_uid, old.st_gid, old.st_mode & 07777)) && out.sync()
        && out.close();
    if (!written)
        return cannotWrite(target.filePath(), out.error());
    if (!temporary.commit(target.fileName()))
        return cannotWrite(target.filePath(), systemReason(errno));
    return {};
}

} // namespace twinscan
