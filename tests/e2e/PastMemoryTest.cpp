// The unattended job on a file that does not fit its memory: scanned with temporary files, it
// writes what the in-memory scan writes and says the same, and it leaves no file behind however
// it ends.

#include "Sandbox.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QThread>
#include <csignal>

using namespace Qt::StringLiterals;

namespace twinscan::e2e {
namespace {

QByteArray varied(int lines)
{
    QByteArray text;
    for (int n = 0; n < lines; ++n)
        text += (n % 3 ? QByteArray::number(n * 7 % 1009) : "Word "_ba + QByteArray::number(n % 11))
            + (n % 5 ? "\n" : "\r\n");
    return text;
}

// A budget of one byte sends every job past memory.
TEST(PastMemoryTest, WritesWhatTheInMemoryJobWrites)
{
    const struct
    {
        const char *name;
        const char *switches;
        QByteArray input;
    } cases[] = {
        {"keep first", "/s 2", varied(3000)},
        {"keep last", "/s 3", varied(3000)},
        {"remove all", "/s 1", varied(3000)},
        {"case, trim and empty lines", "/s 2 /c off /r on /e on /t on /m off",
            " a\nA\n\n\na \nb\n"},
        {"UTF-16", "/s 3",
            QByteArray("\xFF\xFE"
                       "a\0\n\0A\0\r\0\n\0b\0\n\0a\0",
                18)},
        {"nothing to remove", "/s 2", "a\nb\n"},
    };
    for (const auto &c : cases) {
        Sandbox box;
        box.write(u"in.txt"_s, c.input);
        const QString job = u"/i @/in.txt /o @/out.txt "_s + QLatin1StringView(c.switches);
        const RunResult inMemory = box.run(job);
        const bool writes = inMemory.exitCode == 0;
        const QByteArray expected = writes ? box.read(u"out.txt"_s) : QByteArray();
        QFile::remove(box.path(u"@/out.txt"_s));
        box.setVariable(u"TWINSCAN_MEMORY"_s, u"1b"_s);
        box.setVariable(u"TWINSCAN_TMPDIR"_s, box.path(u"@/"_s));
        const RunResult pastMemory = box.run(job);
        EXPECT_EQ(pastMemory.exitCode, inMemory.exitCode) << c.name << describe(pastMemory);
        if (writes) {
            EXPECT_EQ(box.read(u"out.txt"_s), expected) << c.name;
        }
        const auto withoutTime = [](QByteArray out) {
            return QString::fromUtf8(out).remove(QRegularExpression(u"\\d+:\\d\\d"_s));
        };
        EXPECT_EQ(withoutTime(pastMemory.out), withoutTime(inMemory.out)) << c.name;
        EXPECT_EQ(box.entries(),
            QStringList({u"in.txt"_s, u"out.txt"_s}).mid(0, expected.isNull() ? 1 : 2))
            << c.name;
    }
}

// The filter with one byte of memory writes what it writes with all it wants, or says why not,
// whether it reads the file or a pipe, which it copies to a temporary file first.
TEST(PastMemoryTest, TheFilterWritesWhatItWritesInMemory)
{
    const QString named = u"\"$0\"%2 %1 @/in.txt"_s;
    const QString piped = u"cat @/in.txt | \"$0\"%2 %1"_s;
    const struct
    {
        const char *options;
        QByteArray input;
        const QString &script;
    } cases[] = {
        {"--keep=first", varied(3000), named},
        {"--keep=last --trim-output", varied(3000), named},
        {"--keep=none -i --trim", " a\nA\n\n\na \nb\n", named},
        {"-u --ignore-empty --drop-empty", "a\n\nb\na\n\nc", named},
        {"--fields=2 -t, --keep=last", "a,1\nb,1\nc,2\nd\n", named},
        {"--check", varied(300), named},
        {"--check", "a\nb\n", named},
        {"-o @/in.txt", varied(3000), named},
        {"-z --keep=last", QByteArray("a\nb\0a\0a\nb\0\r\0\r", 14), named},
        {"--keep=last", varied(3000), piped},
        {"--check", varied(300), piped},
        {"-u",
            QByteArray("\xFF\xFE"
                       "a\0\n\0A\0\r\0\n\0b\0\n\0a\0",
                18),
            piped},
    };
    for (const auto &c : cases) {
        Sandbox box;
        box.write(u"in.txt"_s, c.input);
        const QString options = QLatin1StringView(c.options);
        const RunResult inMemory = box.runScript(c.script.arg(options, QString()));
        const QByteArray inAfter = box.read(u"in.txt"_s);
        box.write(u"in.txt"_s, c.input);
        box.setVariable(u"TWINSCAN_TMPDIR"_s, box.path(u"@/"_s));
        const RunResult pastMemory = box.runScript(c.script.arg(options, u" -S1b"_s));
        EXPECT_EQ(pastMemory.exitCode, inMemory.exitCode) << c.options << describe(pastMemory);
        EXPECT_EQ(pastMemory.out, inMemory.out) << c.options;
        EXPECT_EQ(pastMemory.err, inMemory.err) << c.options;
        EXPECT_EQ(box.read(u"in.txt"_s), inAfter) << c.options;
        EXPECT_EQ(box.entries(), QStringList {u"in.txt"_s}) << c.options;
    }
    Sandbox box;
    box.write(u"in.txt"_s, "a\na\n");
    for (const QString &script : {named, piped}) {
        const RunResult counted = box.runScript(script.arg(u"-c"_s, u" -S1b"_s));
        EXPECT_EQ(counted.exitCode, 2);
        EXPECT_EQ(counted.out, "");
        EXPECT_TRUE(counted.err.contains("does not fit in memory")) << describe(counted);
    }
}

// Whether the program holds a file of `folder` open that has no name there.
bool holdsUnnamedFile(qint64 pid, const QString &folder)
{
    const QString fds = u"/proc/%1/fd"_s.arg(pid);
    for (const QString &fd : QDir(fds).entryList(QDir::Files | QDir::System)) {
        const QString file = QFile::symLinkTarget(fds + u'/' + fd);
        if (file.startsWith(folder) && file.endsWith(u" (deleted)"_s))
            return true;
    }
    return false;
}

// The job takes the way past memory, and its temporary files have no names from the start: a
// kill in the middle of the scan leaves as little as a signal does.
TEST(PastMemoryTest, LeavesNothingWhenKilledOrSignalled)
{
    QByteArray input;
    for (int n = 0; n < 3000000; ++n)
        input += QByteArray::number(n) + '\n';
    for (const int signal : {SIGKILL, SIGTERM}) {
        Sandbox box;
        box.write(u"in.txt"_s, input);
        box.setVariable(u"TWINSCAN_MEMORY"_s, u"8M"_s);
        box.setVariable(u"TWINSCAN_TMPDIR"_s, box.path(u"@/"_s));
        bool spilled = false;
        box.whileRunning = [&](qint64 pid) {
            for (int wait = 0; wait < 1000 && !spilled; ++wait) {
                spilled = holdsUnnamedFile(pid, box.path(u"@/"_s));
                QThread::msleep(5);
            }
            ::kill(pid_t(pid), signal);
        };
        const RunResult result = box.run(u"/i @/in.txt /o @/out.txt /s 2"_s);
        EXPECT_EQ(result.exitCode, signal == SIGKILL ? -1 : 128 + signal) << describe(result);
        EXPECT_TRUE(spilled) << signal;
        EXPECT_EQ(box.entries(), QStringList {u"in.txt"_s}) << signal;
    }
}

} // namespace
} // namespace twinscan::e2e
