#include "SaveFixture.h"
#include "editing/SourceCheck.h"

#include <QFileInfo>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <functional>
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
    EXPECT_EQ(follow ? ::stat(name.constData(), &st) : ::lstat(name.constData(), &st), 0)
        << path.toStdString();
    return st;
}

bool isLink(const QString &path)
{
    return S_ISLNK(statOf(path, false).st_mode);
}

std::string reason(int errorNumber)
{
    return std::strerror(errorNumber);
}

// Ten thousand numbered lines: long enough for a stop between two progress reports.
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

    void scanInput() { scan(input), remove({4}); }

    void expectReplaced(const SaveResult &result)
    {
        EXPECT_EQ(result.status, SaveStatus::Completed) << result.message.toStdString();
        EXPECT_TRUE(result.target.replaceSource);
        EXPECT_EQ(result.removedCount, 1);
        EXPECT_EQ(readBytes(source), saved);
        EXPECT_TRUE(leftovers().isEmpty()) << leftovers().join(QLatin1Char(' ')).toStdString();
    }
};

TEST_F(SafeSaveTest, SavingOverTheSourceReplacesItAndKeepsItsPermissionsAndOwner)
{
    scanInput();
    const QByteArray name = QFile::encodeName(source);
    ASSERT_EQ(::chmod(name.constData(), 0640), 0);
    const bool root = ::geteuid() == 0;
    if (root) { // only root can hand the file to someone else
        ASSERT_EQ(::chown(name.constData(), 65534, 65534), 0);
    }

    const SaveResult result = saveTo(source);
    expectReplaced(result);
    EXPECT_EQ(result.target.outputFile, source + QStringLiteral(".twintemp"));
    EXPECT_EQ(result.target.replacedFile, source);
    const struct stat st = statOf(source);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    if (root) {
        EXPECT_EQ(st.st_uid, 65534u);
    }
}

// Another name of the source must not be opened for writing while the source is read.
TEST_F(SafeSaveTest, OtherNamesOfTheSourceAreTreatedAsTheSource)
{
    const struct
    {
        const char *name;
        std::function<QString(SafeSaveTest &)> makeTarget;
    } cases[] = {
        {"DotDot",
            [](SafeSaveTest &t) {
                t.dir.mkdir(QStringLiteral("sub"));
                return t.path(QStringLiteral("sub/../source.txt"));
            }},
        {"Relative",
            [](SafeSaveTest &t) {
                QDir::setCurrent(t.dir.path());
                return QStringLiteral("source.txt");
            }},
        {"SymbolicLink",
            [](SafeSaveTest &t) {
                QFile::link(t.source, t.path(QStringLiteral("link.txt")));
                return t.path(QStringLiteral("link.txt"));
            }},
    };
    const QString cwd = QDir::currentPath();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        scanInput();
        const QString target = c.makeTarget(*this);
        expectReplaced(saveTo(target));
        QDir::setCurrent(cwd);
    }
    EXPECT_TRUE(isLink(path(QStringLiteral("link.txt"))));
}

// The name asked for gets the result; the source's own name keeps the scanned text, whole, since
// the source is read while the new file is written.
TEST_F(SafeSaveTest, AHardLinkToTheSourceGetsTheResult)
{
    scanInput();
    const QString hard = path(QStringLiteral("hard.txt"));
    ASSERT_EQ(
        ::link(QFile::encodeName(source).constData(), QFile::encodeName(hard).constData()), 0);
    const SaveResult result = saveTo(hard);
    EXPECT_EQ(result.status, SaveStatus::Completed) << result.message.toStdString();
    EXPECT_TRUE(result.target.replaceSource);
    EXPECT_EQ(readBytes(hard), saved);
    EXPECT_EQ(readBytes(source), input);
    EXPECT_TRUE(leftovers().isEmpty());
}

TEST_F(SafeSaveTest, ASourceThatIsALinkStaysALink)
{
    ASSERT_TRUE(dir.mkdir(QStringLiteral("real")));
    const QString real = path(QStringLiteral("real/data.txt"));
    writeBytes(real, input);
    ASSERT_TRUE(QFile::link(real, path(QStringLiteral("source.txt"))));
    scan(input); // rewrites the file through the link
    remove({4});

    const SaveResult result = saveTo(source);
    expectReplaced(result);
    EXPECT_TRUE(isLink(source));
    EXPECT_EQ(readBytes(real), saved);
    EXPECT_EQ(result.target.replacedFile, QFileInfo(real).canonicalFilePath());
    EXPECT_FALSE(QFile::exists(result.target.outputFile));
}

TEST_F(SafeSaveTest, ALeftoverTemporaryFileIsNeverWrittenThrough)
{
    scanInput();
    const QString victim = path(QStringLiteral("victim.txt"));
    writeBytes(victim, "precious\n");
    ASSERT_TRUE(QFile::link(victim, source + QStringLiteral(".twintemp")));
    expectReplaced(saveTo(source));
    EXPECT_EQ(readBytes(victim), "precious\n");
}

TEST_F(SafeSaveTest, StopKeepsWhatWasWritten)
{
    for (const bool overSource : {false, true}) {
        SCOPED_TRACE(overSource ? "over the source" : "to another file");
        scan(numberedLines(10000));
        remove({2});
        int calls = 0;
        const QString target = overSource ? source : path(QStringLiteral("out.txt"));
        const SaveResult result = saveTo(target, [&](qint64, qint64) { return ++calls < 2; });

        EXPECT_EQ(result.status, SaveStatus::Stopped);
        EXPECT_EQ(result.removedCount, 1);
        std::string partial = numberedLines(4096);
        partial.erase(7, 7); // "line 2\n"
        EXPECT_EQ(readBytes(result.target.outputFile), partial);
        EXPECT_EQ(readBytes(source), original);
        EXPECT_EQ(
            result.target.outputFile, overSource ? source + QStringLiteral(".twintemp") : target);
        if (overSource) { // the source's lines are not exposed to others on the way
            EXPECT_EQ(statOf(result.target.outputFile).st_mode & 0777, 0600u);
        }
    }
}

TEST_F(SafeSaveTest, AChangedSourceIsRefused)
{
    const struct
    {
        const char *name;
        std::function<void(SafeSaveTest &)> change;
    } cases[] = {
        {"Grown", [](SafeSaveTest &t) { writeBytes(t.source, t.input + "more\n"); }},
        {"SameSizeNewTime",
            [](SafeSaveTest &t) {
                writeBytes(t.source, "KEEP 1\nDUP\nKEEP 2\nDUP\n");
                const timespec times[2] = {{0, UTIME_OMIT}, {1000000000, 0}};
                ::utimensat(AT_FDCWD, QFile::encodeName(t.source).constData(), times, 0);
            }},
        {"ReplacedByACopy",
            [](SafeSaveTest &t) {
                const QString copy = t.path(QStringLiteral("copy.txt"));
                writeBytes(copy, t.input);
                const struct stat st = statOf(t.source);
                const timespec times[2] = {st.st_atim, st.st_mtim};
                ::utimensat(AT_FDCWD, QFile::encodeName(copy).constData(), times, 0);
                ::rename(
                    QFile::encodeName(copy).constData(), QFile::encodeName(t.source).constData());
            }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        scanInput();
        c.change(*this);
        const std::string changed = readBytes(source);
        for (const QString &target : {path(QStringLiteral("out.txt")), source}) {
            const SaveResult result = saveTo(target);
            EXPECT_EQ(result.status, SaveStatus::SourceChanged);
            EXPECT_EQ(result.message,
                QStringLiteral("The file has changed since it was scanned. Please scan it "
                               "again before saving."));
            EXPECT_FALSE(QFile::exists(path(QStringLiteral("out.txt"))));
            EXPECT_EQ(readBytes(source), changed);
            EXPECT_TRUE(leftovers().isEmpty());
        }
    }
}

TEST_F(SafeSaveTest, CheckSourceTellsMissingFromChanged)
{
    scanInput();
    EXPECT_EQ(checkSource(source, request.scannedStamp), SourceState::Unchanged);
    writeBytes(source, input + "x");
    EXPECT_EQ(checkSource(source, request.scannedStamp), SourceState::Changed);
    EXPECT_EQ(
        checkSource(path(QStringLiteral("gone.txt")), request.scannedStamp), SourceState::Missing);
    EXPECT_EQ(checkSource(dir.path(), request.scannedStamp), SourceState::Missing);
}

TEST_F(SafeSaveTest, AMissingSourceIsReportedAsSuch)
{
    scanInput();
    ASSERT_TRUE(QFile::remove(source));
    const SaveResult result = saveTo(path(QStringLiteral("out.txt")));
    EXPECT_EQ(result.status, SaveStatus::SourceMissing);
    EXPECT_EQ(result.message, QStringLiteral("Can't find original file!"));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("out.txt"))));
}

TEST_F(SafeSaveTest, AnUnwritableTargetFailsWithTheFileAndTheReason)
{
    scanInput();
    const QString missing = path(QStringLiteral("no such folder/out.txt"));
    const SaveResult result = saveTo(missing);
    EXPECT_EQ(result.status, SaveStatus::Failed);
    EXPECT_TRUE(result.message.contains(QDir::toNativeSeparators(missing)))
        << result.message.toStdString();
    EXPECT_TRUE(result.message.contains(QString::fromStdString(reason(ENOENT))));
    EXPECT_EQ(readBytes(source), input);
}

// A full disk shows up only when the buffered lines are written out: it must not pass for success.
TEST_F(SafeSaveTest, AFailingWriteIsNeverASuccess)
{
    if (!QFileInfo::exists(QStringLiteral("/dev/full")))
        GTEST_SKIP() << "no /dev/full";
    scanInput();
    const SaveResult result = saveTo(QStringLiteral("/dev/full"));
    EXPECT_EQ(result.status, SaveStatus::Failed);
    EXPECT_TRUE(result.message.contains(QStringLiteral("/dev/full")));
    EXPECT_TRUE(result.message.contains(QString::fromStdString(reason(ENOSPC))))
        << result.message.toStdString();
    EXPECT_EQ(readBytes(source), input);
}

// A file size limit makes writing the temporary file fail even for root.
TEST_F(SafeSaveTest, AFailedReplacementRemovesItsTemporaryFileAndKeepsTheSource)
{
    scan(numberedLines(10000));
    remove({1});
    rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 4096;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const SaveResult result = saveTo(source);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(result.status, SaveStatus::Failed);
    EXPECT_TRUE(result.message.contains(QDir::toNativeSeparators(result.target.outputFile)));
    EXPECT_TRUE(result.message.contains(QString::fromStdString(reason(EFBIG))))
        << result.message.toStdString();
    EXPECT_EQ(readBytes(source), original);
    EXPECT_TRUE(leftovers().isEmpty());
}

TEST_F(SafeSaveTest, AReadOnlyFolderFailsAndLeavesTheSourceIntact)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    ASSERT_TRUE(dir.mkdir(QStringLiteral("locked")));
    scan(input, QStringLiteral("locked/source.txt"));
    remove({4});
    ASSERT_EQ(::chmod(QFile::encodeName(path(QStringLiteral("locked"))).constData(), 0555), 0);
    for (const QString &target : {path(QStringLiteral("locked/out.txt")), source}) {
        const SaveResult result = saveTo(target);
        EXPECT_EQ(result.status, SaveStatus::Failed);
        EXPECT_TRUE(result.message.contains(QString::fromStdString(reason(EACCES))))
            << result.message.toStdString();
        EXPECT_EQ(readBytes(source), input);
        EXPECT_FALSE(QFile::exists(result.target.outputFile) && result.target.replaceSource);
    }
    ::chmod(QFile::encodeName(path(QStringLiteral("locked"))).constData(), 0755);
}

} // namespace
