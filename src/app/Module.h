#pragma once

#include "app/SettingsRecords.h"
#include "engine/LineList.h"
#include "engine/clsListEmu.h"

#include <QString>
#include <array>
#include <memory>

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

// The five list slots: each refers to a list box of the main window, or, for a file too large to
// show, to an emulation. They refer to nothing until the first scan binds them.
struct ListSlots
{
    LineList *lstShow = nullptr;
    LineList *List2 = nullptr;
    LineList *List1 = nullptr;
    LineList *lstLines = nullptr;
    LineList *lstRemove = nullptr;
    std::array<std::unique_ptr<clsListEmu>, 5> emulations;

    bool bound() const { return lstShow != nullptr; }
};

// What lives for the whole run of the program: settings in memory, the command line, the flags
// that the windows share, and the list slots.
struct Module
{
    QString appTitle;
    QString appVersion;

    ScanOptions scanOptions;
    SaveOptions saveOptions;
    QString lastLoadedFile;
    QString lastSavedFile;
    MainWindowPlacement mainPlacement;
    ViewerWindowPlacement viewerPlacement;
    UsageStatistics statistics;

    bool batchMode = false;
    CommandLineRequest request;
    // What an unattended run tells its caller: 0 written, 1 nothing to remove, 2 failed.
    int batchExitStatus = 0;

    bool isBusy = false;
    bool largeFileMode = false;
    QString droppedFile;

    ListSlots lists;
};

Module &module();

} // namespace twinscan
