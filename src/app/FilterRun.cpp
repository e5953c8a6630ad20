#include "app/FilterRun.h"

#include "app/FilterScan.h"
#include "app/ProgressLine.h"
#include "editing/DuplicateReport.h"
#include "editing/InterruptSignals.h"
#include "editing/RemovalWriter.h"
#include "editing/SaveTarget.h"
#include "editing/SelectedLines.h"
#include "engine/FileName.h"
#include "engine/LoadedText.h"
#include "engine/SystemCalls.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
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

void printStatus(const JobDescription &job, const LoadedText &text, const ScanOutcome &outcome,
    const SaveResult *saved)
{
    if (job.quiet)
        return;
    QString line
        = FilterRun::tr("twinscan: %1: %2 read, %3 of them in %4")
              .arg(shownName(job.inputFile),
                  counted(text.lineCount(), FilterRun::tr("%1 line"), FilterRun::tr("%1 lines")),
                  QString::number(outcome.entryCount),
                  counted(outcome.groupCount, FilterRun::tr("%1 group of equal lines"),
                      FilterRun::tr("%1 groups of equal lines")));
    if (saved && keepsInput(job.selection))
        line += FilterRun::tr(", %1 removed").arg(saved->removedCount);
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
    const ReportSource report {*text, *scan.duplicates, scan.outcome.lineEntries};
    return saveWritten(
        request, [&](OutputFile &out) { return writeDuplicateReport(out, report, progress); },
        progress);
}

// `source` names the input for the save to read again, or is empty when it can be read only once.
SaveResult writeOutput(const JobDescription &job, const QString &source,
    const std::shared_ptr<LoadedText> &text, FilterScan &scan, const ProgressFn &progress)
{
    const SaveRequest request {source, text->stamp(),
        job.outputFile.isEmpty() ? QStringLiteral("/dev/stdout") : job.outputFile,
        text->lineCount() - 1, job.saveRules, text->contentHash(), text};
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
} // namespace

int runFilter(const JobDescription &job)
{
    ProgressLine progress(progressShown(job.progress, job.quiet));
    Input input = openInput(job.inputFile);
    if (!input.fd.isOpen())
        return report(job.inputFile, systemReason(errno));
    const LoadResult loaded
        = TextLoader::load(std::move(input.fd), progress.step(FilterRun::tr("reading")));
    if (!loaded.text) {
        progress.finish();
        return reportLoadFailure(job.inputFile, loaded);
    }
    FilterScan scan = scanForFilter(
        *loaded.text, job.scanRules, progress.step(FilterRun::tr("finding duplicates")));
    progress.finish();
    if (scan.outcome.stopped)
        return stoppedStatus();
    const QString source = input.regular ? job.inputFile : QString();
    if (!job.reportFile.isEmpty()) {
        const SaveResult reported = writeReport(
            job, source, loaded.text, scan, progress.step(FilterRun::tr("writing the report")));
        progress.finish();
        if (reported.status == SaveStatus::Stopped)
            return stoppedStatus();
        if (reported.status != SaveStatus::Completed)
            return report(reported.file, reported.reason);
    }
    if (job.check) {
        printStatus(job, *loaded.text, scan.outcome, nullptr);
        return scan.outcome.groupCount > 0 ? duplicatesFound : written;
    }
    const SaveResult saved
        = writeOutput(job, source, loaded.text, scan, progress.step(FilterRun::tr("writing")));
    progress.finish();
    if (saved.status == SaveStatus::Stopped)
        return stoppedStatus();
    if (saved.status != SaveStatus::Completed)
        return report(saved.file, saved.reason);
    printStatus(job, *loaded.text, scan.outcome, &saved);
    return written;
}

} // namespace twinscan
