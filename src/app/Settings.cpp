#include "app/Settings.h"

#include "app/Module.h"
#include "app/SettingsStore.h"
#include "engine/Rounding.h"

#include <limits>

namespace twinscan {

namespace {

constexpr int mainDefaultWidth = 6765;
constexpr int mainDefaultHeight = 6690;
// The main window's default top is centred for this height, so it opens a little above centre.
constexpr int mainCentringHeight = 6990;
constexpr int viewerDefaultWidth = 7095;
constexpr int viewerDefaultHeight = 5655;

// A stored number that is not a whole number or does not fit its field is as good as missing.
template<typename Field>
Field readNumber(const SettingsStore &store, const QString &key, Field defaultValue)
{
    bool ok = false;
    const qlonglong number = store.value(key, QString::number(defaultValue)).toLongLong(&ok);
    if (!ok || number < std::numeric_limits<Field>::min()
        || number > std::numeric_limits<Field>::max())
        return defaultValue;
    return Field(number);
}

qint16 centred(int screenTwips, int windowTwips)
{
    return toTwipField(roundHalfEven(screenTwips / 2.0 - windowTwips / 2.0));
}

void readPlacement(const SettingsStore &store, const QString &prefix, WindowPlacement &placement,
    const WindowPlacement &defaults)
{
    placement.left = readNumber(store, prefix + QStringLiteral("Left"), defaults.left);
    placement.top = readNumber(store, prefix + QStringLiteral("Top"), defaults.top);
    placement.width = readNumber(store, prefix + QStringLiteral("Width"), defaults.width);
    placement.height = readNumber(store, prefix + QStringLiteral("Height"), defaults.height);
    placement.state = readNumber(store, prefix + QStringLiteral("State"), defaults.state);
}

void writePlacement(
    SettingsStore &store, const QString &prefix, const WindowPlacement &placement, qint16 state)
{
    store.setValue(prefix + QStringLiteral("Left"), QString::number(placement.left));
    store.setValue(prefix + QStringLiteral("Top"), QString::number(placement.top));
    store.setValue(prefix + QStringLiteral("Width"), QString::number(placement.width));
    store.setValue(prefix + QStringLiteral("Height"), QString::number(placement.height));
    store.setValue(prefix + QStringLiteral("State"), QString::number(state));
}

void readOptions(const SettingsStore &store, Module &module)
{
    ScanOptions &scan = module.scanOptions;
    scan.caseSensitive = readNumber<qint16>(store, QStringLiteral("caseSensitive"), 0);
    scan.trimLines = readNumber<qint16>(store, QStringLiteral("trimLines"), 0);
    scan.includeEmptyLines = readNumber<qint16>(store, QStringLiteral("includeEmptyLines"), 0);
    SaveOptions &save = module.saveOptions;
    save.trimSaveLines = readNumber<qint16>(store, QStringLiteral("trimSaveLines"), 0);
    save.saveEmptyLines = readNumber<qint16>(store, QStringLiteral("saveEmptyLines"), 1);
}

void readStatistics(const SettingsStore &store, UsageStatistics &stats)
{
    stats.statFilesOpened = readNumber<qint32>(store, QStringLiteral("statFilesOpened"), 0);
    stats.statLinesScanned = readNumber<qint32>(store, QStringLiteral("statLinesScanned"), 0);
    stats.statDupsFound = readNumber<qint32>(store, QStringLiteral("statDupsFound"), 0);
    stats.statUniqueDupsFound = readNumber<qint32>(store, QStringLiteral("statUniqueDupsFound"), 0);
    stats.statDupsDeleted = readNumber<qint32>(store, QStringLiteral("statDupsDeleted"), 0);
}

void writeOptions(SettingsStore &store, const Module &module)
{
    const ScanOptions &scan = module.scanOptions;
    store.setValue(QStringLiteral("caseSensitive"), QString::number(scan.caseSensitive));
    store.setValue(QStringLiteral("trimLines"), QString::number(scan.trimLines));
    store.setValue(QStringLiteral("includeEmptyLines"), QString::number(scan.includeEmptyLines));
    const SaveOptions &save = module.saveOptions;
    store.setValue(QStringLiteral("trimSaveLines"), QString::number(save.trimSaveLines));
    store.setValue(QStringLiteral("saveEmptyLines"), QString::number(save.saveEmptyLines));
}

void writeStatistics(SettingsStore &store, const UsageStatistics &stats)
{
    store.setValue(QStringLiteral("statFilesOpened"), QString::number(stats.statFilesOpened));
    store.setValue(QStringLiteral("statLinesScanned"), QString::number(stats.statLinesScanned));
    store.setValue(QStringLiteral("statDupsFound"), QString::number(stats.statDupsFound));
    store.setValue(
        QStringLiteral("statUniqueDupsFound"), QString::number(stats.statUniqueDupsFound));
    store.setValue(QStringLiteral("statDupsDeleted"), QString::number(stats.statDupsDeleted));
}

} // namespace

void loadSettings(const SettingsStore &store, Module &module, QSize primaryScreenTwips)
{
    const int screenWidth = primaryScreenTwips.width();
    const int screenHeight = primaryScreenTwips.height();
    readOptions(store, module);
    module.lastLoadedFile = store.value(QStringLiteral("lastLoadedFile"), QString());
    module.lastSavedFile = store.value(QStringLiteral("lastSavedFile"), QString());
    readPlacement(store, QStringLiteral("win"), module.mainPlacement,
        {centred(screenWidth, mainDefaultWidth), centred(screenHeight, mainCentringHeight),
            mainDefaultWidth, mainDefaultHeight, windowStateNormal});
    readPlacement(store, QStringLiteral("viewWin"), module.viewerPlacement,
        {centred(screenWidth, viewerDefaultWidth), centred(screenHeight, viewerDefaultHeight),
            viewerDefaultWidth, viewerDefaultHeight, windowStateNormal});
    readStatistics(store, module.statistics);
}

void saveSettings(SettingsStore &store, Module &module, const WindowSnapshot &mainWindow)
{
    writeOptions(store, module);
    store.setValue(QStringLiteral("lastLoadedFile"), module.lastLoadedFile);
    store.setValue(QStringLiteral("lastSavedFile"), module.lastSavedFile);
    writeStatistics(store, module.statistics);
    if (mainWindow.state == windowStateNormal) {
        module.mainPlacement.top = toTwipField(mainWindow.top);
        module.mainPlacement.left = toTwipField(mainWindow.left);
    }
    // A minimised window has no placement worth keeping; the store keeps the earlier run's.
    if (mainWindow.state != windowStateMinimised)
        writePlacement(store, QStringLiteral("win"), module.mainPlacement, mainWindow.state);
    writePlacement(
        store, QStringLiteral("viewWin"), module.viewerPlacement, module.viewerPlacement.state);
}

QString statisticsText(const UsageStatistics &statistics)
{
    return QStringLiteral("Files Opened: %1\nLines Scanned: %2\nDuplicates Found: %3\n"
                          "Unique Dups Found: %4\nDuplicates Deleted: %5")
        .arg(statistics.statFilesOpened)
        .arg(statistics.statLinesScanned)
        .arg(statistics.statDupsFound)
        .arg(statistics.statUniqueDupsFound)
        .arg(statistics.statDupsDeleted);
}

} // namespace twinscan
