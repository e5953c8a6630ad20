#include "app/OutputCommand.h"

#include "app/JobControl.h"
#include "app/Module.h"
#include "app/SaveSteps.h"
#include "app/ScanSession.h"
#include "editing/DuplicateReport.h"
#include "editing/SaveTarget.h"
#include "editing/SelectedLines.h"
#include "engine/Clock.h"
#include "engine/KeyExtractor.h"
#include "engine/ProcessingTime.h"
#include "ui/FileDialogService.h"
#include "ui/ProgressDisplay.h"

#include <QDir>
#include <QFileInfo>
#include <new>
#include <optional>

namespace twinscan {

OutputCommand::OutputCommand(JobHost &host, OutputKind kind)
    : host_(host), session_(host.session()), kind_(kind)
{
}

// Memory that runs out leaves the files as they were: the temporary file goes with it.
SaveEnding OutputCommand::run()
{
    if (!module().isBusy && session_ && session_->pastMemory()) {
        host_.setStatusText(
            tr("The file does not fit in memory: its groups cannot be listed or saved apart."));
        return SaveEnding::NotStarted;
    }
    if (module().isBusy || !session_ || !session_->text())
        return SaveEnding::NotStarted;
    host_.setStatusText({});
    if (!haveLines() || !sourceStillScanned(host_, *session_))
        return SaveEnding::NotStarted;
    const QString target = chooseTarget();
    if (target.isEmpty()) {
        host_.setStatusText(tr("No file selected..."));
        return SaveEnding::NotStarted;
    }
    if (refusesTarget(target))
        return SaveEnding::NotStarted;
    BusyScope busy(host_.jobs());
    busy.showBusy();
    try {
        return report(write(target), target);
    } catch (const std::bad_alloc &) {
        SaveResult failed;
        failed.message = tr("Not enough memory to save %1.").arg(QDir::toNativeSeparators(target));
        return reportUnsaved(host_, failed);
    }
}

bool OutputCommand::haveLines()
{
    const bool none
        = kind_ == OutputKind::Removed ? session_->markedCount() == 0 : session_->entryCount() == 0;
    if (none) {
        host_.setStatusText(kind_ == OutputKind::Removed
                ? tr("No lines are marked: nothing would be removed.")
                : tr("No duplicate lines to save."));
    }
    return !none;
}

// The dialog starts beside the scanned file, at a name that tells what the file holds.
QString OutputCommand::chooseTarget()
{
    const QFileInfo scanned(session_->scannedFile());
    const QString stem = scanned.path() + u'/' + scanned.completeBaseName();
    const QString suffix = scanned.suffix().isEmpty() ? QString() : u'.' + scanned.suffix();
    FileDialogRequest request;
    request.filter = QStringLiteral("All Files (*.*)|*.*");
    request.filterIndex = 1;
    switch (kind_) {
    case OutputKind::Report:
        request.initialFile = stem + QStringLiteral("-report.tsv");
        request.filter = QStringLiteral("Tab-Separated Values (*.tsv)|*.tsv|") + request.filter;
        request.defaultExtension = QStringLiteral("tsv");
        break;
    case OutputKind::Duplicates:
        request.initialFile = stem + QStringLiteral("-duplicates") + suffix;
        break;
    case OutputKind::Removed:
        request.initialFile = stem + QStringLiteral("-removed") + suffix;
        break;
    }
    if (request.defaultExtension.isEmpty() && suffix.isEmpty())
        request.defaultExtension = QStringLiteral("TXT");
    request.overwritePrompt = true;
    request.owner = host_.dialogOwner();
    return host_.services().dialogs->saveFile(request);
}

// Under any of its names: a hard link or a symbolic link to the scanned file is the file.
bool OutputCommand::refusesTarget(const QString &target)
{
    if (!resolveSaveTarget(session_->scannedFile(), target).replaceSource)
        return false;
    const QString text = tr("%1 is the scanned file, which this command does not replace. Please "
                            "choose another name.")
                             .arg(QDir::toNativeSeparators(target));
    host_.ask(text, MessageButtons::Ok, MessageIcon::Exclamation);
    host_.setStatusText(text);
    return true;
}

SaveResult OutputCommand::write(const QString &target)
{
    const ScanSession &session = *session_;
    start_ = host_.services().clock->secondsSinceMidnight();
    const LoadedText &text = *session.text();
    const bool report = kind_ == OutputKind::Report;
    const QString saving = report         ? tr("Saving Report...")
        : kind_ == OutputKind::Duplicates ? tr("Saving Duplicates...")
                                          : tr("Saving Removed Lines...");
    host_.setStatusText(saving);
    const qint64 total = report ? session.entryCount() : session.lastLineIndex();
    const ProgressFn progress = saveProgress(host_, total,
        [saving](int percent) { return saving + u' ' + QString::number(percent) + u'%'; });
    const SaveRequest request {session.scannedFile(), session.stamp(), target,
        session.lastLineIndex(), SaveRules::from(module().saveOptions), session.contentHash(),
        session.text()};
    if (report) {
        std::optional<KeyExtractor> key;
        if (!session.key().isWholeLine())
            key.emplace(session.key(), session.scanRules());
        const ReportSource source {
            text, *session.lists().List2, session.lineEntries(), key ? &*key : nullptr};
        return saveWritten(
            request, [&](OutputFile &out) { return writeDuplicateReport(out, source, progress); },
            progress);
    }
    const RemovalSet marked = kind_ == OutputKind::Removed
        ? collectRemovals(*session.lists().List2, int(session.lastLineIndex()))
        : RemovalSet();
    const LineSelection selection
        = kind_ == OutputKind::Removed ? LineSelection::Removed : LineSelection::Duplicated;
    return saveWithRemoval(request,
        linesLeftOut(selection, session.lineEntries(), text.lineCount(), marked), progress);
}

SaveEnding OutputCommand::report(const SaveResult &result, const QString &target)
{
    // Progress shows a few times a second; its last value must show too.
    host_.progress().setValue(host_.progress().Max());
    if (result.status != SaveStatus::Completed)
        return reportUnsaved(host_, result);
    const QString time = processingTimeText(start_, host_.services().clock->secondsSinceMidnight());
    const QString file = QDir::toNativeSeparators(target);
    const QString done = kind_ == OutputKind::Report
        ? tr("Done! Report saved to %1 (Processing time: %2)")
        : kind_ == OutputKind::Duplicates
        ? tr("Done! Duplicate lines saved to %1 (Processing time: %2)")
        : tr("Done! Removed lines saved to %1 (Processing time: %2)");
    host_.setStatusText(
        done.arg(file, time) + (result.warning.isEmpty() ? QString() : u' ' + result.warning));
    return SaveEnding::Done;
}

} // namespace twinscan
