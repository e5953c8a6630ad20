// SIGINT, SIGTERM and SIGHUP sent to the real program: a save they interrupt leaves the user's
// files whole and no temporary file, and the program ends with 128 + the signal's number.

#include "Sandbox.h"

#include <QDir>
#include <QElapsedTimer>
#include <QThread>
#include <csignal>

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

TEST(SignalTest, AnUnattendedSaveEndsWithTheSignalsStatus)
{
    static const QByteArray input = manyLines();
    const struct
    {
        int signal;
        const char *output;
    } cases[] = {{SIGINT, "@/in.txt"}, {SIGTERM, "@/out.txt"}, {SIGHUP, "@/in.txt"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.signal);
        Sandbox box;
        box.write(u"in.txt"_s, input);
        // The signal goes as soon as the save's temporary file appears in the work folder.
        box.whileRunning = [&box, signal = c.signal](qint64 pid) {
            const QDir work(box.path(u"@/"_s));
            QElapsedTimer waited;
            waited.start();
            while (work.entryList({u".twinscan-*"_s}, QDir::Files | QDir::Hidden).isEmpty()) {
                if (waited.elapsed() > 60000)
                    return ADD_FAILURE() << "no save seen";
                QThread::usleep(500);
            }
            ::kill(pid_t(pid), signal);
        };
        const RunResult result = box.run(
            {u"/i"_s, u"@/in.txt"_s, u"/o"_s, QString::fromLatin1(c.output), u"/s"_s, u"1"_s}, 120);
        EXPECT_EQ(result.exitCode, 128 + c.signal) << describe(result);
        EXPECT_TRUE(result.out.startsWith("Scanned ")) << describe(result);
        EXPECT_EQ(result.err, "Done! (Interrupted by User)\n") << describe(result);
        EXPECT_TRUE(box.read(u"in.txt"_s) == input);
        EXPECT_EQ(box.entries(), QStringList {u"in.txt"_s});
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
        const RunResult result = box.run({}, 10);
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
