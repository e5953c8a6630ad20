// What a caller of the program sees: exit status, standard output and error, the bytes written,
// and a settings store that is only ever read.

#include "../support/Sanitizers.h"
#include "Sandbox.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace twinscan::e2e {
namespace {

bool matches(const QByteArray &text, const char *pattern, const Sandbox &box)
{
    const QString whole
        = QString::fromUtf8(pattern)
              .replace(u"@/"_s, QRegularExpression::escape(box.path(u"@/"_s)))
              .replace(u"{time}"_s, uR"( \(Processing time: \d+:\d\d\)\n)"_s)
              .replace(u"{usage}"_s,
                  uR"(twinscan: no display could be opened(?s:.*)Usage: twinscan /i FILE)"
                  uR"( /o FILE /s 1\|2\|3 (?s:.*))"_s);
    return QRegularExpression(QRegularExpression::anchoredPattern(whole))
        .match(QString::fromUtf8(text))
        .hasMatch();
}

// Only a job that ends with status 0 leaves an output; the input is never changed. UTF-32 is
// refused before anything is written. Standard output named as the target is written as the shell
// opened it, so a log appended to keeps what it held, and the result lines keep out of the data, on
// standard error; closed standard streams take none of the job's own pipes, and a closed one named
// as the target fails as the shell's own write would, not into /dev/null.
TEST(BatchRunTest, StatusStreamsAndFiles)
{
    enum Written { Nothing, OutTxt, Log };
    const QByteArray utf32("\xFF\xFE\0\0x\0\0\0\n\0\0\0x\0\0\0\n\0\0\0", 20);
    const struct
    {
        const char *name;
        const char *job; // in a shell's words
        int status;
        // Patterns for the whole of each stream; {time} is the processing time and its line
        // break, {usage} the refusal to run without a display.
        const char *out;
        const char *err;
        Written written = Nothing; // "a\nb\n", into out.txt or after the log's earlier line
        const char *display = nullptr; // DISPLAY, naming no X server that answers
        QByteArray input = "a\nb\nA\n"; // in.txt
    } cases[] = {
        {"written", "/i @/in.txt /o @/out.txt /s 2", 0,
            "Scanned 3 Lines: Found 2 Duplicate Lines with 1 Unique Duplicates!{time}Done!{time}",
            "", OutTxt},
        {"no duplicate", "/i @/in.txt /o @/out.txt /s 1", 1,
            "No Duplicate Lines Found\\.\\.\\.{time}", "", Nothing, nullptr, "a\nb\n"},
        {"output folder missing", "/i @/in.txt /o @/no/out.txt /s 2", 2, "Scanned [^\n]+\n",
            "[^\n]*@/no/out\\.txt[^\n]*\n"},
        {"no arguments", "</dev/null", 2, "", "{usage}"},
        {"input missing", "/i @/missing.txt /o @/out.txt /s 2", 2, "",
            "twinscan: @/missing\\.txt: the file does not exist\n"},
        {"input a pipe", "/i /dev/stdin /o @/out.txt /s 2", 2, "",
            "twinscan: /dev/stdin: is a FIFO or a pipe, not a file\n"},
        {"a display that cannot be opened", "/i @/in.txt /o @/out.txt /s 2", 0,
            "Scanned [^\n]+\nDone!{time}", "", OutTxt, ":4093"},
        // Neither help nor version needs or touches a display.
        {"version", "--version", 0, "Twinscan \\d+\\.\\d+\n", "", Nothing, ":4093"},
        {"help", "--help", 0,
            "Usage: twinscan \\[OPTION\\]\\.\\.\\. \\[FILE\\|-\\](?s:.*)"
            "Usage: twinscan /i FILE /o FILE /s 1\\|2\\|3 (?s:.*)twinscan \\[FILE\\](?s:.*)"
            "--version(?s:.*)",
            "", Nothing, ":4093"},
        {"UTF-32", "/i @/in.txt /o @/out.txt /s 2", 2, "",
            "@/in\\.txt looks like a binary or UTF-32 file; Twinscan reads 8-bit, UTF-8 and "
            "UTF-16 text\n",
            Nothing, nullptr, utf32},
        {"output appended to a log", "/i @/in.txt /o /dev/stdout /s 2 >>@/app.log", 0, "",
            "Scanned [^\n]+\nDone!{time}", Log},
        {"input and output closed", "/i @/in.txt /o @/out.txt /s 2 <&- >&-", 0, "", "", OutTxt},
        {"closed output as the target", "/i @/in.txt /o /dev/stdout /s 2 >&-", 2, "",
            "Can't write /dev/stdout: Bad file descriptor\n"},
        {"a double quote in a name", "/i @/in.txt /o '@/out\"x.txt' /s 2", 2, "",
            "twinscan: /o @/out\"x\\.txt: a double quote is part of the name[^\n]*\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Sandbox box;
        box.write(u"in.txt"_s, c.input);
        box.write(u"app.log"_s, "earlier\n");
        if (c.display)
            box.setVariable(u"DISPLAY"_s, QString::fromLatin1(c.display));
        const RunResult result = box.run(QString::fromUtf8(c.job), 15);
        EXPECT_EQ(result.exitCode, c.status) << describe(result);
        EXPECT_TRUE(matches(result.out, c.out, box)) << describe(result);
        EXPECT_TRUE(matches(result.err, c.err, box)) << describe(result);
        EXPECT_EQ(box.read(u"in.txt"_s), c.input);
        EXPECT_EQ(box.read(u"app.log"_s), c.written == Log ? "earlier\na\nb\n" : "earlier\n");
        QStringList expected {u"app.log"_s, u"in.txt"_s};
        if (c.written == OutTxt) {
            expected << u"out.txt"_s;
            EXPECT_EQ(box.read(u"out.txt"_s), "a\nb\n");
        }
        EXPECT_EQ(box.entries(), expected);
    }
}

// A file that has a second name (a hard link) keeps it: the result is written into the file
// itself, so both names show it, and nothing else is left in the folder.
TEST(BatchRunTest, BothNamesOfAFileGetTheResult)
{
    Sandbox box;
    box.write(u"in.txt"_s, "a\nb\nA\n");
    ASSERT_EQ(::link(QFile::encodeName(box.path(u"@/in.txt"_s)).constData(),
                  QFile::encodeName(box.path(u"@/other.txt"_s)).constData()),
        0);
    const RunResult result = box.run(u"/i @/in.txt /o @/in.txt /s 2"_s, 15);
    EXPECT_EQ(result.exitCode, 0) << describe(result);
    EXPECT_EQ(box.read(u"in.txt"_s), "a\nb\n");
    EXPECT_EQ(box.read(u"other.txt"_s), "a\nb\n");
    EXPECT_EQ(box.entries(), (QStringList {u"in.txt"_s, u"other.txt"_s}));
}

// Another user's FIFO in a folder everyone may write could be read by that user: the job refuses
// it with the reason before writing anything, rather than waiting for a reader.
TEST(BatchRunTest, AFifoOfAnotherUserInASharedFolderIsNotWritten)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "giving a FIFO to another user takes root";
    Sandbox box;
    box.write(u"in.txt"_s, "a\nb\nA\n");
    const QByteArray shared = QFile::encodeName(box.path(u"@/shared"_s));
    const QByteArray fifo = shared + "/out.txt";
    ASSERT_EQ(::mkdir(shared.constData(), 0777) | ::chmod(shared.constData(), 01777)
            | ::mkfifo(fifo.constData(), 0666) | ::chown(fifo.constData(), 65534, 65534),
        0);
    const RunResult result = box.run(u"/i @/in.txt /o @/shared/out.txt /s 2"_s, 15);
    EXPECT_EQ(result.exitCode, 2) << describe(result);
    EXPECT_TRUE(matches(result.err,
        "[^\n]*@/shared/out\\.txt[^\n]*it is a FIFO of another user in a shared folder[^\n]*\n",
        box))
        << describe(result);
}

// On a small machine a job whose scan does not fit in memory goes on with temporary files instead
// of ending in the kernel's kill; a job that fits runs as usual. The input stays untouched.
TEST(BatchRunTest, AScanThatDoesNotFitInMemoryStillEnds)
{
    if (twinscan::test::addressSanitized)
        GTEST_SKIP() << "a capped address space starves AddressSanitizer";
    QByteArray many;
    for (int n = 0; n < 4000000; ++n)
        many += "ab\n";
    const std::tuple<const char *, QByteArray, int, const char *> cases[] = {
        {"fits", "a\nb\na\n", 0, ""},
        {"does not fit", many, 0, ""},
    };
    for (const auto &[name, input, status, err] : cases) {
        SCOPED_TRACE(name);
        Sandbox box;
        box.write(u"in.txt"_s, input);
        box.limitMemory(qint64(160) << 20);
        const RunResult result = box.run(u"/i @/in.txt /o @/out.txt /s 2"_s, 60);
        EXPECT_EQ(result.exitCode, status) << describe(result);
        EXPECT_TRUE(matches(result.err, err, box)) << describe(result);
        EXPECT_TRUE(box.read(u"in.txt"_s) == input);
        EXPECT_EQ(box.entries().contains(u"out.txt"_s), status == 0);
    }
}

// Options not on the command line come from the store, which an unattended run never writes, nor
// the desktop's recent files. A store that is not a regular file is never opened: a FIFO would
// block the start.
TEST(BatchRunTest, StoredOptionsApplyAndTheStoreStaysAsItWas)
{
    for (const bool fifo : {false, true}) {
        SCOPED_TRACE(fifo);
        Sandbox box;
        const QString store = QDir::cleanPath(box.path(u"../config/Corvane/Twinscan.ini"_s));
        const QByteArray ini = "[Twinscan]\r\ncaseSensitive=1\r\nsaveEmptyLines=0\r\n";
        QDir().mkpath(box.path(u"../config/Corvane"_s));
        if (fifo)
            ASSERT_EQ(::mkfifo(QFile::encodeName(store).constData(), 0600), 0);
        else
            box.write(store, ini);
        box.write(u"in.txt"_s, "a\n\nA\nb\na\n");
        const RunResult result = box.run(u"/i @/in.txt /o @/out.txt /s 2"_s);
        EXPECT_EQ(result.exitCode, 0) << describe(result);
        EXPECT_EQ(result.err.contains(QFile::encodeName(store)), fifo) << describe(result);
        EXPECT_EQ(box.read(u"out.txt"_s), fifo ? "a\n\nb\n" : "a\nA\nb\n");
        if (!fifo) {
            EXPECT_EQ(box.read(store), ini);
        }
        EXPECT_EQ(QDir(box.path(u"../config/Corvane"_s))
                      .entryList(QDir::Files | QDir::Hidden | QDir::System),
            QStringList {u"Twinscan.ini"_s});
        EXPECT_TRUE(QDir(QDir::cleanPath(box.path(u"../data"_s))).isEmpty());
    }
}

} // namespace
} // namespace twinscan::e2e
