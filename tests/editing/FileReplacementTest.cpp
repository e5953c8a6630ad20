// A small file replaced whole, as the settings are: a full disk or any other failure leaves the
// old file as it was.

#include "editing/FileReplacement.h"

#include "SystemCallHook.h"
#include "engine/FileStamp.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cerrno>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace twinscan::test {
namespace {

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : "<missing>";
}

TEST(FileReplacement, TheFileIsReplacedWholeOrNotAtAll)
{
    const struct
    {
        Call failing;
        int errorNumber;
    } cases[] = {{Call::Write, ENOSPC}, {Call::Fsync, EIO}, {Call::Rename, EROFS}};
    QTemporaryDir temporary;
    const QDir dir(temporary.path());
    const QString file = dir.filePath(QStringLiteral("settings.ini"));
    QFile old(file);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("old\n") == 4 && old.flush());
    ASSERT_EQ(::chmod(QFile::encodeName(file).constData(), 0640), 0);
    ASSERT_TRUE(QFile::link(file, dir.filePath(QStringLiteral("link.ini"))));
    for (const auto &c : cases) {
        SCOPED_TRACE(int(c.failing));
        const SystemCallHook hook([&c](Call call, int) {
            return call == c.failing ? Fault {Fault::Error, c.errorNumber} : Fault {};
        });
        EXPECT_EQ(replaceFileContent(file, "new\n"),
            QStringLiteral("Can't write %1: %2").arg(file, systemReason(c.errorNumber)));
        EXPECT_EQ(contentOf(file), "old\n");
        EXPECT_EQ(dir.entryList(QDir::Files | QDir::Hidden).size(), 2);
    }
    EXPECT_EQ(replaceFileContent(dir.filePath(QStringLiteral("link.ini")), "new\n"), QString());
    EXPECT_EQ(contentOf(file), "new\n");
    EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("link.ini"))).isSymLink());
    struct stat status
    {
    };
    ASSERT_EQ(::stat(QFile::encodeName(file).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
}

} // namespace
} // namespace twinscan::test
