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

    void expectReplaced(const SaveResult &result, const QString &target)
    {
        EXPECT_EQ(result.status, SaveStatus::Completed) << result.message.toStdString();
        EXPECT_TRUE(result.target.replaceSource);
        EXPECT_EQ(readBytes(target), saved);
        EXPECT_TRUE(leftovers().isEmpty()) << leftovers().join(QLatin1Char(' ')).toStdString();
    }
};

// The replaced file keeps the source's permissions and owner, and a link planted where the
// temporary file goes is never written through.
TEST_F(SafeSaveTest, SavingOverTheSourceReplacesItSafely)
{
    scanInput();
    writeBytes(path("victim.txt"), "precious\n");
    ASSERT_TRUE(QFile::link(path("victim.txt"), source + QStringLiteral(".twintemp")));
    const QByteArray name = QFile::encodeName(source);
    ASSERT_EQ(::chmod(name.constData(), 0640), 0);
    const bool root = ::geteuid() == 0; // only root can hand the file to someone else
    if (root) {
        ASSERT_EQ(::chown(name.constData(), 65534, 65534), 0);
    }
    const SaveResult result = saveTo(source);
    expectReplaced(result, source);
    EXPECT_EQ(result.target.outputFile, source + QStringLiteral(".twintemp"));
    const struct stat st = statOf(source);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(st.st_uid, root ? 65534u : ::geteuid());
    EXPECT_EQ(readBytes(path("victim.txt")), "precious\n");
}

// Another name of the source must not be opened for writing while the source is read. The name
// asked for gets the result; a hard link gets a file of its own, so the source's own name keeps
// the scanned text.
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
        scanInput();
        if (hardLink)
            std::filesystem::create_hard_link(source.toStdString(), target.toStdString());
        expectReplaced(saveTo(target), target);
        EXPECT_EQ(readBytes(source), hardLink ? input : saved);
    }
    QDir::setCurrent(cwd);
    EXPECT_TRUE(S_ISLNK(statOf(path("soft.txt"), false).st_mode));
}

TEST_F(SafeSaveTest, ASourceThatIsALinkStaysALink)
{
    ASSERT_TRUE(dir.mkdir(QStringLiteral("real")));
    const QString real = path("real/data.txt");
    writeBytes(real, input);
    ASSERT_TRUE(QFile::link(real, path("a.txt")));
    scanInput(); // writes the file through the link
    const SaveResult result = saveTo(source);
    expectReplaced(result, real);
    EXPECT_TRUE(S_ISLNK(statOf(source, false).st_mode));
    EXPECT_EQ(result.target.replacedFile, QFileInfo(real).canonicalFilePath());
}

// A stopped save leaves the source as it was and keeps what was written: the target, or the
// temporary file, which others cannot read.
TEST_F(SafeSaveTest, StopKeepsWhatWasWritten)
{
    for (const bool overSource : {false, true}) {
        SCOPED_TRACE(overSource ? "over the source" : "to another file");
        scan(numberedLines(10000), {2});
        int calls = 0;
        const QString target = overSource ? source : path("out.txt");
        const SaveResult result = saveTo(target, [&](qint64, qint64) { return ++calls < 2; });
        EXPECT_EQ(result.status, SaveStatus::Stopped);
        EXPECT_EQ(result.removedCount, 1);
        std::string partial = numberedLines(4096);
        partial.erase(7, 7); // "line 2\n"
        EXPECT_EQ(readBytes(result.target.outputFile), partial);
        EXPECT_EQ(readBytes(source), original);
        EXPECT_EQ(
            result.target.outputFile, overSource ? source + QStringLiteral(".twintemp") : target);
        if (overSource) {
            EXPECT_EQ(statOf(result.target.outputFile).st_mode & 0777, 0600u);
        }
    }
}

// Line numbers of a file that changed since its scan would remove the wrong lines: the save and
// the check made before the save dialog both refuse, and nothing is written.
TEST_F(SafeSaveTest, AChangedOrMissingSourceIsRefused)
{
    enum Change { Grown, SameSizeNewTime, ReplacedByACopy, Removed, ReplacedByAFolder };
    for (const Change change :
        {Grown, SameSizeNewTime, ReplacedByACopy, Removed, ReplacedByAFolder}) {
        SCOPED_TRACE(int(change));
        scanInput();
        EXPECT_EQ(checkSource(source, request.scannedStamp), SourceState::Unchanged);
        // Each change keeps all but one of size, time and file as they were scanned.
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
        if (change == ReplacedByAFolder)
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

// A failure is never a success: it names the file and the system's reason, the source stays
// whole, and a failed replacement leaves no temporary file. A full disk shows up only when the
// buffered lines are written out; a file size limit makes writing fail even for root.
TEST_F(SafeSaveTest, FailuresNameTheFileAndKeepTheSource)
{
    const struct
    {
        const char *target; // empty for the source itself
        int errorNumber;
        rlim_t sizeLimit;
    } cases[] = {{"no such/out.txt", ENOENT, RLIM_INFINITY}, {"/dev/full", ENOSPC, RLIM_INFINITY},
        {"", EFBIG, 4096}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.errorNumber);
        scan(numberedLines(10000), {1});
        rlimit saved {};
        ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
        const rlimit limited {std::min(c.sizeLimit, saved.rlim_cur), saved.rlim_max};
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
        const SaveResult result = saveTo(*c.target ? path(c.target) : source);
        ::setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);

        EXPECT_EQ(result.status, SaveStatus::Failed);
        EXPECT_TRUE(result.message.contains(QDir::toNativeSeparators(result.target.outputFile)))
            << result.message.toStdString();
        EXPECT_TRUE(result.message.contains(reason(c.errorNumber))) << result.message.toStdString();
        EXPECT_EQ(readBytes(source), original);
        EXPECT_TRUE(leftovers().isEmpty());
    }
}

} // namespace
