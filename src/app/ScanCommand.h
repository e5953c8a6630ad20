#pragma once

#include "app/JobEndings.h"
#include "app/JobHost.h"
#include "engine/DuplicateScanner.h"

#include <QCoreApplication>
#include <QString>
#include <memory>

namespace twinscan {

// One run of the scan: choose a file, check it, read it, fill the source list, group the
// duplicates and report. Its results go into a new session of the host.
class ScanCommand
{
    Q_DECLARE_TR_FUNCTIONS(ScanCommand)

public:
    // Whether the scan counts in the usage statistics: the scan of the file a save has just
    // replaced shows it as it is now, and is no new file opened.
    enum class Counting { Counted, Rescan };
    // A dropped file is scanned without asking for one.
    explicit ScanCommand(
        JobHost &host, QString droppedFile = {}, Counting counting = Counting::Counted);
    ScanEnding run();

private:
    QString chooseFile();
    bool checkFile(const QString &file);
    ScanEnding scanFile(const QString &file);
    ScanEnding scanPastMemory(const QString &file);
    std::shared_ptr<const LoadedText> readFile(const QString &file, ScanEnding &failure);
    bool fillSourceList(ScanSession &session);
    ScanOutcome findDuplicates(ScanSession &session);
    void announceLargeFile(const ScanSession &session);

    ScanEnding normalEnding(qint64 lineCount, qint64 found, qint64 groups);
    ScanEnding interruptedEnding();
    ScanEnding errorEnding();
    ScanEnding outOfMemory(const QString &file);
    void showLoading(int percent);
    void showFullProgress();

    JobHost &host_;
    QString droppedFile_;
    Counting counting_;
    double start_ = 0;
};

} // namespace twinscan
