#include "app/Settings.h"

#include "app/Module.h"
#include "app/SettingsStore.h"
#include "support/FakeServices.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace twinscan {
namespace {

using namespace Qt::StringLiterals;

using test::MemorySettingsStore;

// Every numeric field as " key=value", in the order the keys are read, with a space at the end.
std::string numbersOf(const Module &m)
{
    const ScanOptions &o = m.scanOptions;
    const WindowPlacement &w = m.mainPlacement;
    const WindowPlacement &v = m.viewerPlacement;
    const UsageStatistics &s = m.statistics;
    const std::pair<const char *, qint64> fields[] = {{"caseSensitive", o.caseSensitive},
        {"trimLines", o.trimLines}, {"includeEmptyLines", o.includeEmptyLines},
        {"trimSaveLines", m.saveOptions.trimSaveLines},
        {"saveEmptyLines", m.saveOptions.saveEmptyLines},
        {"showLargeFileLists", m.showLargeFileLists}, {"winLeft", w.left}, {"winTop", w.top},
        {"winWidth", w.width}, {"winHeight", w.height}, {"winState", w.state},
        {"viewWinLeft", v.left}, {"viewWinTop", v.top}, {"viewWinWidth", v.width},
        {"viewWinHeight", v.height}, {"viewWinState", v.state},
        {"statFilesOpened", s.statFilesOpened}, {"statLinesScanned", s.statLinesScanned},
        {"statDupsFound", s.statDupsFound}, {"statUniqueDupsFound", s.statUniqueDupsFound},
        {"statDupsDeleted", s.statDupsDeleted}};
    std::string text;
    for (const auto &[key, value] : fields)
        text += " " + std::string(key) + "=" + std::to_string(value);
    return text + " ";
}

const QSize screen1920x1080(1920 * 15, 1080 * 15);

// An empty store gives the defaults, the positions centred with halves to the even neighbour
// (11017.5 -> 11018, 10852.5 -> 10852). A stored value that is not a whole number or does not
// fit its field is as good as missing.
TEST(LoadSettings, DefaultsAndDamagedValues)
{
    MemorySettingsStore empty;
    Module fresh;
    loadSettings(empty, fresh, screen1920x1080);
    EXPECT_EQ(numbersOf(fresh),
        " caseSensitive=0 trimLines=0 includeEmptyLines=0 trimSaveLines=0 saveEmptyLines=1"
        " showLargeFileLists=0"
        " winLeft=11018 winTop=4605 winWidth=6765 winHeight=6690 winState=0"
        " viewWinLeft=10852 viewWinTop=5272 viewWinWidth=7095 viewWinHeight=5655 viewWinState=0"
        " statFilesOpened=0 statLinesScanned=0 statDupsFound=0 statUniqueDupsFound=0"
        " statDupsDeleted=0 ");
    EXPECT_TRUE(fresh.lastLoadedFile.isEmpty() && fresh.lastSavedFile.isEmpty());
    EXPECT_TRUE(empty.values.isEmpty());

    const std::tuple<QString, QString, qint64> cases[] = {{"saveEmptyLines", "12abc", 1},
        {"caseSensitive", "32768", 0}, {"trimLines", "-32769", 0}, {"trimSaveLines", "2", 2},
        {"statLinesScanned", "4294967296", 4294967296},
        {"statDupsFound", "9223372036854775808", 0}};
    for (const auto &[key, stored, expected] : cases) {
        MemorySettingsStore store;
        store.values.insert(key, stored);
        Module module;
        loadSettings(store, module, screen1920x1080);
        const std::string field = " " + key.toStdString() + "=" + std::to_string(expected) + " ";
        EXPECT_NE(numbersOf(module).find(field), std::string::npos)
            << field << " from \"" << stored.toStdString() << "\" in" << numbersOf(module);
    }
}

// A window without width or height opens at the default rectangle, centred, wherever it was, and
// the damaged values are not written back; any width and height above zero are kept.
TEST(LoadSettings, AWindowWithoutWidthOrHeightIsDamaged)
{
    const std::tuple<QString, QString, std::string> cases[] = {
        {"winWidth", "0", " winLeft=11018 winTop=4605 winWidth=6765 winHeight=6690 "},
        {"winHeight", "-15", " winLeft=11018 winTop=4605 winWidth=6765 winHeight=6690 "},
        {"winWidth", "1", " winLeft=-300 winTop=150 winWidth=1 winHeight=6690 "},
        {"viewWinWidth", "-32768",
            " viewWinLeft=10852 viewWinTop=5272 viewWinWidth=7095 viewWinHeight=5655 "},
        {"viewWinHeight", "0",
            " viewWinLeft=10852 viewWinTop=5272 viewWinWidth=7095 viewWinHeight=5655 "},
    };
    for (const auto &[key, stored, expected] : cases) {
        SCOPED_TRACE(key.toStdString() + "=" + stored.toStdString());
        MemorySettingsStore store;
        const QString prefix = key.startsWith(u"view") ? u"viewWin"_s : u"win"_s;
        store.values.insert(prefix + u"Left"_s, u"-300"_s);
        store.values.insert(prefix + u"Top"_s, u"150"_s);
        store.values.insert(key, stored);
        Module module;
        loadSettings(store, module, screen1920x1080);
        EXPECT_NE(numbersOf(module).find(expected), std::string::npos) << numbersOf(module);
        saveSettings(store, module, {windowStateMaximised, 0, 0});
        EXPECT_EQ(store.values.value(key) == stored, stored == u"1"_s);
    }
}

// A module in which every field differs from its default and from its neighbours, so that a
// value read into the wrong field shows.
void fillDistinct(Module &module)
{
    module.scanOptions = {3, 5, 7};
    module.saveOptions = {11, 0};
    module.showLargeFileLists = 13;
    // What the INI text must escape or quote: a leading "@", quotes, backslashes, a control
    // character before hexadecimal digits, separators, spaces at both ends or at one.
    module.lastLoadedFile = QStringLiteral("@/home/ann/\"name\" \\ \x01"
                                           "1f café \U0001F600.txt ");
    module.lastSavedFile = QStringLiteral("  Lists, old; a=b.txt  ");
    module.recentFiles = {module.lastLoadedFile, module.lastSavedFile, u"/tmp/a,b.txt"_s};
    static_cast<WindowPlacement &>(module.mainPlacement) = {-150, 32767, 9000, 7005, 2};
    static_cast<WindowPlacement &>(module.viewerPlacement) = {-32768, 450, 7200, 5700, 1};
    module.statistics = {13, 8589934592, 120, 40, 17}; // past 32 bits
    module.keySpec = {KeySpec::Kind::Fields, {3, 1}, "; ", true, u"(a|b)"_s, 2, 9};
}

TEST(QSettingsStore, RoundTripThroughThePerUserIniFile)
{
    QTemporaryDir config;
    // Qt reads XDG_CONFIG_HOME once per process; setPath points there even after another test.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config.path());
    Module saved;
    fillDistinct(saved);
    {
        QSettingsStore store;
        EXPECT_EQ(store.fileName(), config.filePath(QStringLiteral("Corvane/Twinscan.ini")));
        saveSettings(store, saved, {windowStateMaximised, 0, 0});
        EXPECT_EQ(store.save(), QString());
    }

    Module loaded;
    loadSettings(QSettingsStore(), loaded, screen1920x1080);
    EXPECT_EQ(numbersOf(loaded), numbersOf(saved));
    EXPECT_EQ(loaded.lastLoadedFile, saved.lastLoadedFile);
    EXPECT_EQ(loaded.lastSavedFile, saved.lastSavedFile);
    EXPECT_EQ(loaded.recentFiles, saved.recentFiles);
    EXPECT_TRUE(loaded.keySpec == saved.keySpec);
}

// What is compared has keys of its own; without them it is the whole line, and a stored key that
// cannot be used gives the whole line too rather than a scan that fails.
TEST(LoadSettings, KeyFromItsOwnKeys)
{
    using Kind = KeySpec::Kind;
    const struct
    {
        std::vector<std::pair<QString, QString>> stored;
        KeySpec expected;
    } cases[] = {
        {{}, {}},
        {{{u"compareKind"_s, u"1"_s}, {u"compareFields"_s, u"2-3"_s},
             {u"compareSeparator"_s, u"\t"_s}},
            {Kind::Fields, {2, 3}, "\t", false, {}, 0, 0}},
        {{{u"compareKind"_s, u"2"_s}, {u"comparePattern"_s, u"id=(\\d+)"_s}},
            {Kind::Regex, {}, "", false, u"id=(\\d+)"_s, 0, 0}},
        {{{u"compareKind"_s, u"3"_s}, {u"compareSkipChars"_s, u"4"_s},
             {u"compareCheckChars"_s, u"x"_s}},
            {Kind::Characters, {}, "", false, {}, 4, 0}},
        {{{u"compareKind"_s, u"1"_s}, {u"compareFields"_s, u"0"_s}}, {}},
        {{{u"compareKind"_s, u"2"_s}, {u"comparePattern"_s, u"(a"_s}}, {}},
        {{{u"compareKind"_s, u"7"_s}}, {}},
    };
    for (const auto &c : cases) {
        MemorySettingsStore store;
        for (const auto &[key, value] : c.stored)
            store.values.insert(key, value);
        Module module;
        loadSettings(store, module, screen1920x1080);
        EXPECT_TRUE(module.keySpec == c.expected) << store.values.size();
    }
}

// Two windows closing one after the other: the counters add up, every other key is the last
// writer's, and a key the last writer leaves alone (the placement of a minimised window) keeps
// the other's value. QSettings re-reads a file only when its size or time changed, so each write
// here changes the size.
TEST(QSettingsStore, RunsClosingOneAfterTheOtherAddTheirCounts)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(u"Twinscan.ini"_s);
    QFile initial(file);
    ASSERT_TRUE(initial.open(QIODevice::WriteOnly));
    initial.write("[Twinscan]\nstatFilesOpened=5\nstatDupsFound=junk\nwinLeft=15\n");
    initial.close();
    QSettingsStore firstStore(file), secondStore(file);
    Module first, second;
    loadSettings(firstStore, first, screen1920x1080);
    loadSettings(secondStore, second, screen1920x1080);
    first.statistics.statFilesOpened += 1;
    first.statistics.statDupsFound += 4;
    first.lastLoadedFile = u"first.txt"_s;
    second.statistics.statFilesOpened += 2;
    second.statistics.statLinesScanned += 100;
    second.lastLoadedFile = u"second one.txt"_s;
    saveSettings(firstStore, first, {windowStateNormal, 450, 300});
    EXPECT_EQ(firstStore.save(), QString());
    saveSettings(secondStore, second, {windowStateMinimised, 0, 0});
    EXPECT_EQ(secondStore.save(), QString());

    Module loaded;
    loadSettings(QSettingsStore(file), loaded, screen1920x1080);
    const UsageStatistics &s = loaded.statistics;
    EXPECT_EQ(
        std::tuple(s.statFilesOpened, s.statLinesScanned, s.statDupsFound), std::tuple(8, 100, 4));
    EXPECT_EQ(loaded.lastLoadedFile, u"second one.txt"_s);
    EXPECT_EQ(loaded.mainPlacement.left, 450);
}

// A counter that would pass its maximum stays there rather than wrap around to negative.
TEST(UsageStatistics, CountersStopAtTheirMaximum)
{
    const std::tuple<qint64, qint64, qint64> cases[]
        = {{0, 5, 5}, {INT32_MAX, 1, qint64(INT32_MAX) + 1}, {INT64_MAX - 1, 1, INT64_MAX},
            {INT64_MAX - 1, 2, INT64_MAX}, {INT64_MAX, INT64_MAX, INT64_MAX}};
    for (const auto &[counter, added, expected] : cases) {
        qint64 value = counter;
        addToCounter(value, added);
        EXPECT_EQ(value, expected) << counter << " + " << added;
    }
}

} // namespace
} // namespace twinscan
