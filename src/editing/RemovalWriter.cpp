#include "editing/RemovalWriter.h"

#include "editing/LineCopy.h"
#include "editing/OutputFile.h"
#include "engine/LineReader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace twinscan {

namespace {
// The translation context of the save's messages.
struct RemovalWriter
{
    Q_DECLARE_TR_FUNCTIONS(RemovalWriter)
};

QString fileError(const char *text, const QString &path, const QString &reason)
{
    return RemovalWriter::tr(text).arg(QDir::toNativeSeparators(path), reason);
}

SaveResult refusal(SaveStatus status, QString message)
{
    SaveResult result;
    result.status = status;
    result.message = std::move(message);
    return result;
}

// Opens the source for the reader and checks that it is still the file that was scanned; a
// refusal when it cannot be read or is not that file.
std::optional<SaveResult> openSource(
    const SaveRequest &request, LineReader &reader, struct stat &st)
{
    const int fd = ::open(QFile::encodeName(request.sourceFile).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 && (errno == ENOENT || errno == ENOTDIR))
        return refusal(SaveStatus::SourceMissing, sourceMissingText());
    if (fd < 0)
        return refusal(SaveStatus::Failed,
            fileError("Can't read %1: %2", request.sourceFile, systemReason(errno)));
    reader.adopt(fd);
    if (::fstat(fd, &st) != 0)
        return refusal(SaveStatus::Failed,
            fileError("Can't read %1: %2", request.sourceFile, systemReason(errno)));
    if (S_ISDIR(st.st_mode))
        return refusal(SaveStatus::SourceMissing, sourceMissingText());
    const auto now = stampOf(fd);
    if (!now || !now->sameContent(request.scannedStamp))
        return refusal(SaveStatus::SourceChanged, sourceChangedText());
    return std::nullopt;
}

void syncFolderOf(const QString &path)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd); // the rename is durable once the folder is; a failure here loses nothing
    ::close(fd);
}

// Makes the finished temporary file the source: the source's owner and permissions first, then
// one atomic rename, so that the source is never missing or half written.
bool commitReplacement(
    OutputFile &out, const SaveTarget &target, const struct stat &source, QString &message)
{
    if (!out.setAccess(source.st_uid, source.st_gid, source.st_mode & 0777) || !out.sync()
        || !out.close()) {
        message = fileError("Can't write %1: %2", target.outputFile, out.error());
        return false;
    }
    if (::rename(QFile::encodeName(target.outputFile).constData(),
            QFile::encodeName(target.replacedFile).constData())
        != 0) {
        message = fileError("Can't replace %1: %2", target.replacedFile, systemReason(errno));
        return false;
    }
    syncFolderOf(target.replacedFile);
    return true;
}

bool finishOutput(OutputFile &out, const SaveTarget &target, bool complete,
    const struct stat &source, QString &message)
{
    if (complete && target.replaceSource)
        return commitReplacement(out, target, source, message);
    // A stopped copy keeps what it wrote, so it is flushed like a finished one.
    if (!(complete ? out.sync() : out.flush()) || !out.close()) {
        message = fileError("Can't write %1: %2", target.outputFile, out.error());
        return false;
    }
    return true;
}

bool openOutput(OutputFile &out, const SaveTarget &target, QString &message)
{
    const bool opened = target.replaceSource ? out.createPrivate(target.outputFile)
                                             : out.create(target.outputFile);
    if (!opened)
        message = fileError("Can't create %1: %2", target.outputFile, out.error());
    return opened;
}

QString copyError(const CopyOutcome &copy, const SaveRequest &request, const SaveTarget &target,
    const LineReader &reader, const OutputFile &out)
{
    if (copy.readFailed)
        return fileError("Can't read %1: %2", request.sourceFile, reader.error());
    return fileError("Can't write %1: %2", target.outputFile, out.error());
}
} // namespace

QString sourceMissingText()
{
    return RemovalWriter::tr("Can't find original file!");
}

QString sourceChangedText()
{
    return RemovalWriter::tr(
        "The file has changed since it was scanned. Please scan it again before saving.");
}

SaveResult saveWithRemoval(
    const SaveRequest &request, const RemovalSet &removals, const ProgressFn &progress)
{
    LineReader reader;
    struct stat sourceStat
    {
    };
    if (auto refused = openSource(request, reader, sourceStat))
        return *refused;
    SaveResult result;
    result.target = resolveSaveTarget(request.sourceFile, request.targetFile);

    OutputFile out;
    if (!openOutput(out, result.target, result.message)) {
        result.status = SaveStatus::Failed;
        return result;
    }
    const CopyOutcome copy
        = copyWithoutRemoved(reader, out, removals, request.rules, request.lastLineIndex, progress);
    result.removedCount = copy.removed;
    if (copy.failed()) {
        result.message = copyError(copy, request, result.target, reader, out);
        result.status = SaveStatus::Failed;
    } else if (!finishOutput(out, result.target, !copy.stopped, sourceStat, result.message)) {
        result.status = SaveStatus::Failed;
    } else {
        result.status = copy.stopped ? SaveStatus::Stopped : SaveStatus::Completed;
    }
    // A failed replacement leaves no temporary file behind; the source was never touched.
    if (result.status == SaveStatus::Failed && result.target.replaceSource)
        ::unlink(QFile::encodeName(result.target.outputFile).constData());
    return result;
}

} // namespace twinscan
