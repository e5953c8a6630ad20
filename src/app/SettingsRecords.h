#pragma once

#include "editing/SaveOptions.h"
#include "engine/ScanOptions.h"
#include "ui/WindowPlacement.h"

#include <QString>
#include <QtGlobal>

namespace twinscan {

struct MainWindowPlacement : WindowPlacement
{
};
struct ViewerWindowPlacement : WindowPlacement
{
};

// 64-bit, since one file of short lines can hold more than 2^31 of them.
struct UsageStatistics
{
    qint64 statFilesOpened = 0;
    qint64 statLinesScanned = 0;
    qint64 statDupsFound = 0;
    qint64 statUniqueDupsFound = 0;
    qint64 statDupsDeleted = 0;
};

// Adds to a usage counter; the counters stop at their maximum instead of turning negative.
inline void addToCounter(qint64 &counter, qint64 amount)
{
    counter = amount > 0 && counter > INT64_MAX - amount ? INT64_MAX : counter + amount;
}

} // namespace twinscan
