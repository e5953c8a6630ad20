#include "app/BatchRun.h"

#include "app/CommandLine.h"
#include "app/Module.h"
#include "app/frmMain.h"

#include <QToolButton>
#include <cstdio>

namespace twinscan {

namespace {
enum ExitStatus { written = 0, nothingToRemove = 1, failed = 2 };

void printLine(std::FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

// The scan's part of the job; false when the job ends here.
bool scanInput(frmMain &form)
{
    Module &m = module();
    const ScanEnding ending = form.scan();
    if (!m.batchMode)
        return false; // stopped by the user: the window stays open
    const bool found = form.ui().cmdSave->isEnabled() && ending == ScanEnding::Normal;
    printLine(ending == ScanEnding::Normal ? stdout : stderr, form.statusText());
    if (!found) {
        m.batchExitStatus = ending == ScanEnding::Normal ? nothingToRemove : failed;
        form.close();
        return false;
    }
    return true;
}
} // namespace

void runBatch(frmMain &form)
{
    Module &m = module();
    applyOptionOverrides(m);
    if (!scanInput(form))
        return;
    // A job is only run with a valid rule, so the fallback is never taken.
    form.markBy(batchMarkRule(m.request.markRule).value_or(MarkRule::All));
    const SaveEnding ending = form.save();
    if (!m.batchMode)
        return; // the user stopped the save
    const bool done = ending == SaveEnding::Done;
    printLine(done ? stdout : stderr, form.statusText());
    m.batchExitStatus = done ? written : failed;
    form.close();
}

} // namespace twinscan
