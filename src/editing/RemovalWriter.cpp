#include "editing/RemovalWriter.h"

#include "editing/ExtendedAttributes.h"
#include "editing/InPlaceCopy.h"
#include "editing/InterruptSignals.h"
#include "editing/LineCopy.h"
#include "editing/OutputFile.h"
#include "editing/ReplacedPages.h"
#include "editing/TemporaryFile.h"
#include "engine/FileName.h"
#include "engine/LineReader.h"
#include "engine/LoadedText.h"
#include "engine/Parallelism.h"
#include "engine/SystemCalls.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
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

// What a save that went on could not keep of the file it replaced.
QString unkeptText(const QString &what)
{
    return RemovalWriter::tr("Saved without some extended attributes of the file replaced: %1")
        .arg(what);
}

QByteArray nameOf(const QString &path)
{
    return fileNameBytes(path);
}

// Why the user may not write the target, or 0. A file without any write permission bit is refused
// to root as well, as editors refuse it: a read-only file is one its owner means to keep.
int writeRefusal(const SaveTarget &target)
{
    struct stat st
    {
    };
    const int folder = target.folder->get();
    if (::fstatat(folder, target.name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT ? 0 : errno; // a new file: its folder decides
    if (::faccessat(folder, target.name.constData(), W_OK, AT_EACCESS | AT_SYMLINK_NOFOLLOW) != 0)
        return errno;
    return st.st_mode & 0222 ? 0 : EACCES;
}

mode_t creationMask()
{
    static const mode_t mask = [] {
        const mode_t current = ::umask(022);
        ::umask(current);
        return current;
    }();
    return mask;
}

// The owner, group and permission bits the result gets: those of the file it replaces, or those
// of a file created the usual way.
struct FileAccess
{
    uid_t owner = uid_t(-1); // -1: as created
    gid_t group = gid_t(-1);
    mode_t mode = 0;
};

FileAccess accessOf(const struct stat &st)
{
    return {st.st_uid, st.st_gid, mode_t(st.st_mode & 0777)};
}

FileAccess newFileAccess()
{
    return {uid_t(-1), gid_t(-1), mode_t(0666 & ~creationMask())};
}

// One save, step by step; every step answers false once the save has failed or been refused.
class SaveRun
{
public:
    explicit SaveRun(const SaveRequest &request) : request_(request)
    {
        reader_.setLineEnds(request.rules.lineEnds);
    }

    // Asked while the output waits for a FIFO's reader or for room in it, so that Stop is heard
    // there too.
    void listen(const ProgressFn &progress);
    bool openSource();
    bool openOutput();
    bool openDescriptor();
    void copy(const RemovalSet &removals, const ProgressFn &progress);
    void write(const OutputFill &fill);
    SaveResult result() const;

private:
    bool openScannedBytes();
    void finish(const CopyOutcome &copied, bool reread);
    void stop();
    bool matchesScan();
    bool scannedIntact();
    bool sourceUnchanged();
    bool commit();
    bool replaceInPlace();
    bool openReplaced();
    bool openDevice();
    bool fail(SaveStatus status, QString message);
    bool failOn(const char *text, const QString &path, const QString &reason);
    bool failReading(int errorNumber);
    bool failWriting(const QString &reason);

    const SaveRequest &request_;
    LineReader reader_;
    OutputFile out_;
    TemporaryFile temporary_;
    ReplacedPages replacedPages_;
    FileAccess access_;
    FileDescriptor replaced_; // the file the result replaces, read for what it keeps
    struct stat replacedId_
    {
    }; // which file that is
    SaveResult result_;
    ProgressFn progress_;
    qint64 done_ = 0;
};

bool SaveRun::fail(SaveStatus status, QString message)
{
    result_.status = status;
    result_.file = request_.sourceFile;
    result_.reason = message;
    result_.message = std::move(message);
    return false;
}

bool SaveRun::failOn(const char *text, const QString &path, const QString &reason)
{
    fail(SaveStatus::Failed, fileError(text, path, reason));
    result_.file = path;
    result_.reason = reason;
    return false;
}

bool SaveRun::failReading(int errorNumber)
{
    return failOn("Can't read %1: %2", request_.sourceFile, systemReason(errorNumber));
}

bool SaveRun::failWriting(const QString &reason)
{
    return failOn("Can't write %1: %2", result_.target.replacedFile, reason);
}

// Opens the source for the reader and checks that it is still the file that was scanned.
bool SaveRun::openSource()
{
    if (request_.sourceFile.isEmpty())
        return openScannedBytes();
    FileDescriptor fd(sys::open(nameOf(request_.sourceFile).constData(), O_RDONLY | O_CLOEXEC));
    if (!fd.isOpen() && (errno == ENOENT || errno == ENOTDIR))
        return fail(SaveStatus::SourceMissing, sourceMissingText());
    struct stat st
    {
    };
    if (!fd.isOpen() || sys::fstat(fd.get(), &st) != 0)
        return failReading(errno);
    if (S_ISDIR(st.st_mode))
        return fail(SaveStatus::SourceMissing, sourceMissingText());
    if (!stampOf(st).sameContent(request_.scannedStamp))
        return fail(SaveStatus::SourceChanged, sourceChangedText());
    reader_.adopt(std::move(fd));
    result_.target = resolveSaveTarget(request_.sourceFile, request_.targetFile);
    return true;
}

// A source read from a pipe is gone once read: the scan's bytes stand for it, and there is no
// file to prove unchanged.
bool SaveRun::openScannedBytes()
{
    if (!request_.scanned)
        return fail(SaveStatus::SourceMissing, sourceMissingText());
    reader_.adoptBytes(request_.scanned->sourceBytes());
    result_.target = resolveSaveTarget(QString(), request_.targetFile);
    return true;
}

bool SaveRun::openOutput()
{
    SaveTarget &target = result_.target;
    if (!target.refusal.isEmpty())
        return failWriting(target.refusal);
    if (target.descriptor >= 0)
        return openDescriptor();
    if (target.direct)
        return openDevice();
    if (const int refused = writeRefusal(target))
        return failWriting(systemReason(refused));
    if (!openReplaced())
        return false;
    FileDescriptor fd = temporary_.create(target.folder->get());
    if (!fd.isOpen())
        return failWriting(systemReason(errno));
    out_.adopt(std::move(fd));
    const bool threads = Parallelism::fromEnvironment().threads > 1;
    replacedPages_.drop(target.replacedFile, reader_.fd(), threads);
    if (threads)
        out_.writeBehind();
    return true;
}

// The result keeps what the file it replaces holds besides its bytes, read from that file and no
// other. One the user may write but not read keeps its mode and owner only, and the save says so.
bool SaveRun::openReplaced()
{
    const int folder = result_.target.folder->get();
    const QByteArray &name = result_.target.name;
    replaced_.reset(
        sys::openAt(folder, name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat st
    {
    };
    if (replaced_.isOpen() && sys::fstat(replaced_.get(), &st) == 0) {
        access_ = accessOf(st);
        replacedId_ = st;
        return true;
    }
    if (replaced_.isOpen() || (errno != ENOENT && errno != EACCES))
        return failWriting(systemReason(errno));
    if (errno == EACCES && ::fstatat(folder, name.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
        access_ = accessOf(st);
        replacedId_ = st;
        result_.warning = unkeptText(systemReason(EACCES));
    } else {
        access_ = newFileAccess();
    }
    return true;
}

// A FIFO that has no reader yet is waited for; a stop meanwhile writes nothing.
bool SaveRun::openDevice()
{
    if (out_.openDevice(result_.target.folder->get(), result_.target.name))
        return true;
    if (!out_.stopped())
        return failWriting(out_.error());
    stop();
    return false;
}

// Lines appended to the file being read would be read again, without end.
bool SaveRun::openDescriptor()
{
    SaveTarget &target = result_.target;
    const auto out = stampOf(target.descriptor);
    const auto in = stampOf(reader_.fd());
    if (out && in && out->sameFile(*in))
        return failWriting(RemovalWriter::tr("it is the file being read"));
    return out_.openDescriptor(target.descriptor) || failWriting(out_.error());
}

void SaveRun::listen(const ProgressFn &progress)
{
    progress_ = progress;
    out_.setPatience([this] { return !progress_ || progress_(done_, request_.lastLineIndex); });
}

void SaveRun::copy(const RemovalSet &removals, const ProgressFn &progress)
{
    const ProgressFn told = [&](qint64 now, qint64 total) {
        done_ = now;
        return !progress || progress(now, total);
    };
    const LoadedText *scanned = request_.scanned.get();
    const CopyOutcome copied = scanned && canCopyByIndex(*scanned, request_.rules)
        ? copyByIndex(
            reader_, out_, removals, *scanned, request_.rules, request_.lastLineIndex, told)
        : copyWithoutRemoved(reader_, out_, removals, request_.rules, request_.lastLineIndex, told);
    finish(copied, true);
}

void SaveRun::write(const OutputFill &fill)
{
    finish(fill(out_), false);
}

// What `copied` did decides the ending; a copy that read the source again proves it by the hash
// of what it read, one that wrote from the scan's text by that text being intact.
void SaveRun::finish(const CopyOutcome &copied, bool reread)
{
    result_.removedCount = copied.removed;
    if (copied.stopped || out_.stopped() || interrupts::pendingSignal() != 0)
        stop();
    else if (copied.readFailed)
        failOn("Can't read %1: %2", request_.sourceFile, reader_.error());
    else if (copied.writeFailed)
        failWriting(out_.error());
    else if ((reread ? matchesScan() : scannedIntact()) && commit())
        result_.status = SaveStatus::Completed;
}

// A stop writes nothing: the temporary file goes, and the user's files stay as they were.
void SaveRun::stop()
{
    (void)out_.close(); // the temporary file goes with the save
    result_.status = SaveStatus::Stopped;
    result_.message.clear();
}

// A signal may have cut any call short; whatever failed then, the program was asked to go.
SaveResult SaveRun::result() const
{
    if (interrupts::pendingSignal() == 0 || result_.status == SaveStatus::Completed)
        return result_;
    SaveResult stopped = result_;
    stopped.status = SaveStatus::Stopped;
    stopped.message.clear();
    return stopped;
}

// The bytes read now are the bytes the scan read, so its line numbers mean the same lines.
bool SaveRun::matchesScan()
{
    return request_.sourceFile.isEmpty() || reader_.contentHash() == request_.scannedHash
        || fail(SaveStatus::SourceChanged, sourceChangedText());
}

// A mapped file written to since the scan may have given the output a mix of old and new bytes.
bool SaveRun::scannedIntact()
{
    return !request_.scanned || request_.scanned->intact()
        || fail(SaveStatus::SourceChanged, sourceChangedText());
}

// Nothing has changed the source since the scan: no write through any name (size, times) and
// no other file renamed onto its name.
bool SaveRun::sourceUnchanged()
{
    if (request_.sourceFile.isEmpty())
        return true;
    struct stat open
    {
    }, named {};
    if (sys::fstat(reader_.fd(), &open) != 0)
        return failReading(errno);
    const bool same = stampOf(open).sameContent(request_.scannedStamp)
        && ::stat(nameOf(request_.sourceFile).constData(), &named) == 0
        && stampOf(named).sameFile(request_.scannedStamp);
    return same || fail(SaveStatus::SourceChanged, sourceChangedText());
}

// Every byte written and synced first, then the checks, then one rename: until that rename the
// user's files are untouched, and the checks run as late before it as they can.
bool SaveRun::commit()
{
    if (result_.target.direct) {
        if (out_.close())
            return true;
        if (!out_.stopped())
            return failWriting(out_.error());
        stop(); // in the wait for the last bytes
        return false;
    }
    if (!out_.setAccess(access_.owner, access_.group, access_.mode))
        return failWriting(out_.error());
    // After the owner: a change of owner clears a file's capabilities.
    // A file replaced in place keeps its own.
    if (replaced_.isOpen() && !result_.target.inPlace) {
        if (const QString lost = copyExtendedAttributes(replaced_.get(), out_.fd());
            !lost.isEmpty())
            result_.warning = unkeptText(lost);
    }
    if (!out_.sync() || !out_.close())
        return failWriting(out_.error());
    if (!sourceUnchanged())
        return false;
    // From here a signal waits for the outcome, which is then the one reported.
    const interrupts::Deferral deferral;
    if (interrupts::pendingSignal() != 0)
        return false;
    const QString &replaced = result_.target.replacedFile;
    if (result_.target.inPlace)
        return replaceInPlace();
    if (!temporary_.commit(fileNameFromBytes(result_.target.name)))
        return failOn("Can't replace %1: %2", replaced, systemReason(errno));
    return true;
}

// A rename would give this name a file of its own and leave the other names with the old content,
// so the finished, synced result is copied over the file itself. Until that has succeeded the
// temporary file stays: a failure half-way leaves the whole result on disk, and says where.
bool SaveRun::replaceInPlace()
{
    const QString &replaced = result_.target.replacedFile;
    if (!temporary_.giveName())
        return failWriting(systemReason(errno));
    const FileDescriptor from = temporary_.openForReading();
    FileDescriptor to(sys::openAt(result_.target.folder->get(), result_.target.name.constData(),
        O_WRONLY | O_NOFOLLOW | O_CLOEXEC));
    struct stat st
    {
    };
    if (!from.isOpen() || !to.isOpen() || sys::fstat(to.get(), &st) != 0)
        return failWriting(systemReason(errno));
    if (st.st_dev != replacedId_.st_dev || st.st_ino != replacedId_.st_ino)
        return failWriting(RemovalWriter::tr("another file took its name during the save"));
    int error = copyOver(from.get(), to.get());
    if (!to.close() && error == 0)
        error = errno;
    if (error != 0) {
        const QString kept
            = QFileInfo(replaced).absolutePath() + u'/' + fileNameFromBytes(temporary_.keep());
        return fail(SaveStatus::Failed,
            RemovalWriter::tr("Can't write %1: %2. The saved text is kept whole in %3.")
                .arg(QDir::toNativeSeparators(replaced), systemReason(error),
                    QDir::toNativeSeparators(kept)));
    }
    (void)temporary_.remove(); // the result is in place; a leftover copy of it loses nothing
    return true;
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
    SaveRun run(request);
    run.listen(progress);
    if (run.openSource() && run.openOutput())
        run.copy(removals, progress);
    return run.result();
}

SaveResult saveWritten(
    const SaveRequest &request, const OutputFill &fill, const ProgressFn &progress)
{
    SaveRun run(request);
    run.listen(progress);
    if (run.openSource() && run.openOutput())
        run.write(fill);
    return run.result();
}

} // namespace twinscan
