// How the paths on the command line reach the files: the output that is the input, links,
// relative paths, spaces, and absolute paths whose folders look like switches.

#include "ByteCompare.h"
#include "JobChecks.h"
#include "Sandbox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace Qt::StringLiterals;

namespace twinscan::e2e {

namespace {

const QByteArray source = "a\r\nb\r\nA\r\nc\r\nb\r\n";
const QByteArray deduplicated = "a\r\nb\r\nc\r\n"; // rule 2, case ignored

unsigned permissionBits(const QString &path)
{
    struct stat st
    {
    };
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}

bool setPermissionBits(const QString &path, unsigned mode)
{
    return ::chmod(QFile::encodeName(path).constData(), mode) == 0;
}

// Words separated by single spaces; W/ stands for the work folder with its slash.
QStringList words(const Sandbox &box, const char *text)
{
    QStringList list = QString::fromUtf8(text).split(u' ');
    list.replaceInStrings(u"W/"_s, box.workFolder() + u'/');
    return list;
}

struct SameFileCase
{
    const char *name;
    const char *input;
    const char *output;
};

// However the output names the input, the input is replaced through one rename: its permission
// bits stay, and no temporary file is left beside it.
TEST(BatchPathTest, OutputThatIsTheInputReplacesIt)
{
    const std::vector<SameFileCase> cases = {
        {"the same absolute path", "W/in.txt", "W/in.txt"},
        {"the same relative path", "in.txt", "in.txt"},
        {"absolute input, relative output", "W/in.txt", "in.txt"},
        {"relative input, absolute output", "in.txt", "W/in.txt"},
        {"dot folder in the output", "in.txt", "./in.txt"},
        {"detour through a folder", "W/in.txt", "W/sub/../in.txt"},
        {"doubled slash", "W/in.txt", "W//in.txt"},
    };
    for (const SameFileCase &c : cases) {
        SCOPED_TRACE(c.name);
        Sandbox box;
        ASSERT_TRUE(box.isValid());
        QDir(box.workFolder()).mkdir(u"sub"_s);
        const QString input = box.write(u"in.txt"_s, source);
        ASSERT_TRUE(setPermissionBits(input, 0640));
        expectWritten(box.run(QStringList {u"/i"_s} + words(box, c.input) + QStringList {u"/o"_s}
            + words(box, c.output) + QStringList {u"/s"_s, u"2"_s}));
        const QByteArray replaced = box.read(u"in.txt"_s);
        EXPECT_PRED_FORMAT2(sameBytes, deduplicated, replaced);
        EXPECT_EQ(permissionBits(input), 0640u);
        EXPECT_EQ(box.entries(), (QStringList {u"in.txt"_s, u"sub"_s}));
    }
}

struct LeftoverCase
{
    const char *name;
    bool asLink; // the leftover is a link to another file rather than a file
};

// Whatever a crashed run or another user left under the temporary name is neither written through
// nor kept: the input is replaced and the file a planted link points to keeps its bytes.
TEST(BatchPathTest, LeftoverTemporaryNameIsNotWrittenThrough)
{
    const std::vector<LeftoverCase> cases = {
        {"a stale temporary file", false},
        {"a link planted under the temporary name", true},
    };
    const QByteArray bystander = "not to be touched\r\n";
    for (const LeftoverCase &c : cases) {
        SCOPED_TRACE(c.name);
        Sandbox box;
        ASSERT_TRUE(box.isValid());
        const QString input = box.write(u"in.txt"_s, source);
        const QString victim = box.write(u"victim.txt"_s, bystander);
        const QString temporary = input + u".twintemp"_s;
        if (c.asLink)
            ASSERT_TRUE(QFile::link(victim, temporary));
        else
            box.write(u"in.txt.twintemp"_s, "half a line from a crash");
        expectWritten(box.run({u"/i"_s, input, u"/o"_s, input, u"/s"_s, u"2"_s}));
        const QByteArray replaced = box.read(u"in.txt"_s);
        EXPECT_PRED_FORMAT2(sameBytes, deduplicated, replaced);
        const QByteArray victimAfter = box.read(u"victim.txt"_s);
        EXPECT_PRED_FORMAT2(sameBytes, bystander, victimAfter);
        EXPECT_EQ(box.entries(), (QStringList {u"in.txt"_s, u"victim.txt"_s}));
    }
}

struct LinkCase
{
    const char *name;
    const char *input;
    const char *output;
};

// A link to the input is the input under another name: the file it points to gets the result and
// the link stays a link.
TEST(BatchPathTest, LinkToTheInputStaysALink)
{
    const std::vector<LinkCase> cases = {
        {"output through the link", "in.txt", "link.txt"},
        {"input through the link", "link.txt", "in.txt"},
        {"both through the link", "link.txt", "link.txt"},
    };
    for (const LinkCase &c : cases) {
        SCOPED_TRACE(c.name);
        Sandbox box;
        ASSERT_TRUE(box.isValid());
        const QString input = box.write(u"in.txt"_s, source);
        ASSERT_TRUE(setPermissionBits(input, 0640));
        ASSERT_TRUE(QFile::link(u"in.txt"_s, box.path(u"link.txt"_s)));
        expectWritten(box.run({u"/i"_s, box.path(QString::fromLatin1(c.input)), u"/o"_s,
            box.path(QString::fromLatin1(c.output)), u"/s"_s, u"2"_s}));
        const QByteArray replaced = box.read(u"in.txt"_s);
        EXPECT_PRED_FORMAT2(sameBytes, deduplicated, replaced);
        const QFileInfo link(box.path(u"link.txt"_s));
        EXPECT_TRUE(link.isSymLink());
        EXPECT_EQ(link.symLinkTarget(), input);
        EXPECT_EQ(permissionBits(input), 0640u);
        EXPECT_EQ(box.entries(), (QStringList {u"in.txt"_s, u"link.txt"_s}));
    }
}

// A second name of the input's own file is still the name the caller asked to be written: after
// a job that reports success it must read the result, while the input's name reads either the
// result (the shared file was replaced) or the original (the link was broken), never a mix.
// Known to fail for now: the output counts as the input, the result is renamed onto the input's
// name only, and other.txt keeps the old bytes while the job reports "Done!" with status 0.
TEST(BatchPathTest, HardLinkedOutputHoldsTheResult)
{
    Sandbox box;
    ASSERT_TRUE(box.isValid());
    const QString input = box.write(u"in.txt"_s, source);
    const QString other = box.path(u"other.txt"_s);
    ASSERT_TRUE(
        ::link(QFile::encodeName(input).constData(), QFile::encodeName(other).constData()) == 0);
    expectWritten(box.run({u"/i"_s, input, u"/o"_s, other, u"/s"_s, u"2"_s}));
    const QByteArray atOutput = box.read(u"other.txt"_s);
    EXPECT_PRED_FORMAT2(sameBytes, deduplicated, atOutput);
    const QByteArray atInput = box.read(u"in.txt"_s);
    EXPECT_TRUE(atInput == deduplicated || atInput == source) << atInput.toStdString();
    EXPECT_EQ(box.entries(), (QStringList {u"in.txt"_s, u"other.txt"_s}));
}

TEST(BatchPathTest, ExistingOutputIsReplacedWhole)
{
    Sandbox box;
    ASSERT_TRUE(box.isValid());
    const QString input = box.write(u"in.txt"_s, source);
    box.write(u"out.txt"_s, "a much longer text from an earlier run\r\nthat must not survive\r\n");
    expectWritten(box.run({u"/i"_s, input, u"/o"_s, box.path(u"out.txt"_s), u"/s"_s, u"2"_s}));
    const QByteArray written = box.read(u"out.txt"_s);
    EXPECT_PRED_FORMAT2(sameBytes, deduplicated, written);
}

struct SpacedCase
{
    const char *name;
    QStringList arguments; // IN and OUT stand for the two paths or parts of them
    const char *inputName;
    const char *outputName;
};

// A value runs to the next switch, over as many words as the shell made of it.
TEST(BatchPathTest, PathsWithSpaces)
{
    const std::vector<SpacedCase> cases = {
        {"separate words", {u"/i"_s, u"W/in"_s, u"put.txt"_s, u"/o"_s, u"W/out"_s, u"put.txt"_s},
            "in put.txt", "out put.txt"},
        {"one word each", {u"/i"_s, u"W/in put.txt"_s, u"/o"_s, u"W/out put.txt"_s}, "in put.txt",
            "out put.txt"},
        {"quoted inside the words",
            {u"/i"_s, u"\"W/in put.txt\""_s, u"/o"_s, u"\"W/out"_s, u"put.txt\""_s}, "in put.txt",
            "out put.txt"},
        {"relative, separate words",
            {u"/i"_s, u"in"_s, u"put.txt"_s, u"/o"_s, u"out"_s, u"put.txt"_s}, "in put.txt",
            "out put.txt"},
        {"two spaces inside one word", {u"/i"_s, u"W/in  put.txt"_s, u"/o"_s, u"W/o  p.txt"_s},
            "in  put.txt", "o  p.txt"},
        {"a folder with a space",
            {u"/i"_s, u"W/my"_s, u"files/in.txt"_s, u"/o"_s, u"W/my files/out.txt"_s},
            "my files/in.txt", "my files/out.txt"},
    };
    for (const SpacedCase &c : cases) {
        SCOPED_TRACE(c.name);
        Sandbox box;
        ASSERT_TRUE(box.isValid());
        QDir(box.workFolder()).mkdir(u"my files"_s);
        box.write(QString::fromUtf8(c.inputName), source);
        QStringList arguments = c.arguments;
        arguments.replaceInStrings(u"W/"_s, box.workFolder() + u'/');
        expectWritten(box.run(arguments + QStringList {u"/s"_s, u"2"_s}));
        const QByteArray written = box.read(QString::fromUtf8(c.outputName));
        EXPECT_PRED_FORMAT2(sameBytes, deduplicated, written);
    }
}

// Folders named like the switches, and names outside ASCII, reach the files whole.
TEST(BatchPathTest, AbsolutePathsUnderTmpAreTakenWhole)
{
    Sandbox box;
    ASSERT_TRUE(box.isValid());
    ASSERT_TRUE(box.workFolder().startsWith(u"/tmp/"_s));
    const QString folder = u"i/o/s/c/r/e/t/m"_s;
    ASSERT_TRUE(QDir(box.workFolder()).mkpath(folder));
    const QString input = box.write(folder + u"/in.txt"_s, source);
    const QString output = box.path(folder + u"/dupé ö.txt"_s);
    expectWritten(box.run({u"/i"_s, input, u"/o"_s, output, u"/s"_s, u"2"_s, u"/m"_s, u"on"_s}));
    const QByteArray written = box.read(folder + u"/dupé ö.txt"_s);
    EXPECT_PRED_FORMAT2(sameBytes, deduplicated, written);
    EXPECT_EQ(QDir(box.path(folder)).entryList(QDir::Files, QDir::Name),
        (QStringList {u"dupé ö.txt"_s, u"in.txt"_s}));
}

} // namespace

} // namespace twinscan::e2e
