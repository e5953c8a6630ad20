// What a caller of the program sees: exit status, standard output and error, the bytes written,
// and a settings store that is only ever read.

#include "Sandbox.h"

#include <QDir>
#include <QRegularExpression>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace twinscan::e2e {
namespace {

struct ExitCase
{
    const char *name;
    const char *input; // in.txt
    const char *arguments;
    int status;
    // Patterns for the whole of each stream; {time} is the processing time and its line break,
    // {usage} the refusal to run without a display.
    const char *out;
    const char *err;
    const char *display = nullptr; // DISPLAY, naming no X server that answers
};

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

// Only a job that ends with status 0 leaves an output; the input is never changed.
TEST(BatchRunTest, StatusAndStreams)
{
    const ExitCase cases[] = {
        {"written", "a\nb\nA\n", "/i @/in.txt /o @/out.txt /s 2", 0,
            "Scanned 3 Lines: Found 2 Duplicate Lines with 1 Unique Duplicates!{time}Done!{time}",
            ""},
        {"no duplicate", "a\nb\n", "/i @/in.txt /o @/out.txt /s 1", 1,
            "No Duplicate Lines Found\\.\\.\\.{time}", ""},
        {"output folder missing", "a\nb\nA\n", "/i @/in.txt /o @/no/out.txt /s 2", 2,
            "Scanned [^\n]+\n", "[^\n]*@/no/out\\.txt[^\n]*\n"},
        {"no arguments", "a\nb\nA\n", "", 2, "", "{usage}"},
        {"input missing", "a\nb\nA\n", "/i @/missing.txt /o @/out.txt /s 2", 2, "",
            "twinscan: @/missing\\.txt: the file does not exist\n"},
        {"a display that cannot be opened", "a\nb\nA\n", "/i @/in.txt /o @/out.txt /s 2", 0,
            "Scanned [^\n]+\nDone!{time}", "", ":4093"},
        // Neither help nor version needs or touches a display.
        {"version", "", "--version", 0, "Twinscan \\d+\\.\\d+\n", "", ":4093"},
        {"help", "", "--help", 0,
            "Usage: twinscan /i FILE /o FILE /s 1\\|2\\|3 (?s:.*)twinscan \\[FILE\\](?s:.*)"
            "--version(?s:.*)",
            "", ":4093"},
    };
    for (const ExitCase &c : cases) {
        SCOPED_TRACE(c.name);
        Sandbox box;
        box.write(u"in.txt"_s, c.input);
        if (c.display)
            box.setVariable(u"DISPLAY"_s, QString::fromLatin1(c.display));
        const RunResult result = box.run(words(c.arguments), 15);
        EXPECT_EQ(result.exitCode, c.status) << describe(result);
        EXPECT_TRUE(matches(result.out, c.out, box)) << describe(result);
        EXPECT_TRUE(matches(result.err, c.err, box)) << describe(result);
        EXPECT_EQ(box.read(u"in.txt"_s), c.input);
        QStringList expected {u"in.txt"_s};
        if (c.status == 0 && c.arguments[0] == '/') { // a job, not --help or --version
            expected << u"out.txt"_s;
            EXPECT_EQ(box.read(u"out.txt"_s), "a\nb\n");
        }
        EXPECT_EQ(box.entries(), expected);
    }
}

// A UTF-16 file is saved in its own encoding; UTF-32 is refused before anything is written.
TEST(BatchRunTest, Utf16IsSavedAsItWasAndUtf32IsRefused)
{
    const QByteArray utf16("\xFF\xFEx\0\r\0\n\0X\0\r\0\n\0y\0\r\0\n\0", 20);
    const QByteArray utf32("\xFF\xFE\0\0x\0\0\0\n\0\0\0x\0\0\0\n\0\0\0", 20);
    const struct
    {
        QByteArray input;
        int status;
        QByteArray output; // empty: none written
        const char *err;
    } cases[] = {
        {utf16, 0, QByteArray("\xFF\xFEx\0\r\0\n\0y\0\r\0\n\0", 14), ""},
        {utf32, 2, {},
            "@/in\\.txt looks like a binary or UTF-32 file; Twinscan reads 8-bit, UTF-8 and "
            "UTF-16 text\n"},
    };
    for (const auto &c : cases) {
        Sandbox box;
        box.write(u"in.txt"_s, c.input);
        const RunResult result = box.run(words("/i @/in.txt /o @/out.txt /s 2"));
        EXPECT_EQ(result.exitCode, c.status) << describe(result);
        EXPECT_TRUE(matches(result.err, c.err, box)) << describe(result);
        EXPECT_EQ(box.read(u"in.txt"_s), c.input);
        if (c.output.isEmpty())
            EXPECT_EQ(box.entries(), QStringList {u"in.txt"_s});
        else
            EXPECT_EQ(box.read(u"out.txt"_s), c.output);
    }
}

// Names reach the file system as the bytes given: one that is not UTF-8 would come out changed,
// so it is refused before anything is written.
TEST(BatchRunTest, ANameThatIsNotUtf8IsRefused)
{
    Sandbox box;
    box.write(u"in.txt"_s, "a\na\n");
    box.program = u"/bin/sh"_s;
    const RunResult result
        = box.run({u"-c"_s, uR"sh(exec "$0" /i @/in.txt /o "$(printf '@/out\377.txt')" /s 2)sh"_s});
    EXPECT_EQ(result.exitCode, 2) << describe(result);
    EXPECT_TRUE(result.err.contains("out\xff.txt: not valid UTF-8")) << describe(result);
    EXPECT_EQ(box.entries(), QStringList {u"in.txt"_s});
}

// Jobs started by a shell with its redirections: standard output named as the target is written
// as the shell opened it, so a log appended to keeps what it held, and the result lines keep out
// of the data, on standard error; closed standard streams take none of the job's own pipes, and
// a closed one named as the target fails as the shell's own write would, not into /dev/null.
TEST(BatchRunTest, ShellRedirections)
{
    const struct
    {
        const char *name;
        const char *job;
        const char *file;
        const char *content;
        const char *err;
        int exitCode;
    } cases[] = {
        {"output appended to a log", "/o /dev/stdout /s 2 >>@/app.log", "app.log",
            "earlier\na\nb\n", "Scanned [^\n]+\nDone!{time}", 0},
        {"input and output closed", "/o @/out.txt /s 2 <&- >&-", "out.txt", "a\nb\n", "", 0},
        {"closed output as the target", "/o /dev/stdout /s 2 >&-", "app.log", "earlier\n",
            "Can't write /dev/stdout: Bad file descriptor\n", 2},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Sandbox box;
        box.write(u"in.txt"_s, "a\nb\nA\n");
        box.write(u"app.log"_s, "earlier\n");
        box.program = u"/bin/sh"_s;
        const RunResult result
            = box.run({u"-c"_s, u"exec \"$0\" /i @/in.txt "_s + QString::fromLatin1(c.job)});
        EXPECT_EQ(result.exitCode, c.exitCode) << describe(result);
        EXPECT_EQ(box.read(QString::fromLatin1(c.file)), c.content);
        EXPECT_TRUE(matches(result.err, c.err, box)) << describe(result);
    }
}

// Options not on the command line come from the store, which an unattended run never writes.
TEST(BatchRunTest, StoredOptionsApplyAndTheStoreStaysAsItWas)
{
    const QByteArray ini = "[Twinscan]\r\ncaseSensitive=1\r\nsaveEmptyLines=0\r\n";
    Sandbox box;
    QDir().mkpath(box.path(u"../config/Corvane"_s));
    box.write(u"../config/Corvane/Twinscan.ini"_s, ini);
    box.write(u"in.txt"_s, "a\n\nA\nb\na\n");
    const RunResult result = box.run(words("/i @/in.txt /o @/out.txt /s 2"));
    EXPECT_EQ(result.exitCode, 0) << describe(result);
    EXPECT_EQ(box.read(u"out.txt"_s), "a\nA\nb\n");
    EXPECT_EQ(box.read(u"../config/Corvane/Twinscan.ini"_s), ini);
    EXPECT_EQ(QDir(box.path(u"../config/Corvane"_s)).entryList(QDir::Files | QDir::Hidden),
        QStringList {u"Twinscan.ini"_s});
}

// A settings file that is not a regular file is never opened: a FIFO would block the start.
TEST(BatchRunTest, ASettingsFifoIsPassedOver)
{
    Sandbox box;
    const QString fifo = QDir::cleanPath(box.path(u"../config/Corvane/Twinscan.ini"_s));
    QDir().mkpath(box.path(u"../config/Corvane"_s));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    box.write(u"in.txt"_s, "a\nb\nA\n");
    const RunResult result = box.run(words("/i @/in.txt /o @/out.txt /s 2"));
    EXPECT_EQ(result.exitCode, 0) << describe(result);
    EXPECT_TRUE(result.err.contains(QFile::encodeName(fifo))) << describe(result);
    EXPECT_EQ(box.read(u"out.txt"_s), "a\nb\n");
}

} // namespace
} // namespace twinscan::e2e
