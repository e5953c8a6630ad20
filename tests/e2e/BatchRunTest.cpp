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
    QByteArray input; // in.txt
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

// Only a job that ends with status 0 leaves an output; the input is never changed. UTF-32 is
// refused before anything is written.
TEST(BatchRunTest, StatusAndStreams)
{
    const QByteArray utf32("\xFF\xFE\0\0x\0\0\0\n\0\0\0x\0\0\0\n\0\0\0", 20);
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
        {"UTF-32", utf32, "/i @/in.txt /o @/out.txt /s 2", 2, "",
            "@/in\\.txt looks like a binary or UTF-32 file; Twinscan reads 8-bit, UTF-8 and "
            "UTF-16 text\n"},
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

// Jobs started by a shell with its redirections: standard output named as the target is written
// as the shell opened it, so a log appended to keeps what it held, and the result lines keep out
// of the data, on standard error; closed standard streams take none of the job's own pipes, and
// a closed one named as the target fails as the shell's own write would, not into /dev/null.
// Names reach the file system as the bytes given: one that is not UTF-8 would come out changed,
// so it is refused before anything is written.
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
        {"a name that is not UTF-8", "/o \"$(printf '@/out\\377.txt')\" /s 2", "app.log",
            "earlier\n", "[^\n]*out.\\.txt: not valid UTF-8[^\n]*\n", 2},
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
        EXPECT_EQ(box.entries().size(), c.file[0] == 'o' ? 3 : 2); // app.log, in.txt and the file
    }
}

// Options not on the command line come from the store, which an unattended run never writes. A
// store that is not a regular file is never opened: a FIFO would block the start.
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
        const RunResult result = box.run(words("/i @/in.txt /o @/out.txt /s 2"));
        EXPECT_EQ(result.exitCode, 0) << describe(result);
        EXPECT_EQ(result.err.contains(QFile::encodeName(store)), fifo) << describe(result);
        EXPECT_EQ(box.read(u"out.txt"_s), fifo ? "a\n\nb\n" : "a\nA\nb\n");
        if (!fifo) {
            EXPECT_EQ(box.read(store), ini);
        }
        EXPECT_EQ(QDir(box.path(u"../config/Corvane"_s))
                      .entryList(QDir::Files | QDir::Hidden | QDir::System),
            QStringList {u"Twinscan.ini"_s});
    }
}

} // namespace
} // namespace twinscan::e2e
