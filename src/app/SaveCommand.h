#pragma once

#include "app/JobEndings.h"
#include "app/JobHost.h"
#include "editing/RemovalWriter.h"

#include <QCoreApplication>
#include <QString>

namespace twinscan {

class ScanSession;

// One run of the save: collect the marked line numbers of the host's session, choose the target,
// copy the scanned file without those lines, and report.
class SaveCommand
{
    Q_DECLARE_TR_FUNCTIONS(SaveCommand)

public:
    explicit SaveCommand(JobHost &host);
    SaveEnding run();
    // Whether the run put its result in place of the scanned file.
    bool replacedScannedFile() const { return replacing_; }

private:
    SaveEnding runSave();
    static QString notEnoughMemory(const QString &target);
    QString chooseTarget();
    bool offerExtension(QString &target);
    SaveResult copy(const QString &target, const RemovalSet &removals);
    SaveEnding report(const SaveResult &result);
    bool replacesScannedFile(const QString &target) const;
    void finish(SaveStatus status, bool replacedScannedFile);

    JobHost &host_;
    ScanSession *session_ = nullptr;
    double start_ = 0;
    bool replacing_ = false;
    QString target_; // once chosen
};

} // namespace twinscan
