#include "app/FilterRun.h"

#include "app/FilterScan.h"
#include "app/ProgressLine.h"
#include "editing/DuplicateReport.h"
#include "editing/InterruptSignals.h"
#include "editing/RemovalWriter.h"
#include "editing/SaveTarget.h"
#include "editing/SelectedLines.h"
#include "editing/StreamSpool.h"
#include "engine/FileName.h"
#include "engine/KeyExtractor.h"
#include "engine/LoadedText.h"
#include "engine/MemoryBudget.h"
#include "engine/OutOfCoreScan.h"
#include "engine/SpillFolder.h"
#include "engine/SystemCalls.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>

namespace twinscan {

namespace {
// The translation context of the filter's messages.
struct FilterRun
{
    Q_DECLARE_TR_FUNCTIONS(FilterRun)
};

enum ExitStatus { written = 0, duplicatesFound = 1, failed = 2 };

QString shownName(const QString &file)
{
    return file.isEmpty() ? FilterRun::tr("standard input") : QDir::toNativeSeparators(file);
}

int report(const QString &file, const QString &reason)
{
    const QString line = QStringLiteral("twinscan: %1: %2\n").arg(shownName(file), reason);
    std::fputs(shownFileName(line).toUtf8().constData(), stderr);
    return failed;
}

// A job a signal stopped ends as the signal would have ended it.
int stoppedStatus()
{
    const int signal = interrupts::pendingSignal();
    return signal != 0 ? 128 + signal : failed;
}

// The input, opened once: a FIFO or a device named as FILE is read once like standard input.
struct Input
{
    FileDescriptor fd;
    bool regular = false; // a file the save can read again and prove unchanged
};

Input openInput(const QString &file)
{
    // A copy of standard input: the loader closes what it reads.
    Input input {FileDescriptor(file.isEmpty()
            ? ::fcntl(0, F_DUPFD_CLOEXEC, 3)
            : sys::open(fileNameBytes(file).constData(), O_RDONLY | O_CLOEXEC))};
    struct stat st = {};
    input.regular = !file.isEmpty() && input.fd.isOpen() && ::fstat(input.fd.get(), &st) == 0
        && S_ISREG(st.st_mode);
    return input;
}

int reportLoadFailure(const QString &file, const LoadResult &loaded)
{
    if (loaded.stopped)
        return stoppedStatus();
    if (loaded.unreadable)
        return report(file,
            FilterRun::tr("looks like a binary or UTF-32 file; Twinscan reads 8-bit, UTF-8 and "
                          "UTF-16 text"));
    return report(file, loaded.error);
}

// English has a singular for one; a translation gives each form of its own.
QString counted(qint64 count, const QString &one, const QString &many)
{
    return (count == 1 ? one : many).arg(count);
}

// What the scan found, in- or out of memory.
struct Found
{
    qint64 lines = 0;
    qint64 entries = 0; // lines of a group
    qint64 groups = 0;
};

void printStatus(const JobDescription &job, const Found &found, const SaveResult *saved)
{
    if (job.quiet)
        return;
    QString line
        = FilterRun::tr("twinscan: %1: %2 read, %3 of them in %4")
              .arg(shownName(job.inputFile),
                  counted(found.lines, FilterRun::tr("%1 line"), FilterRun::tr("%1 lines")),
                  QString::number(found.entries),
                  counted(found.groups, FilterRun::tr("%1 group of equal lines"),
                      FilterRun::tr("%1 groups of equal lines")));
    if (saved && keepsInput(job.selection))
        line += FilterRun::tr(", %1 removed").arg(saved->removedCount);
    if (const QString key = keySpecSummary(job.key); !key.isEmpty())
        line += QStringLiteral("; ") + key.front().toLower() + key.mid(1);
    std::fputs(shownFileName(line + u'\n').toUtf8().constData(), stderr);
}

// The report, written before the output, which may replace the input that the report's save
// proves unchanged.
SaveResult writeReport(const JobDescription &job, const QString &source,
    const std::shared_ptr<LoadedText> &text, FilterScan &scan, const ProgressFn &progress)
{
    const SaveRequest request {source, text->stamp(), job.reportFile, text->lineCount() - 1,
        job.saveRules, text->contentHash(), text};
    if (resolveSaveTarget(source, job.reportFile).replaceSource) {
        SaveResult refused;
        refused.file = job.reportFile;
        refused.reason = FilterRun::tr("is the input, which a report does not replace");
        return refused;
    }
    std::optional<KeyExtractor> key;
    if (!job.key.isWholeLine())
        key.emplace(job.key, job.scanRules);
    const ReportSource report {
        *text, *scan.duplicates, scan.outcome.lineEntries, key ? &*key : nullptr};
    return saveWritten(
        request, [&](OutputFile &out) { return writeDuplicateReport(out, report, progress); },
        progress);
}

// The exit status of a --check, told in the status line too.
int checkedStatus(const JobDescription &job, const Found &found)
{
    printStatus(job, found, nullptr);
    return found.groups > 0 ? duplicatesFound : written;
}

// The exit status of a write that did not complete; none when it did.
std::optional<int> unsavedStatus(const SaveResult &saved)
{
    if (saved.status == SaveStatus::Stopped)
        return stoppedStatus();
    if (saved.status != SaveStatus::Completed)
        return report(saved.file, saved.reason);
    return std::nullopt;
}

int savedStatus(const JobDescription &job, const Found &found, const SaveResult &saved)
{
    if (const std::optional<int> failure = unsavedStatus(saved))
        return *failure;
    printStatus(job, found, &saved);
    return written;
}

QString outputTarget(const JobDescription &job)
{
    return job.outputFile.isEmpty() ? QStringLiteral("/dev/stdout") : job.outputFile;
}

// `source` names the input for the save to read again, or is empty when it can be read only once.
SaveResult writeOutput(const JobDescription &job, const QString &source,
    const std::shared_ptr<LoadedText> &text, FilterScan &scan, const ProgressFn &progress)
{
    const SaveRequest request {source, text->stamp(), outputTarget(job), text->lineCount() - 1,
        job.saveRules, text->contentHash(), text};
    const LineOutput output {job.selection, job.counts, job.lineNumbers, job.saveRules};
    const RemovalSet removals = keepsInput(job.selection)
        ? keptRemovals(job.selection, *scan.duplicates, request.lastLineIndex)
        : RemovalSet();
    if (keepsInput(job.selection) && !job.counts && !job.lineNumbers)
        return saveWithRemoval(request, removals, progress);
    return saveWritten(request, [&](OutputFile &out) {
        return writeSelectedLines(out, {*text, *scan.duplicates, scan.outcome}, output, removals);
    });
}
// Which occurrence a scan past memory keeps for the job, which it can do only when the job
// writes lines of the input in its order, without prefixes and without a report of the groups:
// the lines that occur once are those kept when no occurrence of a duplicate is.
std::optional<KeptOccurrence> keptPastMemory(const JobDescription &job)
{
    if (job.check)
        return KeptOccurrence::First;
    if (job.counts || job.lineNumbers || !job.reportFile.isEmpty())
        return std::nullopt;
    switch (job.selection) {
    case LineSelection::KeepFirst:
        return KeptOccurrence::First;
    case LineSelection::KeepLast:
        return KeptOccurrence::Last;
    case LineSelection::KeepNone:
    case LineSelection::Unique:
        return KeptOccurrence::None;
    case LineSelection::Repeated:
    case LineSelection::AllRepeated:
    case LineSelection::Duplicated:
    case LineSelection::Removed:
        break;
    }
    return std::nullopt;
}

std::optional<int> refusedPastMemory(const JobDescription &job)
{
    if (keptPastMemory(job))
        return std::nullopt;
    return report(job.inputFile,
        FilterRun::tr("does not fit in memory, where only --keep, --unique and --check work; "
                      "-S SIZE sets the memory to use"));
}

// The folder for the temporary files: on a disk, near the output when it is a file.
std::optional<QString> spillFolderFor(const JobDescription &job)
{
    const QString output = job.outputFile.isEmpty() ? job.inputFile : job.outputFile;
    const spill::Folder folder
        = spill::chooseFolder(output.isEmpty() ? QString() : QFileInfo(output).absolutePath());
    if (!folder.path.isEmpty())
        return folder.path;
    report(job.inputFile,
        FilterRun::tr(
            "no folder on a disk can take the temporary files; TWINSCAN_TMPDIR names one"));
    return std::nullopt;
}

// A file too large for the memory at hand: its duplicates are found with temporary files, and
// the save copies it without the lines they leave out. `source` is the file to read, the input
// or a copy of it.
int runPastMemory(const JobDescription &job, const QString &source, const QString &folder,
    std::uint64_t budget, ProgressLine &progress)
{
    OutOfCoreRequest scan {source, job.scanRules, job.key, *keptPastMemory(job), budget, folder};
    scan.lineEnds = job.saveRules.lineEnds;
    OutOfCoreOutcome outcome
        = OutOfCoreScan::run(scan, progress.step(FilterRun::tr("finding duplicates")));
    progress.finish();
    if (outcome.status == OutOfCoreOutcome::Status::Stopped)
        return stoppedStatus();
    if (outcome.status == OutOfCoreOutcome::Status::Failed)
        return report(job.inputFile, outcome.error);
    const Found found {
        qint64(outcome.lineCount), qint64(outcome.entryCount), qint64(outcome.groupCount)};
    if (job.check)
        return checkedStatus(job, found);
    const SaveRequest request {source, outcome.stamp, outputTarget(job), found.lines - 1,
        job.saveRules, outcome.contentHash, nullptr};
    const RemovalSet removals(
        std::move(outcome.removed), found.lines - 1, qint64(outcome.removedCount));
    const SaveResult saved
        = saveWithRemoval(request, removals, progress.step(FilterRun::tr("writing")));
    progress.finish();
    return savedStatus(job, found, saved);
}

int runFilePastMemory(const JobDescription &job, std::uint64_t budget, ProgressLine &progress)
{
    if (const std::optional<int> refused = refusedPastMemory(job))
        return *refused;
    const std::optional<QString> folder = spillFolderFor(job);
    return folder ? runPastMemory(job, job.inputFile, *folder, budget, progress) : failed;
}

// A stream that outgrew the memory: copied to a temporary file, it is scanned as a file is.
int runStreamPastMemory(const JobDescription &job, StreamOverflow &overflow, std::uint64_t budget,
    ProgressLine &progress)
{
    if (const std::optional<int> refused = refusedPastMemory(job))
        return *refused;
    const std::optional<QString> folder = spillFolderFor(job);
    if (!folder)
        return failed;
    const SpooledStream spooled
        = spoolStream(overflow, *folder, progress.step(FilterRun::tr("reading")));
    progress.finish();
    if (spooled.stopped)
        return stoppedStatus();
    if (!spooled.error.isEmpty())
        return report(job.inputFile, spooled.error);
    return runPastMemory(job, spooled.path, *folder, budget, progress);
}
} // namespace

int runFilter(const JobDescription &job)
{
    ProgressLine progress(progressShown(job.progress, job.quiet));
    Input input = openInput(job.inputFile);
    if (!input.fd.isOpen())
        return report(job.inputFile, systemReason(errno));
    // A file is scanned past memory when it must be; a stream is read into memory until it is
    // seen not to fit.
    const std::uint64_t budget = job.memoryBudget ? job.memoryBudget : memory::budget();
    if (input.regular && !memory::fitsInMemory(job.inputFile, budget, job.saveRules.lineEnds))
        return runFilePastMemory(job, budget, progress);
    const LoadResult loaded
        = TextLoader::load(std::move(input.fd), progress.step(FilterRun::tr("reading")),
            Parallelism::fromEnvironment(), job.saveRules.lineEnds, budget);
    if (loaded.overflow) {
        progress.finish();
        return runStreamPastMemory(job, *loaded.overflow, budget, progress);
    }
    if (!loaded.text) {
        progress.finish();
        return reportLoadFailure(job.inputFile, loaded);
    }
    FilterScan scan = scanForFilter(
        *loaded.text, job.scanRules, job.key, progress.step(FilterRun::tr("finding duplicates")));
    progress.finish();
    if (scan.outcome.stopped)
        return stoppedStatus();
    const QString source = input.regular ? job.inputFile : QString();
    if (!job.reportFile.isEmpty()) {
        const SaveResult reported = writeReport(
            job, source, loaded.text, scan, progress.step(FilterRun::tr("writing the report")));
        progress.finish();
        if (const std::optional<int> failure = unsavedStatus(reported))
            return *failure;
    }
    const Found found {loaded.text->lineCount(), scan.outcome.entryCount, scan.outcome.groupCount};
    if (job.check)
        return checkedStatus(job, found);
    const SaveResult saved
        = writeOutput(job, source, loaded.text, scan, progress.step(FilterRun::tr("writing")));
    progress.finish();
    return savedStatus(job, found, saved);
}

} // namespace twinscan
