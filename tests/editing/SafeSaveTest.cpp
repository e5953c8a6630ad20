#include "SaveFixture.h"
#include "editing/SourceCheck.h"

#include <filesystem>
#include <map>
#include <sys/xattr.h>

using namespace twinscan;
using namespace twinscan::test;
using namespace Qt::StringLiterals;

namespace {

struct stat statOf(const QString &path)
{
    struct stat st = {};
    EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
    return st;
}

using SafeSaveTest = SaveFixture;

// The result replaces a file, the source or an earlier output, in one rename: it keeps that
// file's permission bits and owner, and a new file gets the usual ones. The source has the
// longest valid name: the temporary file's name must not grow with the target's. While it is
// written, only the user may read it; an unnamed one has no mode to see, so it has a name here.
TEST_F(SafeSaveTest, TheResultTakesThePlaceOfTheFileItReplaces)
{
    const bool root = ::geteuid() == 0; // only root can hand the file to someone else
    const mode_t mask = ::umask(022);
    ::umask(mask);
    useNamedTemporaryFiles();
    const std::string longest(255, 'n');
    for (const char *target : {longest.c_str(), "earlier.txt", "new.txt"}) {
        SCOPED_TRACE(std::string(target).substr(0, 20));
        const QString replaced = path(target);
        const bool isNew = std::strcmp(target, "new.txt") == 0;
        if (!isNew) {
            writeBytes(replaced, std::string(5000, 'z'));
            ASSERT_EQ(::chmod(QFile::encodeName(replaced).constData(), 0640), 0);
            if (root) {
                ASSERT_EQ(::chown(QFile::encodeName(replaced).constData(), 65534, 65534), 0);
            }
        }
        scan(input, {4}, longest.c_str());
        mode_t othersMay = 0; // what the group and others may do with the temporary file
        const SaveResult result = saveTo(replaced, [&](qint64, qint64) {
            for (const QString &name : leftovers())
                othersMay |= statOf(dir.filePath(name)).st_mode & 077;
            return true;
        });
        EXPECT_EQ(othersMay, 0u);
        EXPECT_EQ(result.target.replaceSource, replaced == source);
        expectOutcome(result, SaveStatus::Completed, replaced, saved);
        const struct stat st = statOf(replaced);
        EXPECT_EQ(st.st_mode & 07777, isNew ? 0666 & ~mask : 0640u);
        EXPECT_EQ(st.st_uid, root && !isNew ? 65534u : ::geteuid());
    }
}

// Every extended attribute of a file by name, with its value.
std::map<std::string, std::string> attributesOf(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    std::string list(size_t(std::max<ssize_t>(::listxattr(name.constData(), nullptr, 0), 0)), 0);
    list.resize(
        size_t(std::max<ssize_t>(::listxattr(name.constData(), list.data(), list.size()), 0)));
    std::map<std::string, std::string> attributes;
    for (size_t at = 0; at < list.size(); at = list.find('\0', at) + 1) {
        const char *key = list.c_str() + at;
        std::string value(4096, 0);
        value.resize(size_t(::getxattr(name.constData(), key, value.data(), value.size())));
        attributes[key] = value;
    }
    return attributes;
}

// An access list of mode 0640 that also lets user 65534 read: its entries in the order of their
// tags, each a tag, permissions and an id, after the format's version.
std::string aclLettingNobodyRead()
{
    const std::uint16_t entries[][4] = {{0x01, 6, 0xFFFF, 0xFFFF}, {0x02, 4, 65534, 0},
        {0x04, 4, 0xFFFF, 0xFFFF}, {0x10, 4, 0xFFFF, 0xFFFF}, {0x20, 0, 0xFFFF, 0xFFFF}};
    std::string acl("\x02\0\0\0", 4);
    acl.append(reinterpret_cast<const char *>(entries), sizeof entries);
    return acl;
}

// The result keeps the access list and the extended attributes of the file it replaces, and of
// no other file: not the source's when it replaces another file, none for a new file. Where the
// file system will not take them, the save still completes and says what it could not keep.
TEST_F(SafeSaveTest, TheResultKeepsTheAttributesOfTheFileItReplaces)
{
    const struct
    {
        const char *name;
        const char *target;
        bool refused = false; // the file system takes no attributes
    } cases[] = {{"the source", "a.txt"}, {"another file", "earlier.txt"},
        {"a new file", "new.txt"}, {"refused", "a.txt", true}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(path("new.txt"));
        scanInput();
        const QString target = path(c.target);
        const QByteArray sourceName = QFile::encodeName(source);
        ASSERT_EQ(::setxattr(sourceName.constData(), "user.origin", "source", 6, 0), 0);
        if (target != source) {
            writeBytes(target, "earlier\n");
        }
        const QByteArray name = QFile::encodeName(target);
        const std::string acl = aclLettingNobodyRead();
        if (QFile::exists(target)) {
            ASSERT_EQ(::chmod(name.constData(), 0640), 0);
            ASSERT_EQ(::setxattr(name.constData(), "user.origin", "web", 3, 0)
                    | ::setxattr(name.constData(), "user.empty", "", 0, 0),
                0);
            ASSERT_EQ(
                ::setxattr(name.constData(), "system.posix_acl_access", acl.data(), acl.size(), 0),
                0)
                << std::strerror(errno);
        }
        request.scannedStamp = *stampOf(source); // the attributes changed it
        const auto before = attributesOf(target);
        const SystemCallHook hook([&](Call call, int) {
            return c.refused && call == Call::SetAttribute ? Fault {Fault::Error, EOPNOTSUPP}
                                                           : Fault {};
        });
        const SaveResult result = saveTo(target);
        expectOutcome(result, SaveStatus::Completed, target, saved);
        EXPECT_EQ(attributesOf(target), c.refused ? decltype(before) {} : before);
        EXPECT_EQ(result.warning.contains(u"user.origin"_s), c.refused);
        EXPECT_EQ(result.warning.contains(QString::fromUtf8(std::strerror(EOPNOTSUPP))), c.refused)
            << result.warning.toStdString();
    }
}

// Another name of the source must not be opened for writing while the source is read. The name
// asked for gets the result; a file with several names (hard links) keeps them all, each with the
// result, and leaves no copy. A symbolic link stays a link, whether it is the target or the
// source.
TEST_F(SafeSaveTest, OtherNamesOfTheSourceAreTreatedAsTheSource)
{
    ASSERT_TRUE(QFile::link(path("a.txt"), path("soft.txt")));
    for (const char *target : {"soft.txt", "hard.txt"}) {
        SCOPED_TRACE(target);
        const bool hardLink = std::strcmp(target, "hard.txt") == 0;
        writeBytes(path("a.txt"), input);
        if (hardLink) // made before the scan: a new link changes the file's change time
            std::filesystem::create_hard_link(
                path("a.txt").toStdString(), path(target).toStdString());
        scanInput();
        const ino_t inode = statOf(source).st_ino;
        const SaveResult result = saveTo(path(target));
        EXPECT_TRUE(result.target.replaceSource);
        expectOutcome(result, SaveStatus::Completed, path(target), saved);
        EXPECT_EQ(readBytes(source), saved);
        EXPECT_EQ(statOf(source).st_nlink, hardLink ? 2u : 1u);
        EXPECT_EQ(statOf(source).st_ino == inode, hardLink);
        if (hardLink)
            QFile::remove(path(target));
    }

    scanInput();
    request.sourceFile = path("soft.txt");
    expectOutcome(saveTo(request.sourceFile), SaveStatus::Completed, source, saved);
    EXPECT_TRUE(QFileInfo(path("soft.txt")).isSymLink());
}

// Links are followed to their end, a dangling chain too, whose links stay links; but in a sticky
// folder that everyone may write, only the user's own links and the folder owner's are followed,
// whatever the system's own protection says. Others are refused, as someone else may have planted
// them under a name the user was about to write.
TEST_F(SafeSaveTest, LinksAreFollowedUnlessPlantedInASharedFolder)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "giving a link to another user takes root";
    const uid_t other = 65534;
    const struct
    {
        const char *name;
        mode_t folderMode;
        uid_t folderOwner, linkOwner;
        bool followed;
    } cases[] = {{"own links", 01777, 0, 0, true}, {"another user's", 01777, 0, other, false},
        {"the folder owner's", 01777, other, other, true},
        {"another user's in a folder that is not sticky", 0777, 0, other, true}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        scanInput();
        const QString folder = path(c.name);
        ASSERT_TRUE(dir.mkpath(folder + QStringLiteral("/other")));
        const QByteArray l6 = QFile::encodeName(folder + QStringLiteral("/l6"));
        const QByteArray l7 = QFile::encodeName(folder + QStringLiteral("/l7"));
        ASSERT_EQ(
            ::symlink("l7", l6.constData()) | ::symlink("other/chain.txt", l7.constData()), 0);
        ASSERT_EQ(::lchown(l6.constData(), c.linkOwner, c.linkOwner)
                | ::lchown(l7.constData(), c.linkOwner, c.linkOwner)
                | ::chown(QFile::encodeName(folder).constData(), c.folderOwner, c.folderOwner)
                | ::chmod(QFile::encodeName(folder).constData(), c.folderMode),
            0);
        const SaveResult result = saveTo(QFile::decodeName(l6));
        EXPECT_EQ(result.status, c.followed ? SaveStatus::Completed : SaveStatus::Failed);
        EXPECT_EQ(
            result.message.contains(QStringLiteral("symbolic link of another user")), !c.followed);
        EXPECT_EQ(QFile::exists(folder + QStringLiteral("/other/chain.txt")), c.followed);
        EXPECT_TRUE(QFileInfo(QFile::decodeName(l7)).isSymLink());
    }
}

// A FIFO in a sticky folder that everyone may write is written only when it is the user's or the
// folder owner's, as the kernel's protection of such FIFOs has it for a shell's redirection:
// another user could have made it to read what the user meant to put in a file.
TEST_F(SafeSaveTest, AFifoPlantedInASharedFolderIsRefused)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "giving a FIFO to another user takes root";
    const uid_t other = 65534;
    const struct
    {
        const char *name;
        mode_t folderMode;
        uid_t folderOwner, fifoOwner;
        bool written;
    } cases[] = {{"another user's", 01777, 0, other, false},
        {"the folder owner's", 01777, other, other, true},
        {"another user's in a folder that is not sticky", 0777, 0, other, true}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        scanInput();
        const QString folder = path(c.name);
        ASSERT_TRUE(dir.mkpath(folder));
        const QByteArray fifo = QFile::encodeName(folder + QStringLiteral("/out.txt"));
        ASSERT_EQ(::mkfifo(fifo.constData(), 0666) | ::chown(fifo.constData(), c.fifoOwner, 0)
                | ::chown(QFile::encodeName(folder).constData(), c.folderOwner, 0)
                | ::chmod(QFile::encodeName(folder).constData(), c.folderMode),
            0);
        const int reader = ::open(fifo.constData(), O_RDWR | O_NONBLOCK); // never blocks the save
        const SaveResult result = saveTo(QFile::decodeName(fifo));
        std::string got(100, '\0');
        got.resize(std::size_t(std::max<ssize_t>(::read(reader, got.data(), got.size()), 0)));
        ::close(reader);
        EXPECT_EQ(result.status, c.written ? SaveStatus::Completed : SaveStatus::Failed);
        EXPECT_EQ(result.message.contains(u"FIFO of another user"_s), !c.written)
            << result.message.toStdString();
        EXPECT_EQ(got, c.written ? saved : "");
    }
}

// A FIFO that nobody reads yet is waited for, and a stop meanwhile ends the save as a stop: no
// message to show, and nothing written.
TEST_F(SafeSaveTest, AStopWhileAFifoHasNoReaderIsAStop)
{
    scanInput();
    const QByteArray fifo = QFile::encodeName(path("out.fifo"));
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    int asked = 0;
    const SaveResult result
        = saveTo(QFile::decodeName(fifo), [&](qint64, qint64) { return ++asked < 3; });
    EXPECT_EQ(result.status, SaveStatus::Stopped);
    EXPECT_EQ(result.message, QString());
    EXPECT_EQ(asked, 3);
}

// Line numbers of a file that changed since its scan would remove the wrong lines: the check made
// before the save dialog and the save both refuse. Each change keeps the size, and keeps what it
// can of the times and the file. The save refuses before it writes anything, which matters where
// nothing can take it back: a device or a pipe, into which a merely touched file, which still
// reads as scanned, would otherwise be saved.
TEST_F(SafeSaveTest, AChangedOrMissingSourceIsRefused)
{
    enum Change { Touched, TimePutBack, ReplacedByACopy, Removed, Folder };
    for (const Change change : {Touched, TimePutBack, ReplacedByACopy, Removed, Folder}) {
        SCOPED_TRACE(int(change));
        scanInput();
        EXPECT_EQ(checkSource(source, request.scannedStamp), SourceState::Unchanged);
        const timespec scannedTime = statOf(source).st_mtim;
        const QString copy = change == ReplacedByACopy ? path("copy.txt") : source;
        writeBytes(copy, change == Touched ? input : "KEEP 1\nDUP\nKEEP 2\nDUP\n");
        const timespec times[2]
            = {{0, UTIME_OMIT}, change == Touched ? timespec {1000000000, 0} : scannedTime};
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
        EXPECT_EQ(saveTo(QStringLiteral("/dev/null")).status,
            missing ? SaveStatus::SourceMissing : SaveStatus::SourceChanged);
        EXPECT_EQ(readBytes(source), changed);
        dir.rmdir(source);
    }
}

// A file without any write permission is not replaced, even by root; the error names the file
// and the reason, and the file stays whole.
TEST_F(SafeSaveTest, AReadOnlyFileIsNotReplaced)
{
    scanInput();
    ASSERT_EQ(::chmod(QFile::encodeName(source).constData(), 0444), 0);
    request.scannedStamp = *stampOf(source); // the permissions changed it
    const SaveResult result = saveTo(source);
    expectOutcome(result, SaveStatus::Failed, source, input);
    EXPECT_EQ(result.message,
        QStringLiteral("Can't write %1: %2")
            .arg(QDir::toNativeSeparators(source), QString::fromUtf8(std::strerror(EACCES))));
}

// A name of one of our open descriptors is written through that descriptor as it was opened, an
// append as an append, and never replaced; the file being read is refused, as its lines would be
// read again without end, and so is a descriptor the program keeps for itself (close-on-exec).
TEST_F(SafeSaveTest, ADescriptorTargetIsWrittenAsItWasOpened)
{
    const struct
    {
        const char *form;
        const char *file; // opened for appending
        bool written;
        int flags = 0;
    } cases[] = {{"/dev/fd/%1", "log.txt", true}, {"/proc/self/fd/%1", "log.txt", true},
        {"/dev/fd/%1", "a.txt", false}, {"/dev/fd/%1", "log.txt", false, O_CLOEXEC}};
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.form) + " " + c.file);
        scanInput();
        const QString file = path(c.file);
        if (file != source)
            writeBytes(file, "earlier\n");
        const std::string before = readBytes(file);
        const int fd = ::open(QFile::encodeName(file).constData(), O_WRONLY | O_APPEND | c.flags);
        const SaveResult result = saveTo(QString::fromLatin1(c.form).arg(fd));
        EXPECT_NE(::fcntl(fd, F_GETFD), -1); // still open for its owner
        ::close(fd);
        EXPECT_EQ(result.status, c.written ? SaveStatus::Completed : SaveStatus::Failed);
        EXPECT_EQ(readBytes(file), c.written ? before + saved : before);
    }
}

} // namespace
