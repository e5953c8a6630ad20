#include "app/CommandLine.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <vector>

using namespace Qt::StringLiterals;

namespace twinscan {

static void PrintTo(const CommandLineRequest &r, std::ostream *os)
{
    for (const QString &field :
        {r.inputFile, r.outputFile, r.markRule, r.caseSensitiveSwitch, r.trimLinesSwitch,
            r.includeEmptyLinesSwitch, r.trimSaveLinesSwitch, r.saveEmptyLinesSwitch}) {
        *os << '[' << field.toStdString() << ']';
    }
}

static bool operator==(const CommandLineRequest &a, const CommandLineRequest &b)
{
    return a.inputFile == b.inputFile && a.outputFile == b.outputFile && a.markRule == b.markRule
        && a.caseSensitiveSwitch == b.caseSensitiveSwitch && a.trimLinesSwitch == b.trimLinesSwitch
        && a.includeEmptyLinesSwitch == b.includeEmptyLinesSwitch
        && a.trimSaveLinesSwitch == b.trimSaveLinesSwitch
        && a.saveEmptyLinesSwitch == b.saveEmptyLinesSwitch;
}

namespace {

using R = CommandLineRequest;

// A request with the given fields set and the others empty.
CommandLineRequest with(std::initializer_list<std::pair<QString R::*, QString>> values)
{
    CommandLineRequest request;
    for (const auto &[field, value] : values)
        request.*field = value;
    return request;
}

struct ParseCase
{
    const char *name;
    QStringList arguments;
    CommandLineRequest expected;
};

TEST(CommandLineTest, ParsesSwitchValues)
{
    const std::vector<ParseCase> cases = {
        {"no arguments", {}, {}},
        {"a path alone", {u"/home/me/list.txt"_s}, {}},
        {"option switches without a job switch", {u"/c"_s, u"on"_s, u"/m"_s, u"off"_s}, {}},
        {"/i and /o without /s", {u"/i"_s, u"a"_s, u"/o"_s, u"b"_s},
            with({{&R::inputFile, u"a"_s}, {&R::outputFile, u"b"_s}})},
        {"rule out of range is kept as given", {u"/s"_s, u"4"_s}, with({{&R::markRule, u"4"_s}})},
        {"path with spaces over several arguments",
            {u"/i"_s, u"my"_s, u"input"_s, u"file.txt"_s, u"/o"_s, u"out.txt"_s},
            with({{&R::inputFile, u"my input file.txt"_s}, {&R::outputFile, u"out.txt"_s}})},
        {"quotes as separate characters", {u"/i"_s, u"\"in"_s, u"put.txt\""_s},
            with({{&R::inputFile, u"in put.txt"_s}})},
        {"quotes removed anywhere", {u"/i"_s, u"a\"b\".txt"_s},
            with({{&R::inputFile, u"ab.txt"_s}})},
        {"spaces quoted at the ends survive", {u"/i"_s, u"\" in put.txt \""_s},
            with({{&R::inputFile, u" in put.txt "_s}})},
        {"only spaces are trimmed", {u"/i"_s, u"  \ta.txt\t  "_s},
            with({{&R::inputFile, u"\ta.txt\t"_s}})},
        {"on and off in any case, anything else dropped",
            {u"/s"_s, u"1"_s, u"/c"_s, u"ON"_s, u"/r"_s, u"Off"_s, u"/e"_s, u"maybe"_s, u"/t"_s,
                u"\"on\""_s, u"/m"_s, u"on"_s, u"off"_s},
            with({{&R::markRule, u"1"_s}, {&R::caseSensitiveSwitch, u"ON"_s},
                {&R::trimLinesSwitch, u"Off"_s}, {&R::trimSaveLinesSwitch, u"on"_s}})},
        {"repeated switch: the last wins", {u"/i"_s, u"a"_s, u"/s"_s, u"1"_s, u"/i"_s, u"b"_s},
            with({{&R::inputFile, u"b"_s}, {&R::markRule, u"1"_s}})},
        {"repeated switch without a value starts over", {u"/s"_s, u"1"_s, u"/s"_s}, {}},
        {"absolute paths are not cut",
            {u"/i"_s, u"/tmp/in.txt"_s, u"/o"_s, u"/srv/data/x.txt"_s, u"/s"_s, u"2"_s},
            with({{&R::inputFile, u"/tmp/in.txt"_s}, {&R::outputFile, u"/srv/data/x.txt"_s},
                {&R::markRule, u"2"_s}})},
        {"switch letters inside a path are text",
            {u"/i"_s, u"/srv/c/r/e/t/m/i.txt"_s, u"/o"_s, u"/s/o.txt"_s},
            with({{&R::inputFile, u"/srv/c/r/e/t/m/i.txt"_s}, {&R::outputFile, u"/s/o.txt"_s}})},
        {"arguments before the first switch are ignored", {u"list.txt"_s, u"on"_s, u"/o"_s, u"b"_s},
            with({{&R::outputFile, u"b"_s}})},
        {"a capital switch is text", {u"/i"_s, u"a"_s, u"/O"_s, u"b"_s},
            with({{&R::inputFile, u"a /O b"_s}})},
        {"--help after a switch is a value", {u"/i"_s, u"--help"_s},
            with({{&R::inputFile, u"--help"_s}})},
    };
    for (const ParseCase &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(parseArguments(c.arguments), c.expected);
    }
}

TEST(CommandLineTest, MarkRuleAcceptsOnlyOneTwoThree)
{
    EXPECT_EQ(batchMarkRule(u"1"_s), MarkRule::All);
    EXPECT_EQ(batchMarkRule(u"2"_s), MarkRule::AllButFirst);
    EXPECT_EQ(batchMarkRule(u"3"_s), MarkRule::AllButLast);
    for (const QString &bad : {u""_s, u"0"_s, u"4"_s, u"01"_s, u"1.0"_s, u" 1"_s, u"one"_s}) {
        SCOPED_TRACE(bad.toStdString());
        EXPECT_FALSE(batchMarkRule(bad).has_value());
    }
}

// A folder with an input file whose name has a space, a hidden file and a sub-folder.
class CommandLineFilesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        for (const QString &name : {u"in put.txt"_s, u".hidden.txt"_s}) {
            QFile file(dir.filePath(name));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write("a\na\n");
        }
        ASSERT_TRUE(QDir(dir.path()).mkdir(u"folder"_s));
    }

    // Replaces "{dir}" in every argument by the temporary folder, splitting at spaces as a shell
    // would without quotes.
    QStringList arguments(const QString &line) const
    {
        QString text = line;
        return text.replace(u"{dir}"_s, dir.path()).split(u' ', Qt::SkipEmptyParts);
    }

    QTemporaryDir dir;
};

struct JobCase
{
    const char *line;
    CommandLineKind kind;
};

TEST_F(CommandLineFilesTest, ClassifiesTheCommandLine)
{
    const std::vector<JobCase> cases = {
        {"", CommandLineKind::NoJob},
        {"/i {dir}/in put.txt /o {dir}/out.txt /s 2 /c on", CommandLineKind::Job},
        {"/o {dir}/out.txt /s 3 /i \"{dir}/in put.txt\"", CommandLineKind::Job},
        {"/i {dir}/.hidden.txt /o out.txt /s 1", CommandLineKind::Job},
        {"/i {dir}/in put.txt /o out.txt /s \"1\"", CommandLineKind::Job},
        {"/i {dir}/in put.txt /o out.txt /s 1 /c maybe", CommandLineKind::Job},
        {"/i {dir}/folder /o out.txt /s 1", CommandLineKind::NoJob},
        {"/i {dir}/missing.txt /o out.txt /s 1", CommandLineKind::NoJob},
        {"/i {dir}/in put.txt /o out.txt", CommandLineKind::NoJob},
        {"/i {dir}/in put.txt /o out.txt /s 4", CommandLineKind::NoJob},
        {"/i {dir}/in put.txt /o out.txt /s 1 2", CommandLineKind::NoJob},
        {"/i {dir}/in put.txt /s 1", CommandLineKind::NoJob},
        {"/i {dir}/in put.txt /o /s 1", CommandLineKind::NoJob},
        {"{dir}/in put.txt", CommandLineKind::NoJob},
        {"--help", CommandLineKind::Help},
        {"--version /i {dir}/in put.txt /o out.txt /s 1", CommandLineKind::Version},
        {"/c on --help", CommandLineKind::NoJob},
        {"/i {dir}/in put.txt /o out.txt /s 1 --version", CommandLineKind::NoJob},
    };
    for (const JobCase &c : cases) {
        SCOPED_TRACE(c.line);
        const QStringList args = arguments(QString::fromUtf8(c.line));
        EXPECT_EQ(classifyCommandLine(args), c.kind);
        if (c.kind == CommandLineKind::Job || c.kind == CommandLineKind::NoJob) {
            EXPECT_EQ(isCompleteJob(parseArguments(args)), c.kind == CommandLineKind::Job);
        }
    }
}

TEST_F(CommandLineFilesTest, ParseCommandLineResetsTheRequestAndDecidesBatchMode)
{
    Module module;
    module.request.trimLinesSwitch = u"on"_s;
    parseCommandLine(module, arguments(u"/i {dir}/in put.txt /o out.txt /s 3"_s));
    EXPECT_TRUE(module.batchMode);
    EXPECT_EQ(module.request.inputFile, dir.filePath(u"in put.txt"_s));
    EXPECT_TRUE(module.request.trimLinesSwitch.isEmpty());

    parseCommandLine(module, arguments(u"/i {dir}/folder /o out.txt /s 3"_s));
    EXPECT_FALSE(module.batchMode);
    EXPECT_EQ(module.request.inputFile, dir.filePath(u"folder"_s));

    parseCommandLine(module, {});
    EXPECT_FALSE(module.batchMode);
    EXPECT_EQ(module.request, CommandLineRequest());
}

struct DisplayCase
{
    const char *name;
    DisplayEnvironment environment;
    const char *line;
    DisplayDecision expected;
};

TEST_F(CommandLineFilesTest, DecidesHowToRunWithoutADisplay)
{
    const char *job = "/i {dir}/in put.txt /o {dir}/out.txt /s 1";
    const DisplayDecision window {};
    const DisplayDecision offscreen {.runOffscreen = true, .refuseWithUsage = false};
    const DisplayDecision refuse {.runOffscreen = false, .refuseWithUsage = true};
    const std::vector<DisplayCase> cases = {
        {"X display, job", {u":0"_s, {}, {}}, job, window},
        {"X display, no job", {u":0"_s, {}, {}}, "", window},
        {"Wayland, job", {{}, u"wayland-0"_s, {}}, job, window},
        {"Wayland, no job", {{}, u"wayland-0"_s, {}}, "", window},
        {"platform given, job", {{}, {}, u"offscreen"_s}, job, window},
        {"platform given, no job", {{}, {}, u"vnc"_s}, "/i x", window},
        {"no display, job", {}, job, offscreen},
        {"no display, no arguments", {}, "", refuse},
        {"no display, missing input", {}, "/i {dir}/missing.txt /o out.txt /s 1", refuse},
        {"no display, help", {}, "--help", window},
        {"no display, version", {}, "--version", window},
    };
    for (const DisplayCase &c : cases) {
        SCOPED_TRACE(c.name);
        const DisplayDecision decision
            = decideDisplay(arguments(QString::fromUtf8(c.line)), c.environment);
        EXPECT_EQ(decision.runOffscreen, c.expected.runOffscreen);
        EXPECT_EQ(decision.refuseWithUsage, c.expected.refuseWithUsage);
    }
}

struct OverrideCase
{
    const char *name;
    CommandLineRequest request;
    ScanOptions scan;
    SaveOptions save;
};

TEST(CommandLineTest, OptionSwitchesOverrideTheLoadedOptions)
{
    const ScanOptions loadedScan {.caseSensitive = 1, .trimLines = 0, .includeEmptyLines = 1};
    const SaveOptions loadedSave {.trimSaveLines = 0, .saveEmptyLines = 1};
    const std::vector<OverrideCase> cases = {
        {"empty switches keep the loaded options", {}, loadedScan, loadedSave},
        {"every switch flips its option",
            with({{&R::caseSensitiveSwitch, u"off"_s}, {&R::trimLinesSwitch, u"on"_s},
                {&R::includeEmptyLinesSwitch, u"OFF"_s}, {&R::trimSaveLinesSwitch, u"On"_s},
                {&R::saveEmptyLinesSwitch, u"oFF"_s}}),
            {0, 1, 0}, {1, 0}},
        {"switches equal to the loaded value", with({{&R::caseSensitiveSwitch, u"on"_s}}),
            loadedScan, loadedSave},
        {"one switch touches one option", with({{&R::saveEmptyLinesSwitch, u"off"_s}}), loadedScan,
            {0, 0}},
    };
    for (const OverrideCase &c : cases) {
        SCOPED_TRACE(c.name);
        Module module;
        module.scanOptions = loadedScan;
        module.saveOptions = loadedSave;
        module.request = c.request;
        applyOptionOverrides(module);
        EXPECT_EQ(module.scanOptions.caseSensitive, c.scan.caseSensitive);
        EXPECT_EQ(module.scanOptions.trimLines, c.scan.trimLines);
        EXPECT_EQ(module.scanOptions.includeEmptyLines, c.scan.includeEmptyLines);
        EXPECT_EQ(module.saveOptions.trimSaveLines, c.save.trimSaveLines);
        EXPECT_EQ(module.saveOptions.saveEmptyLines, c.save.saveEmptyLines);
    }
}

TEST(CommandLineTest, TextsNameEverySwitchAndTheVersion)
{
    const QString help = helpText();
    for (const char *token : {"/i", "/o", "/s", "/c", "/r", "/e", "/t", "/m", "--version"})
        EXPECT_TRUE(help.contains(QLatin1StringView(token))) << token;
    EXPECT_TRUE(help.contains(u"twinscan /i \"in put.txt\" /o out.txt /s 2 /c on"_s));
    EXPECT_EQ(versionText(), u"Twinscan 2.5\n"_s);
    EXPECT_TRUE(usageText().contains(u"--help"_s));
}

} // namespace
} // namespace twinscan
