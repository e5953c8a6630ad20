#pragma once

#include "engine/DuplicateScanner.h"
#include "engine/LoadedText.h"

#include <QString>
#include <memory>

namespace twinscan {

class frmMain;

// One run of the scan: choose a file, check it, load its lines into the lists, group the
// duplicates and report, ending in one of three ways (normal, interrupted by the user, error).
class ScanCommand
{
public:
    explicit ScanCommand(frmMain &form);
    void run();

private:
    QString chooseFile();
    bool checkFile(const QString &file);
    std::shared_ptr<LoadedText> readFile(const QString &file);
    bool fillSourceList(const LoadedText &text);
    void announceLargeFile(int lineCount);

    void normalEnding(const ScanOutcome &outcome, int lineCount);
    void interruptedEnding();
    void errorEnding();
    void finish();

    frmMain &form_;
    double start_ = 0;
    bool saveWasEnabled_ = false;
    bool viewWasEnabled_ = false;
};

} // namespace twinscan
