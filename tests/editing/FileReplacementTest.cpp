// A small file replaced whole, as the settings are: a full disk or any other failure leaves the
// old file as it was.

#include "editing/FileReplacement.h"

#include "SaveFixture.h"

namespace twinscan::test {
namespace {

using FileReplacement = SaveFixture;

TEST_F(FileReplacement, TheFileIsReplacedWholeOrNotAtAll)
{
    const std::pair<Call, int> cases[]
        = {{Call::Write, ENOSPC}, {Call::Fsync, EIO}, {Call::Rename, EROFS}};
    const QString file = path("settings.ini");
    writeBytes(file, "old\n");
    ASSERT_EQ(::chmod(QFile::encodeName(file).constData(), 0640), 0);
    ASSERT_TRUE(QFile::link(file, path("link.ini")));
    // Named copies rather than a structured binding: clang before 16 refuses to capture one.
    for (const auto &entry : cases) {
        const Call failing = entry.first;
        const int errorNumber = entry.second;
        SCOPED_TRACE(int(failing));
        const SystemCallHook hook([&](Call call, int) {
            return call == failing ? Fault {Fault::Error, errorNumber} : Fault {};
        });
        EXPECT_EQ(replaceFileContent(file, "new\n"),
            QStringLiteral("Can't write %1: %2").arg(file, systemReason(errorNumber)));
        EXPECT_EQ(readBytes(file), "old\n");
        EXPECT_EQ(dir.entryList(QDir::Files | QDir::Hidden).size(), 2);
    }
    EXPECT_EQ(replaceFileContent(path("link.ini"), "new\n"), QString());
    EXPECT_EQ(readBytes(file), "new\n");
    EXPECT_TRUE(QFileInfo(path("link.ini")).isSymLink());
    struct stat status = {};
    ASSERT_EQ(::stat(QFile::encodeName(file).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
}

} // namespace
} // namespace twinscan::test
