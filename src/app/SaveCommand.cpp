#include "app/SaveCommand.h"

#include "app/JobControl.h"
#include "app/Module.h"
#include "app/RecentFiles.h"
#include "app/SaveSteps.h"
#include "app/ScanSession.h"
#include "app/ScannedText.h"
#include "editing/RemovalList.h"
#include "editing/SaveTarget.h"
#include "engine/Clock.h"
#include "engine/FileStamp.h"
#include "engine/ProcessingTime.h"
#include "ui/FileDialogService.h"
#include "ui/ProgressDisplay.h"

#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <new>

namespace twinscan {

SaveCommand::SaveCommand(JobHost &host) : host_(host), session_(host.session()) { }

// Memory that runs out leaves the files as they were: the save's temporary file goes with it.
SaveEnding SaveCommand::run()
{
    try {
        return runSave();
    } catch (const std::bad_alloc &) {
        reportFailure(host_, notEnoughMemory(target_));
        return SaveEnding::Failed;
    }
}

QString SaveCommand::notEnoughMemory(const QString &target)
{
    return target.isEmpty()
        ? tr("Not enough memory to save the file.")
        : tr("Not enough memory to save %1.").arg(QDir::toNativeSeparators(target));
}

SaveEnding SaveCommand::runSave()
{
    Module &m = module();
    if (m.isBusy || !session_ || (!session_->text() && !session_->pastMemory()))
        return SaveEnding::NotStarted;
    host_.setStatusText({});
    // A scan past memory lists no entries: its marks are kept for its lines' kinds.
    const PastMemoryScan *pastMemory = session_->pastMemory();
    const std::optional<RemovalSet> removals = pastMemory
        ? pastMemory->marks.removals()
        : collectRemovals(*session_->lists().List2, int(session_->lastLineIndex()));
    if (!removals)
        throw std::bad_alloc();
    if (removals->isEmpty()) {
        if (!m.batchMode) {
            host_.ask(tr("Please select lines to remove by marking them in the duplicates list!"),
                MessageButtons::Ok, MessageIcon::Exclamation);
        }
        finish(SaveStatus::Completed, false);
        return SaveEnding::NotStarted;
    }
    if (!sourceStillScanned(host_, *session_))
        return SaveEnding::NotStarted;
    QString target = chooseTarget();
    if (target.isEmpty()) {
        host_.setStatusText(tr("No file selected..."));
        return SaveEnding::NotStarted;
    }
    if (!offerExtension(target))
        return SaveEnding::NotStarted;
    target_ = target;
    const bool replacing = replacesScannedFile(target);
    replacing_ = replacing;
    BusyScope busy(host_.jobs());
    busy.showBusy();
    const SaveResult result = copy(target, *removals);
    // The next dialog starts at the last file written, not at one that could not be.
    if (result.status == SaveStatus::Completed) {
        m.lastSavedFile = replacing ? session_->scannedFile() : target;
        // A device or a FIFO written directly is no document to open again.
        if (!result.target.direct)
            noteSavedFile(host_, m.lastSavedFile);
    }
    // Progress shows a few times a second; its last value must show too.
    host_.progress().setValue(host_.progress().Max());
    const SaveEnding ending = report(result);
    finish(result.status, replacing);
    return ending;
}

QString SaveCommand::chooseTarget()
{
    Module &m = module();
    if (m.batchMode)
        return m.request.outputFile;
    FileDialogRequest request;
    request.initialFile = m.lastSavedFile;
    request.filter = QStringLiteral("All Files (*.*)|*.*");
    request.filterIndex = 1;
    // A scanned file with an extension leaves the extension question to the save, which offers
    // the source's own instead of the dialog adding "TXT" unasked.
    if (QFileInfo(session_->scannedFile()).suffix().isEmpty())
        request.defaultExtension = QStringLiteral("TXT");
    request.overwritePrompt = true;
    request.owner = host_.dialogOwner();
    return host_.services().dialogs->saveFile(request);
}

// Offers the source's extension for a target without one; false when the user cancels.
bool SaveCommand::offerExtension(QString &target)
{
    const QString &source = session_->scannedFile();
    if (module().batchMode || resolveSaveTarget(source, target).replaceSource)
        return true;
    const ExtensionOffer offer = extensionOffer(source, target);
    if (!offer.ask)
        return true;
    const MessageAnswer answer = host_.ask(
        tr("The new filename does not contain an extension. Would you\nlike to add the same as "
           "the original filename? (Recommended)"),
        MessageButtons::YesNoCancel, MessageIcon::Exclamation);
    if (answer == MessageAnswer::Yes)
        target = withExtension(target, offer.extension);
    return answer != MessageAnswer::Cancel;
}

SaveResult SaveCommand::copy(const QString &target, const RemovalSet &removals)
{
    Module &m = module();
    start_ = host_.services().clock->secondsSinceMidnight();
    host_.setStatusText(tr("Saving File..."));
    const qint64 last = session_->lastLineIndex();
    const ProgressFn progress = saveProgress(
        host_, last, [](int percent) { return tr("Saving File... %1%").arg(percent); });
    const SaveRequest request {session_->scannedFile(), session_->stamp(), target, last,
        SaveRules::from(m.saveOptions), session_->contentHash(), session_->text()};
    return saveWithRemoval(request, removals, progress);
}

// Whether the save puts its result in place of the scanned file itself: under its own name, or
// under another name of it (a hard link), as a file with several names is replaced in place.
bool SaveCommand::replacesScannedFile(const QString &target) const
{
    const QString &source = session_->scannedFile();
    const SaveTarget resolved = resolveSaveTarget(source, target);
    return resolved.replaceSource
        && (resolved.inPlace
            || QFileInfo(resolved.replacedFile).canonicalFilePath()
                == QFileInfo(source).canonicalFilePath());
}

SaveEnding SaveCommand::report(const SaveResult &result)
{
    if (result.status != SaveStatus::Completed)
        return reportUnsaved(host_, result);
    Module &m = module();
    const QString time = processingTimeText(start_, host_.services().clock->secondsSinceMidnight());
    addToCounter(m.statistics.statDupsDeleted, result.removedCount);
    const QString done = tr("Done! (Processing time: %1)").arg(time);
    host_.setStatusText(result.warning.isEmpty() ? done : done + u' ' + result.warning);
    // An unattended job's caller learns of it where errors go, beside the result line.
    if (!result.warning.isEmpty() && m.batchMode)
        std::fprintf(stderr, "twinscan: %s\n", result.warning.toLocal8Bit().constData());
    return SaveEnding::Done;
}

// Results that no longer match their file can only be scanned again, not saved: after the source
// turned out changed or missing, and after a save that replaced the scanned file with fewer lines.
void SaveCommand::finish(SaveStatus status, bool replacedScannedFile)
{
    const bool stale = status == SaveStatus::SourceMissing || status == SaveStatus::SourceChanged
        || (status == SaveStatus::Completed && replacedScannedFile);
    host_.setSaveEnabled(!stale);
    host_.setViewEnabled(session_->text() != nullptr); // past memory there is no text to view
}

} // namespace twinscan
