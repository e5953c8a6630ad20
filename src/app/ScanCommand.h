#pragma once

#include "engine/DuplicateScanner.h"
#include "engine/LoadedText.h"

#include <QString>
#include <memory>

namespace twinscan {

class frmMain;

// How a scan ended, for the unattended run.
enum class ScanEnding { Cancelled, Normal, Interrupted, Error };

// One run of the scan: choose a file, check it, load its lines into the lists, group the
// duplicates and report, ending in one of three ways (normal, interrupted by the user, error).
class ScanCommand
{
public:
    explicit ScanCommand(frmMain &form);
    ScanEnding run();

private:
    ScanEnding scanFile(const QString &file);
    QString chooseFile();
    bool checkFile(const QString &file);
    std::shared_ptr<LoadedText> readFile(const QString &file, ScanEnding &failure);
    bool fillSourceList(const LoadedText &text);
    void announceLargeFile(int lineCount);

    ScanEnding normalEnding(const ScanOutcome &outcome, int lineCount);
    ScanEnding interruptedEnding();
    ScanEnding errorEnding();
    void finish();

    frmMain &form_;
    double start_ = 0;
    bool saveWasEnabled_ = false;
    bool viewWasEnabled_ = false;
    bool listsBound_ = false; // the lists were emptied for this file
};

} // namespace twinscan
