#pragma once

#include "app/SettingsRecords.h"
#include "engine/KeySpec.h"

#include <QString>
#include <QStringList>

namespace twinscan {

// The values given to the command-line switches, empty when not given.
struct CommandLineRequest
{
    QString inputFile;
    QString outputFile;
    QString markRule;
    QString caseSensitiveSwitch;
    QString trimLinesSwitch;
    QString includeEmptyLinesSwitch;
    QString trimSaveLinesSwitch;
    QString saveEmptyLinesSwitch;
};

// What lives for the whole run of the program: settings in memory, the command line and the flags
// that the windows share. What one scan produced lives in its ScanSession.
struct Module
{
    QString appTitle;
    QString appVersion;

    ScanOptions scanOptions;
    KeySpec keySpec; // what of a line the scan compares
    SaveOptions saveOptions;
    // 1 lists a file of 32,768 lines or more in the main window, 0 shows it unlisted; a flag like
    // the switches.
    qint16 showLargeFileLists = 0;
    QString lastLoadedFile;
    QString lastSavedFile;
    QStringList recentFiles; // see RecentFiles.h
    MainWindowPlacement mainPlacement;
    ViewerWindowPlacement viewerPlacement;
    UsageStatistics statistics;
    // The counters as read at start: what this run added is the difference.
    UsageStatistics loadedStatistics;

    bool batchMode = false;
    CommandLineRequest request;
    // What an unattended run tells its caller: 0 written, 1 nothing to remove, 2 failed.
    int batchExitStatus = 0;
    // Whether the job ended and set batchExitStatus, which a later signal no longer changes.
    bool batchJobEnded = false;

    bool isBusy = false; // a scan or a save runs; see BusyScope
};

Module &module();

} // namespace twinscan
