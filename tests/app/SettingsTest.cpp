#include "app/Settings.h"

#include "app/Module.h"
#include "app/SettingsStore.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace twinscan {
namespace {

// Every numeric key with the field that holds it, in the order the keys are read.
using FieldOf = std::function<qint64(const Module &)>;
const std::vector<std::pair<QString, FieldOf>> &numericFields()
{
    static const std::vector<std::pair<QString, FieldOf>> fields = {
        {"caseSensitive", [](const Module &m) { return m.scanOptions.caseSensitive; }},
        {"trimLines", [](const Module &m) { return m.scanOptions.trimLines; }},
        {"includeEmptyLines", [](const Module &m) { return m.scanOptions.includeEmptyLines; }},
        {"trimSaveLines", [](const Module &m) { return m.saveOptions.trimSaveLines; }},
        {"saveEmptyLines", [](const Module &m) { return m.saveOptions.saveEmptyLines; }},
        {"winLeft", [](const Module &m) { return m.mainPlacement.left; }},
        {"winTop", [](const Module &m) { return m.mainPlacement.top; }},
        {"winWidth", [](const Module &m) { return m.mainPlacement.width; }},
        {"winHeight", [](const Module &m) { return m.mainPlacement.height; }},
        {"winState", [](const Module &m) { return m.mainPlacement.state; }},
        {"viewWinLeft", [](const Module &m) { return m.viewerPlacement.left; }},
        {"viewWinTop", [](const Module &m) { return m.viewerPlacement.top; }},
        {"viewWinWidth", [](const Module &m) { return m.viewerPlacement.width; }},
        {"viewWinHeight", [](const Module &m) { return m.viewerPlacement.height; }},
        {"viewWinState", [](const Module &m) { return m.viewerPlacement.state; }},
        {"statFilesOpened", [](const Module &m) { return m.statistics.statFilesOpened; }},
        {"statLinesScanned", [](const Module &m) { return m.statistics.statLinesScanned; }},
        {"statDupsFound", [](const Module &m) { return m.statistics.statDupsFound; }},
        {"statUniqueDupsFound", [](const Module &m) { return m.statistics.statUniqueDupsFound; }},
        {"statDupsDeleted", [](const Module &m) { return m.statistics.statDupsDeleted; }},
    };
    return fields;
}

qint64 field(const Module &module, const QString &key)
{
    for (const auto &[name, read] : numericFields()) {
        if (name == key)
            return read(module);
    }
    ADD_FAILURE() << "no field for " << key.toStdString();
    return 0;
}

const QSize screen1920x1080(1920 * 15, 1080 * 15);

const QStringList optionAndFileKeys = {"caseSensitive", "trimLines", "includeEmptyLines",
    "trimSaveLines", "saveEmptyLines", "lastLoadedFile", "lastSavedFile"};
const QStringList counterKeys = {"statFilesOpened", "statLinesScanned", "statDupsFound",
    "statUniqueDupsFound", "statDupsDeleted"};
const QStringList mainKeys = {"winLeft", "winTop", "winWidth", "winHeight", "winState"};
const QStringList viewerKeys
    = {"viewWinLeft", "viewWinTop", "viewWinWidth", "viewWinHeight", "viewWinState"};

// A module in which every field differs from its default and from every other field of its
// record, so that a value read into the wrong field shows.
void fillDistinct(Module &module)
{
    module.scanOptions = {3, 5, 7};
    module.saveOptions = {11, 0};
    module.lastLoadedFile = QStringLiteral("/home/ann/Lists, old/@weird; \"name\" \\ café.txt");
    module.lastSavedFile = QStringLiteral("  leading and trailing spaces.txt  ");
    static_cast<WindowPlacement &>(module.mainPlacement) = {-150, 32767, 9000, 7005, 2};
    static_cast<WindowPlacement &>(module.viewerPlacement) = {-32768, 450, 7200, 5700, 1};
    module.statistics = {3, 2147483647, 120, 40, 17};
}

struct FreshStartCase
{
    QSize screenPixels;
    WindowPlacement main;
    WindowPlacement viewer;
};

class FreshStart : public testing::TestWithParam<FreshStartCase>
{
};

TEST_P(FreshStart, EmptyStoreGivesDefaultsCentredOnThePrimaryScreen)
{
    MemorySettingsStore store;
    Module module;
    loadSettings(store, module, GetParam().screenPixels * 15);

    EXPECT_EQ(module.scanOptions.caseSensitive, 0);
    EXPECT_EQ(module.scanOptions.trimLines, 0);
    EXPECT_EQ(module.scanOptions.includeEmptyLines, 0);
    EXPECT_EQ(module.saveOptions.trimSaveLines, 0);
    EXPECT_EQ(module.saveOptions.saveEmptyLines, 1);
    EXPECT_TRUE(module.lastLoadedFile.isEmpty());
    EXPECT_TRUE(module.lastSavedFile.isEmpty());
    const auto expectPlacement = [](const WindowPlacement &actual, const WindowPlacement &want) {
        EXPECT_EQ(actual.left, want.left);
        EXPECT_EQ(actual.top, want.top);
        EXPECT_EQ(actual.width, want.width);
        EXPECT_EQ(actual.height, want.height);
        EXPECT_EQ(actual.state, want.state);
    };
    expectPlacement(module.mainPlacement, GetParam().main);
    expectPlacement(module.viewerPlacement, GetParam().viewer);
    for (const QString &key : counterKeys)
        EXPECT_EQ(field(module, key), 0) << key.toStdString();
    EXPECT_TRUE(store.writtenKeys.isEmpty()) << "loading must not write the store";
}

// Halves go to the even neighbour: 11017.5 -> 11018, 10852.5 -> 10852, 6862.5 -> 6862.
INSTANTIATE_TEST_SUITE_P(Screens, FreshStart,
    testing::Values(
        FreshStartCase {{1920, 1080}, {11018, 4605, 6765, 6690, 0}, {10852, 5272, 7095, 5655, 0}},
        FreshStartCase {{1366, 768}, {6862, 2265, 6765, 6690, 0}, {6698, 2932, 7095, 5655, 0}},
        // Beyond 16 bits: the default stays at the field's edge instead of wrapping round.
        FreshStartCase {
            {5120, 2880}, {32767, 18105, 6765, 6690, 0}, {32767, 18772, 7095, 5655, 0}}));

struct DamagedValue
{
    QString key;
    QString stored;
    qint64 expected;
};

class DamagedValues : public testing::TestWithParam<DamagedValue>
{
};

TEST_P(DamagedValues, FallBackToTheDefaultOrAreKeptWhenTheyFit)
{
    MemorySettingsStore store;
    store.values.insert(GetParam().key, GetParam().stored);
    Module module;
    loadSettings(store, module, screen1920x1080);
    EXPECT_EQ(field(module, GetParam().key), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Table, DamagedValues,
    testing::Values(DamagedValue {"caseSensitive", "abc", 0},
        DamagedValue {"saveEmptyLines", "", 1}, DamagedValue {"saveEmptyLines", "70000", 1},
        DamagedValue {"trimLines", "1.5", 0}, DamagedValue {"includeEmptyLines", "0x1", 0},
        DamagedValue {"winWidth", "70000", 6765}, DamagedValue {"winLeft", "-32769", 11018},
        DamagedValue {"winLeft", "-32768", -32768}, DamagedValue {"winTop", "32768", 4605},
        DamagedValue {"winState", "32767", 32767}, DamagedValue {"viewWinHeight", "12abc", 5655},
        DamagedValue {"viewWinLeft", "", 10852}, DamagedValue {"statLinesScanned", "3000000000", 0},
        DamagedValue {"statFilesOpened", "-2147483649", 0},
        DamagedValue {"statDupsFound", "2147483647", 2147483647},
        DamagedValue {"statDupsDeleted", "-5", -5}, DamagedValue {"trimSaveLines", "2", 2}));

// A store written in one run of the program and read in the next.
class StoreKind
{
public:
    virtual ~StoreKind() = default;
    virtual SettingsStore &open() = 0;
    virtual void close() { }
};

class MemoryKind final : public StoreKind
{
public:
    SettingsStore &open() override { return store_; }

private:
    MemorySettingsStore store_;
};

class IniKind final : public StoreKind
{
public:
    SettingsStore &open() override
    {
        store_ = std::make_unique<QSettingsStore>(dir_.filePath(QStringLiteral("Twinscan.ini")));
        return *store_;
    }
    void close() override { store_.reset(); }

private:
    QTemporaryDir dir_;
    std::unique_ptr<QSettingsStore> store_;
};

struct StoreCase
{
    const char *name;
    std::function<std::unique_ptr<StoreKind>()> make;
};

class RoundTrip : public testing::TestWithParam<StoreCase>
{
};

TEST_P(RoundTrip, EveryKeyComesBackAsItWasSaved)
{
    const auto kind = GetParam().make();
    Module saved;
    fillDistinct(saved);
    // Closed maximised, so that the stored state is the record's own, not 0.
    saveSettings(kind->open(), saved, {windowStateMaximised, 0, 0});
    kind->close();
    Module loaded;
    loadSettings(kind->open(), loaded, screen1920x1080);
    kind->close();

    for (const auto &[key, read] : numericFields())
        EXPECT_EQ(read(loaded), read(saved)) << key.toStdString();
    EXPECT_EQ(loaded.lastLoadedFile, saved.lastLoadedFile);
    EXPECT_EQ(loaded.lastSavedFile, saved.lastSavedFile);
}

INSTANTIATE_TEST_SUITE_P(Stores, RoundTrip,
    testing::Values(StoreCase {"Memory", [] { return std::unique_ptr<StoreKind>(new MemoryKind); }},
        StoreCase {"IniFile", [] { return std::unique_ptr<StoreKind>(new IniKind); }}),
    [](const testing::TestParamInfo<StoreCase> &info) { return info.param.name; });

TEST(QSettingsStore, WritesPlainDecimalTextInTheTwinscanGroupOfAPerUserIniFile)
{
    QTemporaryDir config;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config.path());
    Module module;
    fillDistinct(module);
    {
        QSettingsStore store;
        EXPECT_EQ(store.fileName(), config.filePath(QStringLiteral("Corvane/Twinscan.ini")));
        saveSettings(store, module, {windowStateNormal, -150, 32767});
    }
    QFile file(config.filePath(QStringLiteral("Corvane/Twinscan.ini")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    EXPECT_EQ(lines.value(0), "[Twinscan]");
    for (const QByteArray line : {"caseSensitive=3", "saveEmptyLines=0", "winLeft=-150",
             "winTop=32767", "viewWinLeft=-32768", "statLinesScanned=2147483647"})
        EXPECT_TRUE(lines.contains(line)) << line.constData();
}

TEST(QSettingsStore, MissingKeyGivesTheDefaultText)
{
    QTemporaryDir dir;
    QSettingsStore store(dir.filePath(QStringLiteral("Twinscan.ini")));
    EXPECT_EQ(store.value(QStringLiteral("winLeft"), QStringLiteral("11018")), "11018");
    store.setValue(QStringLiteral("winLeft"), QString());
    EXPECT_EQ(store.value(QStringLiteral("winLeft"), QStringLiteral("11018")), "");
}

struct CloseCase
{
    const char *name;
    WindowSnapshot window;
    QStringList writtenKeys;
    WindowPlacement storedMain;
};

class CloseInState : public testing::TestWithParam<CloseCase>
{
};

// The previous run stored a maximised window; in this run the window was resized to 9000 x 7005
// at (600, 900) before the close.
TEST_P(CloseInState, WritesTheMainPlacementOnlyWhenNotMinimised)
{
    MemorySettingsStore store;
    store.values = {{"winLeft", "1"}, {"winTop", "2"}, {"winWidth", "3000"}, {"winHeight", "4000"},
        {"winState", "2"}};
    Module module;
    loadSettings(store, module, screen1920x1080);
    static_cast<WindowPlacement &>(module.mainPlacement) = {600, 900, 9000, 7005, 2};

    saveSettings(store, module, GetParam().window);

    EXPECT_EQ(store.writtenKeys, GetParam().writtenKeys);
    const WindowPlacement &want = GetParam().storedMain;
    EXPECT_EQ(store.values.value("winLeft"), QString::number(want.left));
    EXPECT_EQ(store.values.value("winTop"), QString::number(want.top));
    EXPECT_EQ(store.values.value("winWidth"), QString::number(want.width));
    EXPECT_EQ(store.values.value("winHeight"), QString::number(want.height));
    EXPECT_EQ(store.values.value("winState"), QString::number(want.state));
}

INSTANTIATE_TEST_SUITE_P(States, CloseInState,
    testing::Values(
        CloseCase {"Normal", {windowStateNormal, 1515, 3030},
            optionAndFileKeys + counterKeys + mainKeys + viewerKeys, {1515, 3030, 9000, 7005, 0}},
        // The frame of a maximised window says nothing of where it goes when restored.
        CloseCase {"Maximised", {windowStateMaximised, -120, -120},
            optionAndFileKeys + counterKeys + mainKeys + viewerKeys, {600, 900, 9000, 7005, 2}},
        CloseCase {"Minimised", {windowStateMinimised, -480000, -480000},
            optionAndFileKeys + counterKeys + viewerKeys, {1, 2, 3000, 4000, 2}},
        // Far right on a wide desktop: kept at the edge of the 16-bit field, not wrapped round.
        CloseCase {"BeyondSixteenBits", {windowStateNormal, 40000, -40000},
            optionAndFileKeys + counterKeys + mainKeys + viewerKeys,
            {32767, -32768, 9000, 7005, 0}}),
    [](const testing::TestParamInfo<CloseCase> &info) { return info.param.name; });

TEST(SaveSettings, NormalCloseKeepsTheLivePositionInMemoryToo)
{
    MemorySettingsStore store;
    Module module;
    loadSettings(store, module, screen1920x1080);
    saveSettings(store, module, {windowStateNormal, 1515, 3030});
    EXPECT_EQ(module.mainPlacement.left, 1515);
    EXPECT_EQ(module.mainPlacement.top, 3030);
}

struct CounterCase
{
    qint32 start;
    qint64 added;
    qint32 expected;
};

class Counters : public testing::TestWithParam<CounterCase>
{
};

TEST_P(Counters, GrowUntilTheirMaximumAndStayThere)
{
    MemorySettingsStore store;
    store.values.insert("statLinesScanned", QString::number(GetParam().start));
    Module module;
    loadSettings(store, module, screen1920x1080);
    addToCounter(module.statistics.statLinesScanned, GetParam().added);
    saveSettings(store, module, {windowStateNormal, 0, 0});
    EXPECT_EQ(store.values.value("statLinesScanned"), QString::number(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Table, Counters,
    testing::Values(CounterCase {0, 5, 5}, CounterCase {2147483646, 1, 2147483647},
        CounterCase {2147483646, 2, 2147483647}, CounterCase {2147483647, 1, 2147483647},
        CounterCase {100, 3000000000LL, 2147483647}));

} // namespace
} // namespace twinscan
