// SIGINT, SIGTERM and SIGHUP sent to the real program: the first one ends a save, whatever it is
// blocked on, leaving the user's files whole and no temporary file, and the program ends with
// 128 + the signal's number; once the result is in place, the job reports what it did.

#include "Sandbox.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <thread>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace twinscan::e2e {
namespace {

// Enough lines that the save runs for a good part of a second.
QByteArray manyLines()
{
    QByteArray text;
    for (int n = 0; n < 2000000; ++n)
        text += QByteArray::number(n % 1000003) + '\n';
    return text;
}

// Whether the program has a file of the work folder open other than its input: its output.
bool writesIntoWork(qint64 pid, const Sandbox &box)
{
    const QString fds = u"/proc/%1/fd"_s.arg(pid);
    for (const QString &fd : QDir(fds).entryList(QDir::Files | QDir::System)) {
        const QString file = QFile::symLinkTarget(fds + u'/' + fd);
        if (file.startsWith(box.path(u"@/"_s)) && !file.endsWith(u"/in.txt"_s))
            return true;
    }
    return false;
}

// Whether it waits for a FIFO's reader or for room in a pipe.
bool blockedOnAPipe(qint64 pid)
{
    QFile wchan(u"/proc/%1/wchan"_s.arg(pid));
    if (!wchan.open(QIODevice::ReadOnly))
        return false;
    const QByteArray waits = wchan.readAll();
    return waits == "pipe_write" || waits == "wait_for_partner";
}

// Reads a FIFO a little at a time, as a slow program at its other end would, until told to end;
// `reading` is set once the first bytes came.
void readSlowly(const std::stop_token &stop, const QString &fifo, std::atomic<bool> &reading)
{
    const int fd = ::open(QFile::encodeName(fifo).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    char buffer[4096];
    while (fd >= 0 && !stop.stop_requested()) {
        if (::read(fd, buffer, sizeof buffer) > 0)
            reading = true;
        QThread::msleep(50);
    }
    if (fd >= 0)
        ::close(fd);
}

TEST(SignalTest, AnUnattendedSaveEndsOnTheFirstSignal)
{
    static const QByteArray input = manyLines();
    // Stopped while it writes, while it waits for a reader, while a slow reader reads what it
    // wrote, or once its result is in place.
    enum When { Writing, Blocked, ReadSlowly, Replaced };
    const char *const errs[] = {"Stopped: nothing was written.\n", "Done! (Interrupted by User)\n",
        "Done! (Interrupted by User)\n", ""};
    const struct
    {
        const char *name;
        int signal;
        const char *job; // in a shell's words
        When when;
    } cases[] = {
        {"over the input", SIGINT, "/s 1 /o @/in.txt", Writing},
        {"a new file", SIGTERM, "/s 1 /o @/out.txt", Writing},
        {"hung up", SIGHUP, "/s 1 /o @/in.txt", Writing},
        {"a FIFO nobody reads", SIGTERM, "/s 1 /o @/out.fifo", Blocked},
        {"a pipe nobody empties", SIGINT, "/s 2 /o @/out.fifo 3<>@/out.fifo", Blocked},
        {"a FIFO read slowly", SIGINT, "/s 2 /o @/out.fifo", ReadSlowly},
        {"a descriptor read slowly", SIGTERM, "/s 2 /o /dev/fd/3 3>@/out.fifo", ReadSlowly},
        {"after the rename", SIGTERM, "/s 1 /o @/out.txt", Replaced},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Sandbox box;
        box.write(u"in.txt"_s, input);
        ASSERT_EQ(::mkfifo(QFile::encodeName(box.path(u"out.fifo"_s)).constData(), 0600), 0);
        std::atomic<bool> reading = false;
        const std::function<bool(qint64)> ready[]
            = {[&box](qint64 pid) { return writesIntoWork(pid, box); }, blockedOnAPipe,
                [&reading](qint64) { return reading.load(); },
                [&box](qint64) { return QFile::exists(box.path(u"out.txt"_s)); }};
        std::jthread reader;
        if (c.when == ReadSlowly)
            reader = std::jthread(readSlowly, box.path(u"out.fifo"_s), std::ref(reading));
        QElapsedTimer sinceSignal;
        box.whileRunning = [&](qint64 pid) {
            QElapsedTimer waited;
            waited.start();
            // Where the kernel does not say what a process waits for, it is blocked by then.
            while (!ready[c.when](pid) && !(c.when == Blocked && waited.elapsed() > 8000)) {
                if (waited.elapsed() > 60000)
                    return ADD_FAILURE() << "no save seen";
                QThread::usleep(500);
            }
            sinceSignal.start();
            ::kill(pid_t(pid), c.signal);
        };
        const RunResult result = box.run(u"/i @/in.txt "_s + QString::fromLatin1(c.job), 120);
        // Within a second as a rule; the margin is for a loaded or sanitized run.
        EXPECT_LT(sinceSignal.elapsed(), 5000);
        const bool replaced = c.when == Replaced;
        EXPECT_EQ(result.exitCode, replaced ? 0 : 128 + c.signal) << describe(result);
        EXPECT_TRUE(result.out.startsWith("Scanned ")) << describe(result);
        EXPECT_EQ(result.err, errs[c.when]) << describe(result);
        EXPECT_TRUE(box.read(u"in.txt"_s) == input);
        EXPECT_EQ(result.out.contains("\nDone! ("), replaced) << describe(result);
        QStringList entries {u"in.txt"_s, u"out.fifo"_s};
        EXPECT_EQ(box.entries(), replaced ? entries << u"out.txt"_s : entries);
    }
}
// The window, even idle, closes as a user would close it, storing its settings, and the program
// ends likewise; a settings lock that cannot be taken (a folder in its place) costs the settings,
// said in one line, not the end.
TEST(SignalTest, TheWindowClosesOnASignal)
{
    for (const bool lockBlocked : {false, true}) {
        SCOPED_TRACE(lockBlocked);
        Sandbox box;
        const QString store = QDir::cleanPath(box.path(u"@/../config/Corvane/Twinscan.ini"_s));
        ASSERT_TRUE(QDir().mkpath(lockBlocked ? store + u".lock"_s : QFileInfo(store).path()));
        box.setVariable(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        box.whileRunning = [](qint64 pid) {
            QThread::msleep(1500);
            ::kill(pid_t(pid), SIGTERM);
        };
        // The lock is given up after a second: a run that waits much longer is killed and fails.
        // The bound counts from the signal and leaves room for a loaded or sanitized run, yet
        // stays well below a wait of ten seconds.
        const RunResult result = box.run({}, 6);
        EXPECT_EQ(result.exitCode, 128 + SIGTERM) << describe(result);
        EXPECT_EQ(QFileInfo::exists(store), !lockBlocked);
        // The offscreen platform has notes of its own on standard error.
        const QByteArray unsaved = "twinscan: settings not saved: " + QFile::encodeName(store)
            + " could not be locked within a second\n";
        EXPECT_EQ(result.err.contains(unsaved), lockBlocked) << describe(result);
    }
}

} // namespace
} // namespace twinscan::e2e
