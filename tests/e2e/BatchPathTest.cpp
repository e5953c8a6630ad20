// How the paths on the command line reach the files: the output that is the input, links,
// spaces, and absolute paths whose folders look like switches.

#include "Sandbox.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace twinscan::e2e {
namespace {

const QByteArray source = "a\r\nb\r\nA\r\nc\r\nb\r\n";
const QByteArray deduplicated = "a\r\nb\r\nc\r\n"; // rule 2, case ignored

// A pipe cannot be replaced or synced: the result goes straight into it, between the two lines.
TEST(BatchPathTest, OutputIntoAPipe)
{
    Sandbox box;
    box.write(u"in.txt"_s, source);
    const RunResult result
        = box.run({u"/i"_s, u"@/in.txt"_s, u"/o"_s, u"/dev/stdout"_s, u"/s"_s, u"2"_s});
    EXPECT_EQ(result.exitCode, 0) << describe(result);
    const qsizetype at = result.out.indexOf('\n') + 1;
    EXPECT_TRUE(result.out.startsWith("Scanned ")) << describe(result);
    EXPECT_PRED_FORMAT2(sameBytes, deduplicated, result.out.mid(at, deduplicated.size()));
    EXPECT_TRUE(result.out.mid(at + deduplicated.size()).startsWith("Done!")) << describe(result);
}

// Names reach the file system as the bytes given: one that is not UTF-8 would come out changed,
// so it is refused before anything is written.
TEST(BatchPathTest, ANameThatIsNotUtf8IsRefused)
{
    Sandbox box;
    box.write(u"in.txt"_s, source);
    box.setProgram(u"/bin/sh"_s);
    const RunResult result
        = box.run({u"-c"_s, uR"sh(exec "$0" /i @/in.txt /o "$(printf '@/out\377.txt')" /s 2)sh"_s});
    EXPECT_EQ(result.exitCode, 2) << describe(result);
    EXPECT_TRUE(result.err.contains("out\xff.txt: not valid UTF-8")) << describe(result);
    EXPECT_EQ(box.entries(), QStringList {u"in.txt"_s});
}

// A value runs to the next switch over as many words as the shell made of it, and folders named
// like switches are text. An older, longer output is replaced whole; however the output names
// the input, the input is replaced whole. Nothing is left beside the files.
TEST(BatchPathTest, PathsAreTakenWhole)
{
    const struct
    {
        QString arguments, input, output;
        QStringList entries; // of the work folder afterwards
    } cases[] = {
        {u"/i @/in.txt /o @/in.txt"_s, u"in.txt"_s, u"in.txt"_s, {u"in.txt"_s, u"link.txt"_s}},
        {u"/i @/link.txt /o in.txt"_s, u"in.txt"_s, u"in.txt"_s, {u"in.txt"_s, u"link.txt"_s}},
        {u"/i @/in put.txt /o @/out put.txt"_s, u"in put.txt"_s, u"out put.txt"_s,
            {u"in put.txt"_s, u"link.txt"_s, u"out put.txt"_s}},
        {u"/o @/i/o/s/c/r/e/t/m/dupé ö.txt /i @/i/o/s/c/r/e/t/m/in.txt"_s,
            u"i/o/s/c/r/e/t/m/in.txt"_s, u"i/o/s/c/r/e/t/m/dupé ö.txt"_s, {u"i"_s, u"link.txt"_s}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.arguments.toStdString());
        Sandbox box;
        ASSERT_TRUE(box.path(c.input).startsWith(u"/tmp/"_s));
        QDir().mkpath(QFileInfo(box.path(c.input)).path());
        ASSERT_TRUE(QFile::link(u"in.txt"_s, box.path(u"link.txt"_s)));
        box.write(c.output, "a much longer text from an earlier run\r\nthat must not survive\r\n");
        box.write(c.input, source);
        expectWritten(box.run(c.arguments.split(u' ') << u"/s"_s << u"2"_s));
        EXPECT_PRED_FORMAT2(sameBytes, deduplicated, box.read(c.output));
        EXPECT_PRED_FORMAT2(
            sameBytes, c.input == c.output ? deduplicated : source, box.read(c.input));
        EXPECT_EQ(box.entries(), c.entries);
    }
}

} // namespace
} // namespace twinscan::e2e
