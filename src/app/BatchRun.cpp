#include "app/BatchRun.h"

#include "app/CommandLine.h"
#include "app/Module.h"
#include "editing/InterruptSignals.h"
#include "editing/OpenDescriptor.h"
#include "engine/FileName.h"

#include <cstdio>

namespace twinscan {

namespace {
enum ExitStatus { written = 0, nothingToRemove = 1, failed = 2 };

void printLine(std::FILE *stream, const QString &text)
{
    std::fputs(shownFileName(text).toUtf8().constData(), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

// The result lines keep out of the data when the data goes to standard output.
std::FILE *resultStream()
{
    return namesStandardOutput(module().request.outputFile) ? stderr : stdout;
}

// Ends the job: its result line, its exit status, and the window closed.
void endJob(BatchWindow &window, ExitStatus status)
{
    printLine(status == failed ? stderr : resultStream(), window.statusText());
    const int signal = interrupts::pendingSignal();
    module().batchExitStatus = status == failed && signal != 0 ? 128 + signal : status;
    module().batchJobEnded = true;
    window.closeWindow();
}

// A job the user stopped leaves the window open for interactive use, and its settings are stored
// when it closes. A job stopped by a signal ends as a failed one: nobody is there to take over.
void handOverToUser(BatchWindow &window)
{
    if (interrupts::pendingSignal() != 0)
        return endJob(window, failed);
    module().batchMode = false;
}
} // namespace

void runBatch(BatchWindow &window)
{
    Module &m = module();
    applyOptionOverrides(m);
    switch (window.scanInput()) {
    case ScanEnding::StoppedByUser:
        return handOverToUser(window);
    case ScanEnding::NothingFound:
        return endJob(window, nothingToRemove);
    case ScanEnding::NotStarted:
    case ScanEnding::Failed:
        return endJob(window, failed);
    case ScanEnding::FoundDuplicates:
        printLine(resultStream(), window.statusText());
        break;
    }
    // A job is only run with a valid rule, so the fallback is never taken.
    window.markBy(batchMarkRule(m.request.markRule).value_or(MarkRule::All));
    switch (window.saveOutput()) {
    case SaveEnding::StoppedByUser:
        return handOverToUser(window);
    case SaveEnding::Done:
        return endJob(window, written);
    case SaveEnding::NotStarted:
    case SaveEnding::Failed:
        return endJob(window, failed);
    }
}

} // namespace twinscan
