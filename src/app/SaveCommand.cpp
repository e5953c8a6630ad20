#include "app/SaveCommand.h"

#include "app/Module.h"
#include "app/frmMain.h"
#include "editing/RemovalList.h"
#include "editing/SavePercent.h"
#include "editing/SaveTarget.h"
#include "editing/SourceCheck.h"
#include "engine/Clock.h"
#include "engine/FileStamp.h"
#include "engine/ProcessingTime.h"
#include "ui/FileDialogService.h"
#include "ui/ProgressDisplay.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QToolButton>
#include <cerrno>
#include <new>

namespace twinscan {

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("SaveCommand", text);
}
} // namespace

SaveCommand::SaveCommand(frmMain &form) : form_(form) { }

SaveEnding SaveCommand::run()
{
    Module &m = module();
    if (m.isBusy || !m.lists.bound() || !form_.scannedText)
        return SaveEnding::NotStarted;
    const RemovalSet removals
        = collectRemovals(*m.lists.List2, *m.lists.lstLines, form_.lastLineIndex);
    if (removals.isEmpty()) {
        if (!m.batchMode) {
            form_.ask(tr("Please select lines to remove by marking them in the duplicates list!"),
                MessageButtons::Ok, MessageIcon::Exclamation);
        }
        finish(SaveStatus::Completed);
        return SaveEnding::NotStarted;
    }
    if (!sourceUsable())
        return SaveEnding::NotStarted;
    QString target = chooseTarget();
    if (target.isEmpty()) {
        form_.setStatusText(tr("No file selected..."));
        return SaveEnding::NotStarted;
    }
    if (!offerExtension(target)) {
        m.isBusy = false;
        return SaveEnding::NotStarted;
    }
    const SaveResult result = copy(target, removals);
    const SaveEnding ending = report(result);
    finish(result.status);
    return ending;
}

// The scanned file must still be there and hold what was scanned, or the marks' line numbers
// would remove the wrong lines. Asked before the target, so that nobody picks one in vain.
bool SaveCommand::sourceUsable()
{
    const SourceState state = checkSource(form_.scannedFile, form_.scannedText->stamp());
    if (state == SourceState::Unchanged)
        return true;
    const QString text = state == SourceState::Missing ? sourceMissingText() : sourceChangedText();
    if (!module().batchMode)
        form_.ask(text, MessageButtons::Ok, MessageIcon::Stop);
    form_.setStatusText(text);
    form_.ui().cmdSave->setEnabled(false);
    module().isBusy = false;
    return false;
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
    if (QFileInfo(form_.scannedFile).suffix().isEmpty())
        request.defaultExtension = QStringLiteral("TXT");
    request.overwritePrompt = true;
    request.owner = &form_;
    return form_.services().dialogs->saveFile(request);
}

// Offers the source's extension for a target without one; false when the user cancels.
bool SaveCommand::offerExtension(QString &target)
{
    if (module().batchMode || resolveSaveTarget(form_.scannedFile, target).replaceSource)
        return true;
    const ExtensionOffer offer = extensionOffer(form_.scannedFile, target);
    if (!offer.ask)
        return true;
    const MessageAnswer answer = form_.ask(
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
    m.isBusy = true;
    start_ = form_.services().clock->secondsSinceMidnight();
    m.lastSavedFile = replacesScannedFile(target) ? form_.scannedFile : target;
    form_.enterBusyState();
    form_.setStatusText(tr("Saving File..."));
    ProgressDisplay &bar = form_.progress();
    bar.setMax(form_.lastLineIndex);
    bar.setValue(0);
    form_.letEventsRun();

    const SaveRequest request {form_.scannedFile, form_.scannedText->stamp(), target,
        form_.lastLineIndex, SaveRules::from(m.saveOptions)};
    try {
        return saveWithRemoval(
            request, removals, form_.progressListener([&](qint64 done, qint64 total) {
                form_.setStatusText(tr("Saving File... %1%").arg(savePercent(done, total)));
                bar.setValue(int(done));
            }));
    } catch (const std::bad_alloc &) {
        SaveResult failed;
        failed.message
            = tr("Can't write %1: %2").arg(QDir::toNativeSeparators(target), systemReason(ENOMEM));
        return failed;
    }
}

// Whether the save puts its result in place of the scanned file itself, rather than under
// another name of it (a hard link) or in a file of its own.
bool SaveCommand::replacesScannedFile(const QString &target) const
{
    const SaveTarget resolved = resolveSaveTarget(form_.scannedFile, target);
    return resolved.replaceSource
        && QFileInfo(resolved.replacedFile).canonicalFilePath()
        == QFileInfo(form_.scannedFile).canonicalFilePath();
}

SaveEnding SaveCommand::report(const SaveResult &result)
{
    Module &m = module();
    switch (result.status) {
    case SaveStatus::Completed: {
        const QString time
            = processingTimeText(start_, form_.services().clock->secondsSinceMidnight());
        addToCounter(m.statistics.statDupsDeleted, result.removedCount);
        form_.setStatusText(tr("Done! (Processing time: %1)").arg(time));
        return SaveEnding::Done;
    }
    case SaveStatus::Stopped:
        form_.setStatusText(tr("Done! (Interrupted by User)"));
        return SaveEnding::Interrupted;
    case SaveStatus::Failed:
    case SaveStatus::SourceMissing:
    case SaveStatus::SourceChanged:
        break;
    }
    form_.setStatusText(result.message);
    if (!m.batchMode)
        form_.ask(result.message, MessageButtons::Ok, MessageIcon::Stop);
    return SaveEnding::Failed;
}

void SaveCommand::finish(SaveStatus status)
{
    module().lists.lstLines->Clear();
    // Results that no longer match their file can only be scanned again, not saved.
    const bool stale = status == SaveStatus::SourceMissing || status == SaveStatus::SourceChanged;
    form_.ui().cmdSave->setEnabled(!stale);
    form_.ui().cmdView->setEnabled(true);
    form_.leaveBusyState();
}

} // namespace twinscan
