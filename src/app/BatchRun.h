#pragma once

#include "app/JobEndings.h"
#include "editing/MarkingRules.h"

#include <QString>

namespace twinscan {

// What the unattended job needs of the window it runs in.
class BatchWindow
{
public:
    virtual ~BatchWindow() = default;

    virtual ScanEnding scanInput() = 0;
    virtual void markBy(MarkRule rule) = 0;
    virtual SaveEnding saveOutput() = 0;
    virtual QString statusText() const = 0;
    virtual void closeWindow() = 0;
};

// The unattended job of the command line: scan the input, mark by the rule, save the output and
// close the window. It prints the scan's and the save's result on standard output (failures on
// standard error) and leaves the exit status in the module. A stop the user confirms ends the
// job and leaves the window open for interactive use.
void runBatch(BatchWindow &window);

} // namespace twinscan
