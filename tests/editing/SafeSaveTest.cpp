#include "SaveFixture.h"
#include "editing/SourceCheck.h"

#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace twinscan;
using namespace twinscan::test;

namespace {

struct stat statOf(const QString &path, bool follow = true)
{
    struct stat st
    {
    };
    const QByteArray name = QFile::encodeName(path);
    EXPECT_EQ(follow ? ::stat(name.constData(), &st) : ::lstat(name.constData(), &st), 0);
    return st;
}

void setMode(const QString &path, mode_t mode)
{
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0);
}

QString reason(int errorNumber)
{
    return QString::fromUtf8(std::strerror(errorNumber));
}

// Numbered lines: ten thousand are enough for a stop between two progress reports.
std::string numberedLines(int count)
{
    std::string text;
    for (int n = 1; n <= count; ++n)
        text += "line " + std::to_string(n) + "\n";
    return text;
}

class SafeSaveTest : public SaveFixture
{
public: // the cases of a table reach the fixture through a reference
    const std::string input = "keep 1\ndup\nkeep 2\ndup\n";
    const std::string saved = "keep 1\ndup\nkeep 2\n";

    void scanInput() { scan(input, {4}); }

    void expectSaved(const SaveResult &result, const QString &target)
    {
        EXPECT_EQ(result.status, SaveStatus::Completed) << result.message.toStdString();
        EXPECT_EQ(readBytes(target), saved);
        EXPECT_TRUE(leftovers().isEmpty()) << leftovers().join(QLatin1Char(' ')).toStdString();
    }
};

// The result replaces a file, the source or an earlier output, in one rename: it keeps that
// file's permission bits and owner, a new file gets the usual ones, and files that only look
// like temporary ones, another run's among them, are left alone.
TEST_F(SafeSaveTest, TheResultTakesThePlaceOfTheFileItReplaces)
{
    const bool root = ::geteuid() == 0; // only root can hand the file to someone else
    for (const char *target : {"a.txt", "earlier.txt", "new.txt"}) {
        SCOPED_TRACE(target);
        scanInput();
        const QString replaced = path(target);
        writeBytes(path("a.txt.twintemp"), "kept\n");
        writeBytes(path(".twinscan-0123abcd.twintemp"), "another run's\n");
        if (replaced != source && !replaced.endsWith(QLatin1String("new.txt")))
            writeBytes(replaced, std::string(5000, 'z'));
        if (QFile::exists(replaced))
            setMode(replaced, 0640);
        if (root && QFile::exists(replaced)) {
            ASSERT_EQ(::chown(QFile::encodeName(replaced).constData(), 65534, 65534), 0);
        }
        if (replaced == source)
            scanInput(); // the permissions changed the stamp
        const mode_t mask = ::umask(022);
        ::umask(mask);

        const SaveResult result = saveTo(replaced);
        EXPECT_EQ(result.status, SaveStatus::Completed) << result.message.toStdString();
        EXPECT_EQ(result.target.replaceSource, replaced == source);
        EXPECT_EQ(readBytes(replaced), saved);
        const bool isNew = replaced.endsWith(QLatin1String("new.txt"));
        const struct stat st = statOf(replaced);
        EXPECT_EQ(st.st_mode & 07777, isNew ? 0666 & ~mask : 0640u);
        EXPECT_EQ(st.st_uid, root && !isNew ? 65534u : ::geteuid());
        EXPECT_EQ(readBytes(path("a.txt.twintemp")), "kept\n");
        EXPECT_EQ(readBytes(path(".twinscan-0123abcd.twintemp")), "another run's\n");
        EXPECT_EQ(leftovers().size(), 2);
        QFile::remove(path("a.txt.twintemp"));
        QFile::remove(path(".twinscan-0123abcd.twintemp"));
    }
}

// Another name of the source must not be opened for writing while the source is read. The name
// asked for gets the result; a hard link gets a file of its own, so the source's own name keeps
// the scanned text. A symbolic link stays a link, whether it is the target or the source.
TEST_F(SafeSaveTest, OtherNamesOfTheSourceAreTreatedAsTheSource)
{
    ASSERT_TRUE(dir.mkdir(QStringLiteral("sub")));
    ASSERT_TRUE(QFile::link(path("a.txt"), path("soft.txt")));
    const QString cwd = QDir::currentPath();
    QDir::setCurrent(dir.path());
    const std::pair<QString, bool> cases[] = {{path("sub/../a.txt"), false},
        {QStringLiteral("a.txt"), false}, {path("soft.txt"), false}, {path("hard.txt"), true}};
    for (const auto &[target, hardLink] : cases) {
        SCOPED_TRACE(target.toStdString());
        QFile::remove(path("hard.txt"));
        writeBytes(path("a.txt"), input);
        if (hardLink) // made before the scan: a new link changes the file's change time
            std::filesystem::create_hard_link(path("a.txt").toStdString(), target.toStdString());
        scanInput();
        const SaveResult result = saveTo(target);
        EXPECT_TRUE(result.target.replaceSource);
        expectSaved(result, target);
        EXPECT_EQ(readBytes(source), hardLink ? input : saved);
    }
    QDir::setCurrent(cwd);
    EXPECT_TRUE(S_ISLNK(statOf(path("soft.txt"), false).st_mode));

    ASSERT_TRUE(dir.mkdir(QStringLiteral("real")));
    writeBytes(path("real/data.txt"), input);
    scan(input, {4}, "real/data.txt");
    ASSERT_TRUE(QFile::remove(path("soft.txt")));
    ASSERT_TRUE(QFile::link(source, path("soft.txt")));
    request.sourceFile = path("soft.txt");
    expectSaved(saveTo(request.sourceFile), source);
    EXPECT_TRUE(S_ISLNK(statOf(path("soft.txt"), false).st_mode));
}

// A stopped save leaves every file of the user as it was; what was written stays in its
// temporary file, which others cannot read.
TEST_F(SafeSaveTest, StopKeepsWhatWasWrittenAside)
{
    for (const bool overSource : {false, true}) {
        SCOPED_TRACE(overSource ? "over the source" : "to another file");
        scan(numberedLines(10000), {2});
        writeBytes(path("out.txt"), "earlier\n");
        int calls = 0;
        const QString target = overSource ? source : path("out.txt");
        const SaveResult result = saveTo(target, [&](qint64, qint64) { return ++calls < 2; });
        EXPECT_EQ(result.status, SaveStatus::Stopped);
        EXPECT_EQ(result.removedCount, 1);
        std::string partial = numberedLines(4096);
        partial.erase(7, 7); // "line 2\n"
        EXPECT_EQ(readBytes(result.target.outputFile), partial);
        EXPECT_EQ(leftovers(), QStringList {QFileInfo(result.target.outputFile).fileName()});
        EXPECT_EQ(statOf(result.target.outputFile).st_mode & 0777, 0600u);
        EXPECT_EQ(readBytes(source), original);
        EXPECT_EQ(readBytes(path("out.txt")), "earlier\n");
        QFile::remove(result.target.outputFile);
    }
}

// Line numbers of a file that changed since its scan would remove the wrong lines: the save and
// the check made before the save dialog both refuse, and nothing is written. Each change keeps
// all but one of size, modification time, change time and file as they were scanned.
TEST_F(SafeSaveTest, AChangedOrMissingSourceIsRefused)
{
    enum Change { Grown, SameSizeNewTime, SameSizeTimePutBack, ReplacedByACopy, Removed, Folder };
    for (const Change change :
        {Grown, SameSizeNewTime, SameSizeTimePutBack, ReplacedByACopy, Removed, Folder}) {
        SCOPED_TRACE(int(change));
        scanInput();
        EXPECT_EQ(checkSource(source, request.scannedStamp), SourceState::Unchanged);
        const timespec scannedTime = statOf(source).st_mtim;
        const QString copy = change == ReplacedByACopy ? path("copy.txt") : source;
        writeBytes(copy, change == Grown ? input + "more\n" : "KEEP 1\nDUP\nKEEP 2\nDUP\n");
        const timespec times[2]
            = {{0, UTIME_OMIT}, change == SameSizeNewTime ? timespec {1000000000, 0} : scannedTime};
        ::utimensat(AT_FDCWD, QFile::encodeName(copy).constData(), times, 0);
        if (change >= ReplacedByACopy)
            QFile::remove(source);
        if (change == ReplacedByACopy)
            QFile::rename(copy, source);
        if (change == Folder)
            dir.mkdir(source);
        const bool missing = change >= Removed;
        EXPECT_EQ(checkSource(source, request.scannedStamp),
            missing ? SourceState::Missing : SourceState::Changed);
        const std::string changed = readBytes(source);
        for (const QString &target : {path("out.txt"), source}) {
            const SaveResult result = saveTo(target);
            EXPECT_EQ(
                result.status, missing ? SaveStatus::SourceMissing : SaveStatus::SourceChanged);
            EXPECT_EQ(result.message,
                missing ? QStringLiteral("Can't find original file!")
                        : QStringLiteral("The file has changed since it was scanned. Please scan "
                                         "it again before saving."));
            EXPECT_FALSE(QFile::exists(path("out.txt")));
            EXPECT_EQ(readBytes(source), changed);
            EXPECT_TRUE(leftovers().isEmpty());
        }
        dir.rmdir(source);
    }
}

// A failure is never a success: it names the file and the system's reason, the user's files stay
// whole, and no temporary file is left. A full disk shows up only when the buffered lines are
// written out; a file size limit makes writing fail even for root. A read-only file is not
// replaced, whether it is the source or an earlier output.
TEST_F(SafeSaveTest, FailuresNameTheFileAndKeepTheUsersFiles)
{
    const struct
    {
        const char *target; // empty for the source itself
        int errorNumber;
        rlim_t sizeLimit;
        mode_t mode; // of the target before the save
    } cases[]
        = {{"no such/out.txt", ENOENT, RLIM_INFINITY, 0}, {"/dev/full", ENOSPC, RLIM_INFINITY, 0},
            {"", EFBIG, 4096, 0644}, {"out.txt", EFBIG, 4096, 0644},
            {"", EACCES, RLIM_INFINITY, 0444}, {"out.txt", EACCES, RLIM_INFINITY, 0444}};
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.target) + " " + std::strerror(c.errorNumber));
        scan(numberedLines(10000), {1});
        const QString target = *c.target ? path(c.target) : source;
        if (target == path("out.txt"))
            writeBytes(target, "earlier\n");
        if (c.mode)
            setMode(target, c.mode);
        if (target == source)
            scan(original, {1});
        rlimit saved {};
        ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
        const rlimit limited {std::min(c.sizeLimit, saved.rlim_cur), saved.rlim_max};
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
        const SaveResult result = saveTo(target);
        ::setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);

        EXPECT_EQ(result.status, SaveStatus::Failed);
        EXPECT_EQ(result.message,
            QStringLiteral("Can't write %1: %2")
                .arg(QDir::toNativeSeparators(target), reason(c.errorNumber)));
        EXPECT_EQ(readBytes(source), original);
        if (target == path("out.txt")) {
            EXPECT_EQ(readBytes(target), "earlier\n");
        }
        EXPECT_TRUE(leftovers().isEmpty());
        QFile::remove(path("out.txt"));
    }
}

// Devices and pipes cannot be replaced: they are written directly, and syncing them, which they
// refuse, is not asked for.
TEST_F(SafeSaveTest, ATargetThatIsNoRegularFileIsWrittenDirectly)
{
    scanInput();
    EXPECT_EQ(saveTo(QStringLiteral("/dev/null")).status, SaveStatus::Completed);
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("fifo")).constData(), 0600), 0);
    std::string received;
    std::thread reader([&] { received = readBytes(path("fifo")); });
    const SaveResult result = saveTo(path("fifo"));
    reader.join();
    EXPECT_EQ(result.status, SaveStatus::Completed) << result.message.toStdString();
    EXPECT_TRUE(result.target.direct);
    EXPECT_EQ(received, saved);
    EXPECT_TRUE(leftovers().isEmpty());
}

// The temporary file's name does not grow with the target's, so the longest valid name saves
// over itself.
TEST_F(SafeSaveTest, TheLongestFileNameSavesOverItself)
{
    const std::string name(255, 'n');
    scan(input, {4}, name.c_str());
    expectSaved(saveTo(source), source);
}

} // namespace
