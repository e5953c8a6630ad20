#pragma once

#include "app/JobEndings.h"
#include "app/JobHost.h"
#include "editing/RemovalWriter.h"

#include <QCoreApplication>
#include <QString>

namespace twinscan {

class ScanSession;

// What the duplicates list's Save commands write besides the window's Save.
enum class OutputKind {
    Report, // the groups as tab-separated values (DuplicateReport.h)
    Duplicates, // every line that belongs to a group, in file order
    Removed, // the lines the marks would remove, in file order
};

// One run of such a command: a new file, chosen in the save dialog, written as the save writes
// (a temporary file, progress, Stop, the scanned file proven unchanged), its outcome in the status
// text. The scanned file itself stays as it is, so it is refused as the target.
class OutputCommand
{
    Q_DECLARE_TR_FUNCTIONS(OutputCommand)

public:
    OutputCommand(JobHost &host, OutputKind kind);
    SaveEnding run();

private:
    bool haveLines();
    QString chooseTarget();
    bool refusesTarget(const QString &target);
    SaveResult write(const QString &target);
    SaveEnding report(const SaveResult &result, const QString &target);

    JobHost &host_;
    ScanSession *session_ = nullptr;
    OutputKind kind_;
    double start_ = 0;
};

} // namespace twinscan
