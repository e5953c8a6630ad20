#include "app/Settings.h"

#include "app/KeySettings.h"
#include "app/Module.h"
#include "app/RecentFiles.h"
#include "app/SettingsStore.h"
#include "engine/Rounding.h"

#include <QLatin1StringView>
#include <array>
#include <limits>
#include <type_traits>

namespace twinscan {

using namespace Qt::StringLiterals;

namespace {

constexpr int mainDefaultWidth = 6765;
constexpr int mainDefaultHeight = 6690;
// The main window's default top is centred for this height, so it opens a little above centre.
constexpr int mainCentringHeight = 6990;
constexpr int viewerDefaultWidth = 7095;
constexpr int viewerDefaultHeight = 5655;

qint16 centred(int screenTwips, int windowTwips)
{
    return toTwipField(roundHalfEven(screenTwips / 2.0 - windowTwips / 2.0));
}

// One stored setting: its key, the module's field that holds it, and its value when the store
// has none or a damaged one.
template<typename Field> struct Setting
{
    QLatin1StringView key;
    Field &(*field)(Module &);
    Field defaultValue;
};

// Every key in the order it is read and written. The main window's placement has rows of its
// own because a minimised window does not write them.
struct SettingsTable
{
    std::array<Setting<qint16>, 6> options;
    std::array<Setting<qint16>, 5> mainPlacement;
    std::array<Setting<qint16>, 5> viewerPlacement;
    std::array<Setting<qint64>, 5> statistics;
    std::array<Setting<QString>, 2> fileNames;
};

// The default positions centre the windows on a primary screen of `screen` twips.
SettingsTable settingsTable(QSize screen)
{
    using M = Module;
    return {
        {{
            {"caseSensitive"_L1, [](M &m) -> qint16 & { return m.scanOptions.caseSensitive; }, 0},
            {"trimLines"_L1, [](M &m) -> qint16 & { return m.scanOptions.trimLines; }, 0},
            {"includeEmptyLines"_L1,
                [](M &m) -> qint16 & { return m.scanOptions.includeEmptyLines; }, 0},
            {"trimSaveLines"_L1, [](M &m) -> qint16 & { return m.saveOptions.trimSaveLines; }, 0},
            {"saveEmptyLines"_L1, [](M &m) -> qint16 & { return m.saveOptions.saveEmptyLines; }, 1},
            {"showLargeFileLists"_L1, [](M &m) -> qint16 & { return m.showLargeFileLists; }, 0},
        }},
        {{
            {"winLeft"_L1, [](M &m) -> qint16 & { return m.mainPlacement.left; },
                centred(screen.width(), mainDefaultWidth)},
            {"winTop"_L1, [](M &m) -> qint16 & { return m.mainPlacement.top; },
                centred(screen.height(), mainCentringHeight)},
            {"winWidth"_L1, [](M &m) -> qint16 & { return m.mainPlacement.width; },
                mainDefaultWidth},
            {"winHeight"_L1, [](M &m) -> qint16 & { return m.mainPlacement.height; },
                mainDefaultHeight},
            {"winState"_L1, [](M &m) -> qint16 & { return m.mainPlacement.state; },
                windowStateNormal},
        }},
        {{
            {"viewWinLeft"_L1, [](M &m) -> qint16 & { return m.viewerPlacement.left; },
                centred(screen.width(), viewerDefaultWidth)},
            {"viewWinTop"_L1, [](M &m) -> qint16 & { return m.viewerPlacement.top; },
                centred(screen.height(), viewerDefaultHeight)},
            {"viewWinWidth"_L1, [](M &m) -> qint16 & { return m.viewerPlacement.width; },
                viewerDefaultWidth},
            {"viewWinHeight"_L1, [](M &m) -> qint16 & { return m.viewerPlacement.height; },
                viewerDefaultHeight},
            {"viewWinState"_L1, [](M &m) -> qint16 & { return m.viewerPlacement.state; },
                windowStateNormal},
        }},
        {{
            {"statFilesOpened"_L1, [](M &m) -> qint64 & { return m.statistics.statFilesOpened; },
                0},
            {"statLinesScanned"_L1, [](M &m) -> qint64 & { return m.statistics.statLinesScanned; },
                0},
            {"statDupsFound"_L1, [](M &m) -> qint64 & { return m.statistics.statDupsFound; }, 0},
            {"statUniqueDupsFound"_L1,
                [](M &m) -> qint64 & { return m.statistics.statUniqueDupsFound; }, 0},
            {"statDupsDeleted"_L1, [](M &m) -> qint64 & { return m.statistics.statDupsDeleted; },
                0},
        }},
        {{
            {"lastLoadedFile"_L1, [](M &m) -> QString & { return m.lastLoadedFile; }, {}},
            {"lastSavedFile"_L1, [](M &m) -> QString & { return m.lastSavedFile; }, {}},
        }}};
}

// A stored number that is not a whole number or does not fit its field is as good as missing.
template<typename Field> Field numberOr(const QString &text, Field defaultValue)
{
    bool ok = false;
    const qlonglong number = text.toLongLong(&ok);
    if (!ok || number < std::numeric_limits<Field>::min()
        || number > std::numeric_limits<Field>::max())
        return defaultValue;
    return Field(number);
}

template<typename Field> Field readValue(const SettingsStore &store, const Setting<Field> &setting)
{
    const QString key(setting.key);
    if constexpr (std::is_same_v<Field, QString>)
        return store.value(key, setting.defaultValue);
    else
        return numberOr(
            store.value(key, QString::number(setting.defaultValue)), setting.defaultValue);
}

template<typename Field, std::size_t n>
void readAll(const SettingsStore &store, Module &module, const std::array<Setting<Field>, n> &rows)
{
    for (const Setting<Field> &setting : rows)
        setting.field(module) = readValue(store, setting);
}

template<typename Field, std::size_t n>
void writeAll(SettingsStore &store, Module &module, const std::array<Setting<Field>, n> &rows)
{
    for (const Setting<Field> &setting : rows) {
        const Field &value = setting.field(module);
        if constexpr (std::is_same_v<Field, QString>)
            store.setValue(QString(setting.key), value);
        else
            store.setValue(QString(setting.key), QString::number(value));
    }
}

// Each counter gets what this run added to it, on top of what the store holds when it is written,
// so that another run that closed meanwhile keeps its counts.
void addStatistics(SettingsStore &store, Module &module, const std::array<Setting<qint64>, 5> &rows)
{
    Module loaded;
    loaded.statistics = module.loadedStatistics;
    for (const Setting<qint64> &setting : rows) {
        const qint64 added = setting.field(module) - setting.field(loaded);
        store.updateValue(QString(setting.key), [added](const QString &storedNow) {
            qint64 counter = numberOr<qint64>(storedNow, 0);
            addToCounter(counter, added);
            return QString::number(counter);
        });
    }
}

// A window without width or height is damaged, whatever its position says: it opens at the
// default rectangle, centred, as on a first start, and the damaged values are never written back.
// The rows are left, top, width, height and state.
void readPlacement(
    const SettingsStore &store, Module &module, const std::array<Setting<qint16>, 5> &rows)
{
    readAll(store, module, rows);
    if (rows[2].field(module) > 0 && rows[3].field(module) > 0)
        return;
    for (std::size_t i = 0; i < 4; ++i)
        rows[i].field(module) = rows[i].defaultValue;
}

} // namespace

void loadSettings(const SettingsStore &store, Module &module, QSize primaryScreenTwips)
{
    const SettingsTable table = settingsTable(primaryScreenTwips);
    readAll(store, module, table.options);
    module.keySpec = readKeySpec(store);
    readPlacement(store, module, table.mainPlacement);
    readPlacement(store, module, table.viewerPlacement);
    readAll(store, module, table.statistics);
    module.loadedStatistics = module.statistics;
    readAll(store, module, table.fileNames);
    module.recentFiles = readRecentFiles(store);
}

void saveSettings(SettingsStore &store, Module &module, const WindowSnapshot &mainWindow)
{
    if (mainWindow.state == windowStateNormal) {
        module.mainPlacement.top = toTwipField(mainWindow.top);
        module.mainPlacement.left = toTwipField(mainWindow.left);
    }
    module.mainPlacement.state = mainWindow.state;
    const SettingsTable table = settingsTable({});
    writeAll(store, module, table.options);
    writeKeySpec(store, module.keySpec);
    // A minimised window has no placement worth keeping; the store keeps the earlier run's.
    if (mainWindow.state != windowStateMinimised)
        writeAll(store, module, table.mainPlacement);
    writeAll(store, module, table.viewerPlacement);
    addStatistics(store, module, table.statistics);
    writeAll(store, module, table.fileNames);
    writeRecentFiles(store, module.recentFiles);
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
