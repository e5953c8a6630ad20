#pragma once

#include "editing/RemovalWriter.h"

#include <QString>

namespace twinscan {

class frmMain;

// How a save ended, for the unattended run.
enum class SaveEnding {
    NotStarted, // nothing marked, no target, extension prompt cancelled, source missing
    Done,
    Interrupted,
    Failed,
};

// One run of the save: collect the marked line numbers, choose the target, copy the scanned file
// without those lines, and report.
class SaveCommand
{
public:
    explicit SaveCommand(frmMain &form);
    SaveEnding run();

private:
    bool sourceUsable();
    QString chooseTarget();
    bool offerExtension(QString &target);
    SaveResult copy(const QString &target, const RemovalSet &removals);
    SaveEnding report(const SaveResult &result);
    bool replacesScannedFile(const QString &target) const;
    void finish(SaveStatus status);

    frmMain &form_;
    double start_ = 0;
};

} // namespace twinscan
