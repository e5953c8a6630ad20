// What a caller of the program sees: exit status, standard output and error, files left alone.

#include "ByteCompare.h"
#include "JobChecks.h"
#include "Sandbox.h"

#include <QDir>
#include <gtest/gtest.h>
#include <string_view>
#include <vector>

using namespace std::string_view_literals;
using namespace Qt::StringLiterals;

namespace twinscan::e2e {

namespace {

QStringList job(const Sandbox &box, const QString &switches)
{
    return QStringList {u"/i"_s, box.path(u"in.txt"_s), u"/o"_s, box.path(u"out.txt"_s)}
    + switches.split(u' ');
}

TEST(BatchExitTest, ResultLinesCountTheScanAndTheSave)
{
    Sandbox box;
    ASSERT_TRUE(box.isValid());
    box.write(u"in.txt"_s, "a\r\nb\r\nA\r\na\r\nb\r\nc\r\n");
    const RunResult result = box.run(job(box, u"/s 2"_s));
    expectWritten(result);
    EXPECT_TRUE(result.out.startsWith("Scanned 6 Lines: Found 5 Duplicate Lines with 2 Unique "
                                      "Duplicates! (Processing time: "))
        << describe(result);
}

struct NothingCase
{
    const char *name;
    std::string_view input;
    const char *switches;
};

TEST(BatchExitTest, NoDuplicateExitsOneAndWritesNothing)
{
    const std::vector<NothingCase> cases = {
        {"all lines distinct", "a\r\nb\r\n"sv, "/s 1"},
        {"one line without a break", "x"sv, "/s 2"},
        {"case differs and counts", "a\r\nA\r\n"sv, "/s 3 /c on"},
        {"spaces count and empty lines stay out", "x\r\n  x  \r\n\r\n\r\n   \r\nx \r\n"sv, "/s 1"},
    };
    for (const NothingCase &c : cases) {
        SCOPED_TRACE(c.name);
        Sandbox box;
        ASSERT_TRUE(box.isValid());
        const QByteArray original = bytes(c.input);
        box.write(u"in.txt"_s, original);
        expectNothingToRemove(box.run(job(box, QString::fromLatin1(c.switches))));
        EXPECT_EQ(box.entries(), QStringList {u"in.txt"_s}) << "no output file, nothing left";
        const QByteArray inputAfter = box.read(u"in.txt"_s);
        EXPECT_PRED_FORMAT2(sameBytes, original, inputAfter);
    }
}

TEST(BatchExitTest, NoDuplicateLeavesAnExistingOutputAlone)
{
    Sandbox box;
    ASSERT_TRUE(box.isValid());
    box.write(u"in.txt"_s, "a\r\nb\r\n");
    const QByteArray earlier = "from an earlier run\r\n";
    box.write(u"out.txt"_s, earlier);
    expectNothingToRemove(box.run(job(box, u"/s 1"_s)));
    const QByteArray outputAfter = box.read(u"out.txt"_s);
    EXPECT_PRED_FORMAT2(sameBytes, earlier, outputAfter);
}

TEST(BatchExitTest, EmptyInputExitsTwo)
{
    Sandbox box;
    ASSERT_TRUE(box.isValid());
    box.write(u"in.txt"_s, {});
    const RunResult result = box.run(job(box, u"/s 1"_s));
    EXPECT_TRUE(result.finished && result.exitCode == 2) << describe(result);
    EXPECT_TRUE(result.out.isEmpty()) << describe(result);
    EXPECT_EQ(result.err, "Error: File Is Empty!\n") << describe(result);
    EXPECT_EQ(box.entries(), QStringList {u"in.txt"_s});
    EXPECT_EQ(box.read(u"in.txt"_s), QByteArray());
}

struct UnwritableCase
{
    const char *name;
    const char *output; // in the work folder
};

// The scan succeeds and says so on standard output; the failed save names the output on standard
// error, and the input is untouched.
TEST(BatchExitTest, UnwritableOutputExitsTwo)
{
    const std::vector<UnwritableCase> cases = {
        {"a folder that does not exist", "missing/out.txt"},
        {"an existing folder", "folder"},
    };
    const QByteArray original = "a\r\nb\r\na\r\n";
    for (const UnwritableCase &c : cases) {
        SCOPED_TRACE(c.name);
        Sandbox box;
        ASSERT_TRUE(box.isValid());
        QDir(box.workFolder()).mkdir(u"folder"_s);
        box.write(u"in.txt"_s, original);
        const QString output = box.path(QString::fromLatin1(c.output));
        const RunResult result
            = box.run({u"/i"_s, box.path(u"in.txt"_s), u"/o"_s, output, u"/s"_s, u"2"_s});
        EXPECT_TRUE(result.finished && result.exitCode == 2) << describe(result);
        EXPECT_TRUE(matchesLines(result.out, {scanLinePattern})) << describe(result);
        EXPECT_TRUE(result.err.endsWith('\n') && result.err.count('\n') == 1) << describe(result);
        EXPECT_TRUE(QString::fromUtf8(result.err).contains(output)) << describe(result);
        EXPECT_EQ(box.entries(), (QStringList {u"folder"_s, u"in.txt"_s}));
        EXPECT_TRUE(QDir(box.path(u"folder"_s)).isEmpty());
        const QByteArray inputAfter = box.read(u"in.txt"_s);
        EXPECT_PRED_FORMAT2(sameBytes, original, inputAfter);
    }
}

struct NotAJobCase
{
    const char *name;
    const char *arguments; // words separated by single spaces; IN stands for an existing input
};

// Without a display nobody could answer a window: the program must say so and end, not wait.
TEST(BatchExitTest, NotAJobWithoutDisplayPrintsUsageAndExitsTwo)
{
    const std::vector<NotAJobCase> cases = {
        {"no arguments", ""},
        {"a file alone, as a drop on the program", "IN"},
        {"no rule", "/i IN /o out.txt"},
        {"no output", "/i IN /s 1"},
        {"rule out of range", "/i IN /o out.txt /s 4"},
        {"rule as a word", "/i IN /o out.txt /s all"},
        {"input missing", "/i nothere.txt /o out.txt /s 1"},
        {"input is a folder", "/i folder /o out.txt /s 1"},
        {"switches in capitals are not switches", "/I IN /O out.txt /S 1"},
        {"option switches only", "/c on /m off"},
    };
    for (const NotAJobCase &c : cases) {
        SCOPED_TRACE(c.name);
        Sandbox box;
        ASSERT_TRUE(box.isValid());
        QDir(box.workFolder()).mkdir(u"folder"_s);
        const QString input = box.write(u"in.txt"_s, "a\r\na\r\n");
        QStringList arguments = QString::fromLatin1(c.arguments).split(u' ', Qt::SkipEmptyParts);
        arguments.replaceInStrings(u"IN"_s, input);
        const RunResult result = box.run(arguments, std::chrono::seconds(15));
        EXPECT_TRUE(result.finished && result.exitCode == 2) << describe(result);
        EXPECT_TRUE(result.out.isEmpty()) << describe(result);
        EXPECT_TRUE(result.err.contains("Usage: twinscan /i FILE /o FILE /s 1|2|3"))
            << describe(result);
        EXPECT_EQ(box.entries(), (QStringList {u"folder"_s, u"in.txt"_s}));
    }
}

struct InfoCase
{
    const char *name;
    const char *argument;
    const char *display; // a DISPLAY value, or nullptr for none
};

// Neither needs a display, nor connects to one that is named.
TEST(BatchExitTest, VersionAndHelpExitZero)
{
    const std::vector<InfoCase> cases = {
        {"version", "--version", nullptr},
        {"version with a display named", "--version", ":97"},
        {"help", "--help", nullptr},
        {"help with a display named", "--help", ":97"},
    };
    for (const InfoCase &c : cases) {
        SCOPED_TRACE(c.name);
        Sandbox box;
        ASSERT_TRUE(box.isValid());
        if (c.display)
            box.setVariable(u"DISPLAY"_s, QString::fromLatin1(c.display));
        const RunResult result
            = box.run({QString::fromLatin1(c.argument)}, std::chrono::seconds(15));
        EXPECT_TRUE(result.finished && result.exitCode == 0) << describe(result);
        EXPECT_TRUE(result.err.isEmpty()) << describe(result);
        if (QByteArray(c.argument) == "--version") {
            EXPECT_EQ(result.out, "Twinscan 2.5\n");
        } else {
            EXPECT_TRUE(result.out.startsWith("Usage: twinscan /i FILE /o FILE /s 1|2|3"))
                << describe(result);
            EXPECT_TRUE(result.out.contains("--version")) << describe(result);
        }
    }
}

// A caller that picks the offscreen platform itself gets the same job and the same output lines.
TEST(BatchExitTest, JobOnTheOffscreenPlatformChosenByTheCaller)
{
    Sandbox box;
    ASSERT_TRUE(box.isValid());
    box.setVariable(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    box.write(u"in.txt"_s, "a\r\nb\r\nA\r\n");
    const RunResult result = box.run(job(box, u"/s 2"_s));
    EXPECT_TRUE(result.finished && result.exitCode == 0) << describe(result);
    EXPECT_TRUE(matchesLines(result.out, {scanLinePattern, doneLinePattern})) << describe(result);
    EXPECT_EQ(box.read(u"out.txt"_s), "a\r\nb\r\n");
}

struct StoredCase
{
    const char *name;
    const char *switches;
    std::string_view expected;
};

// Options not on the command line come from the store; the store itself is only ever read.
TEST(BatchExitTest, StoredOptionsApplyAndTheStoreStaysAsItWas)
{
    const QByteArray ini = "[Twinscan]\r\ncaseSensitive=1\r\nsaveEmptyLines=0\r\n"
                           "statFilesOpened=7\r\nlastLoadedFile=/nowhere/else.txt\r\n";
    const std::vector<StoredCase> cases = {
        {"stored: case on, no empty lines", "/s 2", "a\r\nA\r\nb\r\n"sv},
        {"switches override the store", "/s 2 /c off /m on", "a\r\n\r\nb\r\n"sv},
    };
    for (const StoredCase &c : cases) {
        SCOPED_TRACE(c.name);
        Sandbox box;
        ASSERT_TRUE(box.isValid());
        box.writeSettings(ini);
        box.write(u"in.txt"_s, "a\r\n\r\nA\r\nb\r\na\r\n");
        expectWritten(box.run(job(box, QString::fromLatin1(c.switches))));
        const QByteArray expected = bytes(c.expected);
        const QByteArray written = box.read(u"out.txt"_s);
        EXPECT_PRED_FORMAT2(sameBytes, expected, written);
        const QByteArray storeAfter = box.readSettings();
        EXPECT_PRED_FORMAT2(sameBytes, ini, storeAfter);
        EXPECT_EQ(box.settingsEntries(), QStringList {u"Twinscan.ini"_s});
    }
}

} // namespace

} // namespace twinscan::e2e
