#include "app/ScanCommand.h"

#include "app/CommandLine.h"
#include "app/JobControl.h"
#include "app/Module.h"
#include "app/RecentFiles.h"
#include "app/ScanSession.h"
#include "app/ScannedText.h"
#include "engine/Clock.h"
#include "engine/MemoryBudget.h"
#include "engine/OutOfCoreScan.h"
#include "engine/ProcessingTime.h"
#include "engine/SpillFolder.h"
#include "ui/FileDialogService.h"
#include "ui/ProgressDisplay.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <new>

namespace twinscan {

namespace {
int percentOf(qint64 done, qint64 total)
{
    return total > 0 ? int(done * 100 / total) : 100;
}

// Reading the file is nearly all of the loading; filling the source list only walks its lines.
// One scale covers both, so that the percentage never goes back.
constexpr int readingShare = 90;
enum class LoadPhase { Reading, Filling };

int loadingPercent(LoadPhase phase, qint64 done, qint64 total)
{
    if (phase == LoadPhase::Reading)
        return percentOf(done, total) * readingShare / 100;
    return readingShare + percentOf(done, total) * (100 - readingShare) / 100;
}
} // namespace

ScanCommand::ScanCommand(JobHost &host, QString droppedFile, Counting counting)
    : host_(host), droppedFile_(std::move(droppedFile)), counting_(counting)
{
}

ScanEnding ScanCommand::run()
{
    Module &m = module();
    if (m.isBusy)
        return ScanEnding::NotStarted; // a second run must never start inside the first
    const QString file = chooseFile();
    if (file.isEmpty())
        return ScanEnding::NotStarted;
    start_ = host_.services().clock->secondsSinceMidnight();
    BusyScope busy(host_.jobs());
    if (!checkFile(file))
        return errorEnding();

    m.lastLoadedFile = file;
    // With a key set, the title says so: two different lines may then be duplicates.
    const QString key = keySpecSummary(m.keySpec);
    host_.setTitle(m.appTitle + QLatin1Char(' ') + m.appVersion + QLatin1String(" - ") + file
        + (key.isEmpty() ? QString() : QLatin1String(" (") + key + QLatin1Char(')')));
    busy.showBusy();
    host_.setStatusText(tr("Loading file..."));
    host_.letEventsRun();
    host_.jobs().takeStopRequest(); // a stop before the file is read is not one
    try {
        return scanFile(file);
    } catch (const std::bad_alloc &) {
        return outOfMemory(file);
    }
}

// Whatever the scan held goes, so that the window has its memory back; the file is untouched.
ScanEnding ScanCommand::outOfMemory(const QString &file)
{
    host_.releaseSession();
    reportFailure(host_, tr("Not enough memory to scan %1.").arg(QDir::toNativeSeparators(file)));
    return errorEnding();
}

QString ScanCommand::chooseFile()
{
    Module &m = module();
    if (m.batchMode)
        return m.request.inputFile;
    if (!droppedFile_.isEmpty())
        return droppedFile_;
    FileDialogRequest request;
    request.initialFile = m.lastLoadedFile;
    request.filter = QStringLiteral("All Files (*.*)|*.*|Text Files (*.txt)|*.txt");
    request.filterIndex = 1;
    request.defaultExtension = QStringLiteral("TXT");
    request.mustExist = true;
    request.owner = host_.dialogOwner();
    return host_.services().dialogs->openFile(request);
}

bool ScanCommand::checkFile(const QString &file)
{
    // A folder or anything else that is not a regular file cannot be opened as one.
    const QFileInfo info(file);
    if (!info.exists() || !info.isFile()) {
        host_.setStatusText(tr("Error: Can't Open File"));
        return false;
    }
    if (info.size() == 0) {
        host_.setStatusText(tr("Error: File Is Empty!"));
        return false;
    }
    return true;
}

ScanEnding ScanCommand::scanFile(const QString &file)
{
    // The old results go before the new file is read: both at once may not fit in memory.
    host_.releaseSession();
    if (!memory::fitsInMemory(file, memory::budget()))
        return scanPastMemory(file);
    ScanEnding failure = ScanEnding::Failed;
    std::shared_ptr<const LoadedText> text = readFile(file, failure);
    if (!text)
        return failure;
    // Read, the file counts as opened; the rescan of a file just saved is no new opening.
    if (counting_ == Counting::Counted)
        noteOpenedFile(host_, file);
    ScanSession &session = host_.startSession(std::move(text), file);
    announceLargeFile(session);
    if (session.largeFileMode())
        host_.letEventsRun();
    if (!fillSourceList(session))
        return interruptedEnding();
    const ScanOutcome outcome = findDuplicates(session);
    if (outcome.stopped)
        return interruptedEnding();
    if (!session.text()->intact()) {
        // Lines read from a file cut short or rewritten meanwhile are no result to act on.
        host_.startSession(nullptr, file);
        host_.setStatusText(
            tr("File Error! (%1: %2)")
                .arg(QDir::toNativeSeparators(file), LoadedText::changedWhileRead()));
        return errorEnding();
    }
    return normalEnding(
        session.lineCount(), session.lists().List2->ListCount(), outcome.groupCount);
}

// The file does not fit in memory: it is scanned in a budget with temporary files. No list could
// hold its lines, so its groups' lines are marked by the rules alone, and there is no text to
// view or copy.
ScanEnding ScanCommand::scanPastMemory(const QString &file)
{
    Module &m = module();
    const QString outputFolder
        = m.batchMode ? QFileInfo(m.request.outputFile).absolutePath() : QString();
    const spill::Folder folder = spill::chooseFolder(outputFolder);
    if (folder.path.isEmpty()) {
        host_.setStatusText(tr("File Error! (%1: no folder on a disk can take the temporary "
                               "files; TWINSCAN_TMPDIR names one)")
                                .arg(QDir::toNativeSeparators(file)));
        return errorEnding();
    }
    host_.setStatusText(tr("Processing File..."));
    ProgressDisplay &bar = host_.progress();
    bar.setMax(100);
    bar.setMin(0);
    bar.setValue(0);
    OutOfCoreRequest request {file, ScanRules::from(m.scanOptions), m.keySpec,
        KeptOccurrence::First, memory::budget(), folder.path};
    request.alsoLastKept = true;
    OutOfCoreOutcome outcome = OutOfCoreScan::run(
        request, host_.progressListener([this, &bar](qint64 done, qint64 total) {
            const int percent = percentOf(done, total);
            host_.setStatusText(tr("Processing File... %1%").arg(percent));
            bar.setValue(percent);
        }));
    ScanSession &session = host_.startSession(nullptr, file);
    if (outcome.status == OutOfCoreOutcome::Status::Stopped)
        return interruptedEnding();
    if (outcome.status == OutOfCoreOutcome::Status::Failed) {
        host_.setStatusText(
            tr("File Error! (%1: %2)").arg(QDir::toNativeSeparators(file), outcome.error));
        return errorEnding();
    }
    if (counting_ == Counting::Counted)
        noteOpenedFile(host_, file);
    const auto lines = qint64(outcome.lineCount);
    const auto found = qint64(outcome.entryCount);
    session.setLastLineIndex(lines - 1);
    session.setPastMemory(
        {PastMemoryMarks(std::move(outcome.removed), std::move(outcome.removedWithLastKept),
             lines - 1, qint64(outcome.groupCount), found),
            outcome.stamp, outcome.contentHash});
    const ScanEnding ending = normalEnding(lines, found, qint64(outcome.groupCount));
    host_.setViewEnabled(false); // the viewer needs the whole text in memory
    host_.showUnlisted(tr("Not listed: the file does not fit in memory"),
        found > 0 ? tr("Right-click: mark by a rule, then Save") : QString());
    if (!m.batchMode && found > 0)
        host_.setStatusText(host_.statusText()
            + tr(" The file does not fit in memory: mark its duplicates with the rules of this "
                 "list's menu, then save; it cannot be viewed or copied."));
    return ending;
}

std::shared_ptr<const LoadedText> ScanCommand::readFile(const QString &file, ScanEnding &failure)
{
    host_.progress().setMax(100);
    host_.progress().setValue(0);
    LoadResult loaded
        = TextLoader::load(file, host_.progressListener([this](qint64 done, qint64 total) {
              showLoading(loadingPercent(LoadPhase::Reading, done, total));
          }));
    if (loaded.stopped) {
        // Stopped before its lines were known, the file leaves no results, and no old ones.
        host_.startSession(nullptr, file);
        failure = interruptedEnding();
        return nullptr;
    }
    if (loaded.unreadable) {
        host_.setStatusText(tr("%1 looks like a binary or UTF-32 file; Twinscan reads 8-bit, "
                               "UTF-8 and UTF-16 text")
                                .arg(QDir::toNativeSeparators(file)));
        failure = errorEnding();
        return nullptr;
    }
    if (!loaded.text && loaded.error == systemReason(ENOMEM)) {
        failure = outOfMemory(file);
        return nullptr;
    }
    if (!loaded.text) {
        host_.setStatusText(
            tr("File Error! (%1: %2)").arg(QDir::toNativeSeparators(file), loaded.error));
        failure = errorEnding();
        return nullptr;
    }
    return std::move(loaded.text);
}

// A large file that the window lists needs no warning that it will not be shown.
void ScanCommand::announceLargeFile(const ScanSession &session)
{
    if (session.largeFileMode() && !session.listed() && !module().batchMode) {
        host_.ask(tr("This file contains more than 32768 lines! You can still use Twinscan as "
                     "usual, but the result will not be displayed visually..."),
            MessageButtons::Ok, MessageIcon::Information);
    }
}

void ScanCommand::showLoading(int percent)
{
    host_.progress().setValue(percent);
    host_.setStatusText(tr("Loading file... %1%").arg(percent));
}

bool ScanCommand::fillSourceList(ScanSession &session)
{
    LineList &lstShow = *session.lists().lstShow;
    const int lineCount = session.lineCount();
    const ProgressFn report = host_.progressListener([this](qint64 done, qint64 total) {
        showLoading(loadingPercent(LoadPhase::Filling, done, total));
    });
    constexpr int step = 0x400;
    for (int line = 0; line < lineCount; line += step) {
        // A step's first line goes in before the progress is told, and a stop keeps it.
        lstShow.addLine(line);
        if (!report(line + 1, lineCount))
            return false;
        lstShow.addLines(line + 1, std::min(step, lineCount - line) - 1);
    }
    showLoading(100);
    host_.setStatusText(tr("File Loaded!"));
    session.setLastLineIndex(lineCount - 1);
    return true;
}

ScanOutcome ScanCommand::findDuplicates(ScanSession &session)
{
    host_.setStatusText(tr("Processing File..."));
    ProgressDisplay &bar = host_.progress();
    bar.setMax(std::max(session.lineCount(), 1));
    bar.setMin(0);
    bar.setValue(0);
    session.setComparison(module().keySpec, ScanRules::from(module().scanOptions));
    ScanOutcome outcome
        = DuplicateScanner(
            *session.text(), session.scanRules(), Parallelism::fromEnvironment(), session.key())
              .run(*session.lists().List2,
                  host_.progressListener([this, &bar](qint64 done, qint64 total) {
                      host_.setStatusText(
                          tr("Processing File... %1%").arg(100 - percentOf(total - done, total)));
                      bar.setValue(int(done));
                  }));
    session.setLineEntries(std::move(outcome.lineEntries));
    return outcome;
}

ScanEnding ScanCommand::normalEnding(qint64 lineCount, qint64 found, qint64 groups)
{
    Module &m = module();
    const QString time = processingTimeText(start_, host_.services().clock->secondsSinceMidnight());
    if (found > 0) {
        host_.setStatusText(tr("Scanned %1 Lines: Found %2 Duplicate Lines with %3 Unique "
                               "Duplicates! (Processing time: %4)")
                                .arg(lineCount)
                                .arg(found)
                                .arg(groups)
                                .arg(time));
    } else {
        host_.setStatusText(tr("No Duplicate Lines Found... (Processing time: %1)").arg(time));
    }
    if (counting_ == Counting::Counted) {
        UsageStatistics &stats = m.statistics;
        addToCounter(stats.statFilesOpened, 1);
        addToCounter(stats.statLinesScanned, lineCount);
        addToCounter(stats.statDupsFound, found);
        addToCounter(stats.statUniqueDupsFound, groups);
    }
    host_.setSaveEnabled(found > 0);
    host_.setViewEnabled(found > 0);
    showFullProgress();
    return found > 0 ? ScanEnding::FoundDuplicates : ScanEnding::NothingFound;
}

// Save and View stay disabled: results cut short are shown, not saved.
ScanEnding ScanCommand::interruptedEnding()
{
    const QString time = processingTimeText(start_, host_.services().clock->secondsSinceMidnight());
    const int found = host_.session()->lists().List2->ListCount();
    if (found > 0) {
        host_.setStatusText(
            tr("%1 Duplicate Lines Found (Interuppted By User) (Processing time: %2)")
                .arg(found)
                .arg(time));
    } else {
        host_.setStatusText(
            tr("No Duplicate Lines Found (Interuppted By User) (Processing time: %1)").arg(time));
    }
    showFullProgress();
    return ScanEnding::StoppedByUser;
}

ScanEnding ScanCommand::errorEnding()
{
    if (host_.statusText().isEmpty())
        host_.setStatusText(tr("File Error!"));
    // A failure leaves the previous scan's results, and with them Save and View, as they were,
    // unless they were already let go for this file's.
    showFullProgress();
    return ScanEnding::Failed;
}

void ScanCommand::showFullProgress()
{
    host_.progress().setValue(host_.progress().Max());
}

} // namespace twinscan
