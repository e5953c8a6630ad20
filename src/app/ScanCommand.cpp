#include "app/ScanCommand.h"

#include "app/Module.h"
#include "app/frmMain.h"
#include "engine/Clock.h"
#include "engine/ProcessingTime.h"
#include "ui/FileDialogService.h"
#include "ui/ProgressDisplay.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QToolButton>
#include <algorithm>
#include <cerrno>
#include <new>

namespace twinscan {

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("ScanCommand", text);
}

int percentOf(qint64 done, qint64 total)
{
    return total > 0 ? int(done * 100 / total) : 100;
}
} // namespace

ScanCommand::ScanCommand(frmMain &form) : form_(form) { }

ScanEnding ScanCommand::run()
{
    Module &m = module();
    if (m.isBusy)
        return ScanEnding::Cancelled; // a second run must never start inside the first
    const QString file = chooseFile();
    form_.currentFile = file;
    if (file.isEmpty())
        return ScanEnding::Cancelled;
    saveWasEnabled_ = form_.ui().cmdSave->isEnabled();
    viewWasEnabled_ = form_.ui().cmdView->isEnabled();
    start_ = form_.services().clock->secondsSinceMidnight();
    m.isBusy = true;
    if (!checkFile(file))
        return errorEnding();

    m.lastLoadedFile = file;
    form_.setWindowTitle(
        m.appTitle + QLatin1Char(' ') + m.appVersion + QLatin1String(" - ") + file);
    form_.enterBusyState();
    form_.setStatusText(tr("Loading file..."));
    form_.letEventsRun();
    form_.stopRequested = false; // a stop before the file is read is not one
    try {
        return scanFile(file);
    } catch (const std::bad_alloc &) {
        form_.setStatusText(
            tr("File Error! (%1: %2)").arg(QDir::toNativeSeparators(file), systemReason(ENOMEM)));
        return errorEnding();
    }
}

ScanEnding ScanCommand::scanFile(const QString &file)
{
    ScanEnding failure = ScanEnding::Error;
    const std::shared_ptr<LoadedText> text = readFile(file, failure);
    if (!text)
        return failure;
    const int lineCount = text->lineCount();
    announceLargeFile(lineCount);
    form_.scannedText = nullptr;
    form_.bindLists(lineCount, text);
    listsBound_ = true;
    if (module().largeFileMode)
        form_.letEventsRun();
    if (!fillSourceList(*text))
        return interruptedEnding();

    form_.setStatusText(tr("Processing File..."));
    ProgressDisplay &bar = form_.progress();
    bar.setMax(std::max(lineCount, 1));
    bar.setMin(0);
    bar.setValue(0);
    const ScanOutcome outcome
        = DuplicateScanner(*text, ScanRules::from(module().scanOptions))
              .run(*module().lists.List2, form_.progressListener([&](qint64 done, qint64 total) {
                  bar.setValue(int(done));
                  form_.setStatusText(
                      tr("Processing File... %1%").arg(100 - percentOf(total - done, total)));
              }));
    form_.scannedText = text;
    form_.scannedFile = file;
    if (outcome.stopped)
        return interruptedEnding();
    return normalEnding(outcome, lineCount);
}

QString ScanCommand::chooseFile()
{
    Module &m = module();
    if (m.batchMode)
        return m.request.inputFile;
    if (!m.droppedFile.isEmpty())
        return std::exchange(m.droppedFile, QString());
    FileDialogRequest request;
    request.initialFile = m.lastLoadedFile;
    request.filter = QStringLiteral("All Files (*.*)|*.*|Text Files (*.txt)|*.txt");
    request.filterIndex = 1;
    request.defaultExtension = QStringLiteral("TXT");
    request.mustExist = true;
    request.owner = &form_;
    return form_.services().dialogs->openFile(request);
}

bool ScanCommand::checkFile(const QString &file)
{
    // A folder or anything else that is not a regular file cannot be opened as one.
    const QFileInfo info(file);
    if (!info.exists() || !info.isFile()) {
        form_.setStatusText(tr("Error: Can't Open File"));
        return false;
    }
    if (info.size() == 0) {
        form_.setStatusText(tr("Error: File Is Empty!"));
        return false;
    }
    return true;
}

std::shared_ptr<LoadedText> ScanCommand::readFile(const QString &file, ScanEnding &failure)
{
    LoadResult loaded = TextLoader::load(file, form_.progressListener({}));
    if (loaded.stopped) {
        failure = interruptedEnding();
        return nullptr;
    }
    if (!loaded.text) {
        form_.setStatusText(
            tr("File Error! (%1: %2)").arg(QDir::toNativeSeparators(file), loaded.error));
        // The lists were not touched, so Save and View still serve the previous scan.
        failure = errorEnding();
        return nullptr;
    }
    return std::move(loaded.text);
}

void ScanCommand::announceLargeFile(int lineCount)
{
    Module &m = module();
    m.largeFileMode = lineCount >= frmMain::largeFileLines;
    if (m.largeFileMode && !m.batchMode) {
        form_.ask(tr("This file contains more than 32768 lines! You can still use Twinscan as "
                     "usual, but the result will not be displayed visually..."),
            MessageButtons::Ok, MessageIcon::Information);
    }
}

bool ScanCommand::fillSourceList(const LoadedText &text)
{
    LineList &lstShow = *module().lists.lstShow;
    ProgressDisplay &bar = form_.progress();
    const int lineCount = text.lineCount();
    bar.setMax(std::max(lineCount, 1));
    bar.setValue(0);
    const ProgressFn report = form_.progressListener([&](qint64 done, qint64 total) {
        bar.setValue(int(done));
        form_.setStatusText(tr("Loading file... %1%").arg(percentOf(done, total)));
    });
    for (int line = 0; line < lineCount; ++line) {
        lstShow.addLine(line);
        if ((line & 0x3FF) == 0 && !report(line + 1, lineCount))
            return false;
    }
    bar.setValue(lineCount);
    form_.setStatusText(tr("File Loaded!"));
    form_.lastLineIndex = lineCount - 1;
    return true;
}

ScanEnding ScanCommand::normalEnding(const ScanOutcome &outcome, int lineCount)
{
    Module &m = module();
    const QString time = processingTimeText(start_, form_.services().clock->secondsSinceMidnight());
    const int found = m.lists.List2->ListCount();
    if (found > 0) {
        form_.setStatusText(tr("Scanned %1 Lines: Found %2 Duplicate Lines with %3 Unique "
                               "Duplicates! (Processing time: %4)")
                                .arg(lineCount)
                                .arg(found)
                                .arg(outcome.groupCount)
                                .arg(time));
    } else {
        form_.setStatusText(tr("No Duplicate Lines Found... (Processing time: %1)").arg(time));
    }
    UsageStatistics &stats = m.statistics;
    addToCounter(stats.statFilesOpened, 1);
    addToCounter(stats.statLinesScanned, lineCount);
    addToCounter(stats.statDupsFound, found);
    addToCounter(stats.statUniqueDupsFound, outcome.groupCount);
    form_.ui().cmdSave->setEnabled(found > 0);
    form_.ui().cmdView->setEnabled(found > 0);
    finish();
    return ScanEnding::Normal;
}

ScanEnding ScanCommand::interruptedEnding()
{
    const QString time = processingTimeText(start_, form_.services().clock->secondsSinceMidnight());
    // Stopped before the lists were bound, they still hold the previous file's results.
    const int found = listsBound_ ? module().lists.List2->ListCount() : 0;
    if (found > 0) {
        form_.setStatusText(
            tr("%1 Duplicate Lines Found (Interuppted By User) (Processing time: %2)")
                .arg(found)
                .arg(time));
    } else {
        form_.setStatusText(
            tr("No Duplicate Lines Found (Interuppted By User) (Processing time: %1)").arg(time));
    }
    finish();
    return ScanEnding::Interrupted;
}

void ScanCommand::finish()
{
    form_.progress().setValue(form_.progress().Max());
    form_.leaveBusyState();
}

ScanEnding ScanCommand::errorEnding()
{
    if (form_.statusText().isEmpty())
        form_.setStatusText(tr("File Error!"));
    // A failure leaves the previous scan's results, and with them Save and View, as they were,
    // unless the lists had already been emptied for this file.
    form_.ui().cmdSave->setEnabled(saveWasEnabled_ && !listsBound_);
    form_.ui().cmdView->setEnabled(viewWasEnabled_ && !listsBound_);
    finish();
    return ScanEnding::Error;
}

} // namespace twinscan
