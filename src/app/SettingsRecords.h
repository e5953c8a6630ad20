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

struct UsageStatistics
{
    qint32 statFilesOpened = 0;
    qint32 statLinesScanned = 0;
    qint32 statDupsFound = 0;
    qint32 statUniqueDupsFound = 0;
    qint32 statDupsDeleted = 0;
};

// Adds to a usage counter; the counters stop at their maximum instead of turning negative.
inline void addToCounter(qint32 &counter, qint64 amount)
{
    const qint64 sum = qint64(counter) + amount;
    counter = sum > INT32_MAX ? INT32_MAX : qint32(sum);
}

} // namespace twinscan
