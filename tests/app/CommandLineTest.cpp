#include "app/CommandLine.h"

#include "app/PipedStart.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <vector>

using namespace Qt::StringLiterals;

namespace twinscan {
namespace {

// The fields that are set, as "i=[value]" words in the order of the switches.
std::string fieldsOf(const CommandLineRequest &r)
{
    const std::pair<char, const QString *> fields[] = {{'i', &r.inputFile}, {'o', &r.outputFile},
        {'s', &r.markRule}, {'c', &r.caseSensitiveSwitch}, {'r', &r.trimLinesSwitch},
        {'e', &r.includeEmptyLinesSwitch}, {'t', &r.trimSaveLinesSwitch},
        {'m', &r.saveEmptyLinesSwitch}};
    std::string text;
    for (const auto &[letter, value] : fields) {
        if (!value->isEmpty())
            text += (text.empty() ? "" : " ") + std::string(1, letter) + "=[" + value->toStdString()
                + "]";
    }
    return text;
}

TEST(CommandLineTest, ParsesWholeArgumentSwitches)
{
    // Arguments as the program gets them, separated by bars.
    const std::pair<const char *, const char *> cases[] = {
        {"/c|on|/m|off", ""}, // no job switch: nothing is read
        {"/i|my|input|file.txt|/o|out.txt", "i=[my input file.txt] o=[out.txt]"},
        // Trimming comes before quote removal, so quoted spaces at the ends survive.
        {"/i|\" in|put.txt \"", "i=[ in put.txt ]"},
        {"/i|  \ta.txt\t  ", "i=[\ta.txt\t]"},
        {"/s|1|/c|ON|/r|Off|/e|maybe|/t|\"on\"|/m|on|off", "s=[1] c=[ON] r=[Off] t=[on]"},
        {"/i|a|/s|1|/i|b", "i=[b] s=[1]"},
        {"/i|/tmp/c/r/e/in.txt|/o|/srv/s/t/m/o.txt|/s|2",
            "i=[/tmp/c/r/e/in.txt] o=[/srv/s/t/m/o.txt] s=[2]"},
        {"/i|a|/O|b", "i=[a /O b]"},
        // Only a pair around the whole value is quoting; any other quote belongs to the name.
        {"/o|out\"x.txt|/s|\"2", "o=[out\"x.txt] s=[\"2]"},
        {"/o|\"a\"|\"b\"", "o=[\"a\" \"b\"]"},
        {"/o|\"", "o=[\"]"},
    };
    for (const auto &[arguments, expected] : cases)
        EXPECT_EQ(fieldsOf(parseArguments(QString::fromUtf8(arguments).split(u'|'))), expected)
            << arguments;
}

// A quote left in any value refuses the whole command line, naming the first such switch.
TEST(CommandLineTest, RefusesValuesThatStillHoldAQuote)
{
    const std::pair<const char *, const char *> cases[] = {
        {"/i|\"in put.txt\"|/o|\"on\"", ""}, {"/i|a|/o|out\"x.txt|/s|2", "/o out\"x.txt"},
        {"/s|1|/c|o\"n|/i|\"a", "/i \"a"}, {"a\"b|/s|1", ""}, // before the first switch: no value
        {"/c|\"o\"n\"", ""}, // no job switch: nothing is read
    };
    for (const auto &[arguments, named] : cases) {
        const QString refusal = quoteRefusal(QString::fromUtf8(arguments).split(u'|'));
        EXPECT_EQ(refusal.section(u": "_s, 1, 1), QString::fromUtf8(named)) << arguments;
    }
}

// Without a display that opens, a job runs offscreen and anything else but help and version is
// refused, naming an input that is no file, or else with the usage; with a display, or with a
// platform of the user's choice named, the toolkit decides.
TEST(CommandLineTest, ClassifiesTheCommandLineAndDecidesTheDisplay)
{
    // A folder with an input file whose name has a space and a sub-folder.
    QTemporaryDir dir;
    ASSERT_TRUE(QFile(dir.filePath(u"in put.txt"_s)).open(QIODevice::WriteOnly));
    ASSERT_TRUE(QDir(dir.path()).mkdir(u"folder"_s));
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath(u"fifo"_s)).constData(), 0600), 0);
    // Split at spaces as a shell would without quotes; {dir} is the folder.
    const auto arguments = [&dir](const char *line) {
        return QString::fromUtf8(line)
            .replace(u"{dir}"_s, dir.path())
            .split(u' ', Qt::SkipEmptyParts);
    };
    using enum CommandLineKind;
    const char *missing = "twinscan: {dir}/missing.txt: the file does not exist\n";
    const struct
    {
        const char *line;
        CommandLineKind kind;
        const char *refusal = nullptr; // the usage when refused
    } cases[] = {
        {"/i {dir}/in put.txt /o {dir}/out.txt /s 2 /c on", Job},
        {"/o {dir}/out.txt /s 3 /i \"{dir}/in put.txt\"", Job},
        {"/i {dir}/folder /o out.txt /s 1", NoJob,
            "twinscan: {dir}/folder: is a folder, not a file\n"},
        {"/i {dir}/fifo /o out.txt /s 1", NoJob,
            "twinscan: {dir}/fifo: is a FIFO or a pipe, not a file\n"},
        {"/i /dev/null /o out.txt /s 1", NoJob, "twinscan: /dev/null: is a device, not a file\n"},
        {"/i {dir}/missing.txt /o out.txt /s 1", NoJob, missing},
        {"{dir}/missing.txt", NoJob, missing},
        {"/i {dir}/in put.txt /o out.txt", NoJob},
        {"/i {dir}/in put.txt /o out.txt /s 1 2", NoJob},
        {"/i {dir}/in put.txt /o /s 1", NoJob},
        {"{dir}/in put.txt", NoJob},
        {"--help", Help},
        {"--version /i {dir}/in put.txt /o out.txt /s 1", Version},
        {"/i {dir}/in put.txt /o out.txt /s 1 --version", NoJob},
    };
    const DisplayEnvironment displays[]
        = {{u":0"_s, {}, {}}, {{}, u"wayland-0"_s, {}}, {{}, {}, u"offscreen"_s}};
    const DisplayEnvironment closed[] = {{u":0"_s, u"wayland-0"_s, {}, false}, {{}, {}, u"xcb"_s}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(classifyCommandLine(arguments(c.line)), c.kind);
        const DisplayDecision none = decideDisplay(arguments(c.line), {});
        EXPECT_EQ(none.runOffscreen, c.kind == Job);
        EXPECT_EQ(none.refuseWithUsage, c.kind == NoJob);
        for (const DisplayEnvironment &display : closed)
            EXPECT_EQ(decideDisplay(arguments(c.line), display), none);
        for (const DisplayEnvironment &display : displays)
            EXPECT_EQ(decideDisplay(arguments(c.line), display), DisplayDecision());
        if (c.kind == NoJob) {
            EXPECT_EQ(refusalText(arguments(c.line)),
                c.refusal ? QString::fromUtf8(c.refusal).replace(u"{dir}"_s, dir.path())
                          : usageText());
        }
    }
}

// Without arguments, something piped in and the output not on a terminal is the filter, when a
// terminal's session started it or no window could show; a launch from a desktop (no terminal
// behind it, a display at hand) opens the window whatever its streams are.
TEST(CommandLineTest, APipeWithoutArgumentsIsTheFilter)
{
    const struct
    {
        const char *what;
        QStringList arguments;
        StandardStreams streams; // piped in, output on a terminal, a controlling terminal
        bool window; // a window could show
        bool filter;
    } cases[] = {
        {"cat x | twinscan | less", {}, {true, false, true}, true, true},
        {"in a script without a display", {}, {true, false, false}, false, true},
        {"dmenu_run's pipe, a log as output", {}, {true, false, false}, true, false},
        {"cat x | twinscan on a terminal", {}, {true, true, true}, true, false},
        {"from a menu: /dev/null in", {}, {false, false, false}, true, false},
        {"twinscan </dev/null >out", {}, {false, false, true}, true, false},
        {"a file named", {u"x.txt"_s}, {true, false, true}, true, false},
    };
    for (const auto &c : cases) {
        bool asked = false;
        const bool filter = startsAsFilter(c.arguments, c.streams, [&] {
            asked = true;
            return c.window;
        });
        EXPECT_EQ(filter, c.filter) << c.what;
        // Asking may mean connecting to a display: only when the answer matters.
        EXPECT_EQ(asked,
            c.arguments.isEmpty() && c.streams.inputPiped && !c.streams.outputTerminal
                && !c.streams.controllingTerminal)
            << c.what;
    }
}

// What a file manager passes opens at start; a complete job or a partial one does not.
TEST(CommandLineTest, NamesTheFileToOpenAtStart)
{
    const std::pair<const char *, const char *> cases[] = {
        {"notes.txt", "notes.txt"},
        {"/i my notes.txt /c on", "my notes.txt"},
        {"/i a.txt /o b.txt", ""},
        {"/i a.txt /s 1", ""},
        {"/i a.txt /o b.txt /s 1", ""},
        {"a.txt b.txt", ""},
        {"/c", ""},
        {"-x", ""},
    };
    for (const auto &[line, expected] : cases) {
        const QString file = QString::fromLatin1(expected);
        EXPECT_EQ(fileToOpen(QString::fromLatin1(line).split(u' ')),
            file.isEmpty() ? file : QDir::current().absoluteFilePath(file))
            << line;
    }
}

// Over options loaded as 1, 0, 1, 0, 1.
TEST(CommandLineTest, OptionSwitchesOverrideTheLoadedOptions)
{
    const std::pair<const char *, std::vector<qint16>> cases[] = {
        {"/s 1", {1, 0, 1, 0, 1}},
        {"/s 1 /c off /r on /e OFF /t On /m oFF", {0, 1, 0, 1, 0}},
        {"/s 1 /c on /m off", {1, 0, 1, 0, 0}},
    };
    for (const auto &[line, expected] : cases) {
        Module module;
        module.scanOptions = {1, 0, 1};
        module.saveOptions = {0, 1};
        module.request = parseArguments(QString::fromLatin1(line).split(u' '));
        applyOptionOverrides(module);
        const ScanOptions &scan = module.scanOptions;
        const SaveOptions &save = module.saveOptions;
        EXPECT_EQ((std::vector<qint16> {scan.caseSensitive, scan.trimLines, scan.includeEmptyLines,
                      save.trimSaveLines, save.saveEmptyLines}),
            expected)
            << line;
    }
}

} // namespace
} // namespace twinscan
