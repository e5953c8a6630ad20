// How the paths on the command line reach the files: the output that is the input, links,
// spaces, and absolute paths whose folders look like switches.

#include "Sandbox.h"

#include <QDir>
#include <QFileInfo>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace twinscan::e2e {
namespace {

const QByteArray source = "a\r\nb\r\nA\r\nc\r\nb\r\n";
const QByteArray deduplicated = "a\r\nb\r\nc\r\n"; // rule 2, case ignored

// However the output names the input, the input is replaced through one rename: its permission
// bits stay, a symbolic link to it stays a link, and no temporary file is left beside it.
TEST(BatchPathTest, OutputThatIsTheInputReplacesIt)
{
    for (const char *arguments : {"/i @/in.txt /o @/in.txt", "/i in.txt /o @/sub/../in.txt",
             "/i @/in.txt /o @/link.txt", "/i @/link.txt /o in.txt"}) {
        SCOPED_TRACE(arguments);
        Sandbox box;
        QDir().mkdir(box.path(u"sub"_s));
        const QByteArray input = QFile::encodeName(box.write(u"in.txt"_s, source));
        ASSERT_EQ(::chmod(input.constData(), 0640), 0);
        ASSERT_TRUE(QFile::link(u"in.txt"_s, box.path(u"link.txt"_s)));
        expectWritten(box.run(QString::fromLatin1(arguments).split(u' ') << u"/s"_s << u"2"_s));
        EXPECT_PRED_FORMAT2(sameBytes, deduplicated, box.read(u"in.txt"_s));
        struct stat st
        {
        };
        EXPECT_TRUE(::stat(input.constData(), &st) == 0 && (st.st_mode & 07777) == 0640);
        EXPECT_EQ(QFileInfo(box.path(u"link.txt"_s)).symLinkTarget(), box.path(u"in.txt"_s));
        EXPECT_EQ(box.entries(), (QStringList {u"in.txt"_s, u"link.txt"_s, u"sub"_s}));
    }
}

// A second name of the input's own file is still the name the caller asked to be written; the
// input's name may read either version, never a mix.
TEST(BatchPathTest, HardLinkedOutputHoldsTheResult)
{
    Sandbox box;
    const QString input = box.write(u"in.txt"_s, source);
    ASSERT_EQ(::link(QFile::encodeName(input).constData(),
                  QFile::encodeName(box.path(u"other.txt"_s)).constData()),
        0);
    expectWritten(box.run({u"/i"_s, input, u"/o"_s, u"@/other.txt"_s, u"/s"_s, u"2"_s}));
    EXPECT_PRED_FORMAT2(sameBytes, deduplicated, box.read(u"other.txt"_s));
    const QByteArray atInput = box.read(u"in.txt"_s);
    EXPECT_TRUE(atInput == deduplicated || atInput == source) << atInput.toStdString();
    EXPECT_EQ(box.entries(), (QStringList {u"in.txt"_s, u"other.txt"_s}));
}

// A value runs to the next switch over as many words as the shell made of it, quotes go, and
// folders named like switches are text. An older, longer output is replaced whole.
TEST(BatchPathTest, PathsAreTakenWhole)
{
    const std::tuple<QStringList, QString, QString> cases[] = {
        {{u"/i"_s, u"@/in"_s, u"put.txt"_s, u"/o"_s, u"@/out"_s, u"put.txt"_s}, u"in put.txt"_s,
            u"out put.txt"_s},
        {{u"/i"_s, u"\"@/in put.txt\""_s, u"/o"_s, u"@/out put.txt"_s}, u"in put.txt"_s,
            u"out put.txt"_s},
        {{u"/i"_s, u"in  put.txt"_s, u"/o"_s, u"o  p.txt"_s}, u"in  put.txt"_s, u"o  p.txt"_s},
        {{u"/i"_s, u"@/my"_s, u"files/in.txt"_s, u"/o"_s, u"@/my files/out.txt"_s},
            u"my files/in.txt"_s, u"my files/out.txt"_s},
        {{u"/o"_s, u"@/i/o/s/c/r/e/t/m/dupé ö.txt"_s, u"/i"_s, u"@/i/o/s/c/r/e/t/m/in.txt"_s},
            u"i/o/s/c/r/e/t/m/in.txt"_s, u"i/o/s/c/r/e/t/m/dupé ö.txt"_s},
    };
    for (const auto &[arguments, input, output] : cases) {
        SCOPED_TRACE(arguments.join(u' ').toStdString());
        Sandbox box;
        ASSERT_TRUE(box.path(input).startsWith(u"/tmp/"_s));
        QDir().mkpath(QFileInfo(box.path(input)).path());
        box.write(input, source);
        box.write(output, "a much longer text from an earlier run\r\nthat must not survive\r\n");
        expectWritten(box.run(arguments + QStringList {u"/s"_s, u"2"_s}));
        EXPECT_PRED_FORMAT2(sameBytes, deduplicated, box.read(output));
        EXPECT_PRED_FORMAT2(sameBytes, source, box.read(input));
    }
}

} // namespace
} // namespace twinscan::e2e
