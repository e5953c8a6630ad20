#include "app/SaveSteps.h"

#include "app/Module.h"
#include "app/ScanSession.h"
#include "editing/SavePercent.h"
#include "editing/SourceCheck.h"
#include "ui/ProgressDisplay.h"

#include <QCoreApplication>

namespace twinscan {

namespace {
// The translation context of the messages: the save's, whose texts these were first.
struct SaveCommand
{
    Q_DECLARE_TR_FUNCTIONS(SaveCommand)
};
} // namespace

bool sourceStillScanned(JobHost &host, const ScanSession &session)
{
    const SourceState state = checkSource(session.scannedFile(), session.stamp());
    if (state == SourceState::Unchanged)
        return true;
    const QString text = state == SourceState::Missing ? sourceMissingText() : sourceChangedText();
    if (!module().batchMode)
        host.ask(text, MessageButtons::Ok, MessageIcon::Stop);
    host.setStatusText(text);
    host.setSaveEnabled(false);
    return false;
}

ProgressFn saveProgress(JobHost &host, qint64 total, std::function<QString(int percent)> text)
{
    ProgressDisplay &bar = host.progress();
    // The bar counts in 32 bits: a file of more lines moves it a step per so many lines.
    const qint64 perStep = total / INT32_MAX + 1;
    bar.setMax(int(total / perStep));
    bar.setValue(0);
    host.letEventsRun();
    return host.progressListener(
        [&host, &bar, perStep, text = std::move(text)](qint64 done, qint64 all) {
            host.setStatusText(text(savePercent(done, all)));
            bar.setValue(int(done / perStep));
        });
}

SaveEnding reportUnsaved(JobHost &host, const SaveResult &result)
{
    if (result.status == SaveStatus::Stopped) {
        // Only a device or a FIFO, written directly, may have had a part of the lines.
        host.setStatusText(result.target.direct ? SaveCommand::tr("Done! (Interrupted by User)")
                                                : SaveCommand::tr("Stopped: nothing was written."));
        return SaveEnding::StoppedByUser;
    }
    host.setStatusText(result.message);
    if (!module().batchMode)
        host.ask(result.message, MessageButtons::Ok, MessageIcon::Stop);
    return SaveEnding::Failed;
}

} // namespace twinscan
