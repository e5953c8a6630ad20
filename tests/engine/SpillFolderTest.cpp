#include "engine/SpillFolder.h"

#include "EngineTestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <cstdlib>

using namespace twinscan;
using namespace twinscan::test;

namespace {

// Sets an environment variable for one scope, or removes it for a null value.
class Variable
{
public:
    Variable(const char *name, const QString &value) : name_(name)
    {
        if (const char *old = std::getenv(name))
            old_ = QByteArray(old);
        if (value.isNull())
            ::unsetenv(name);
        else
            ::setenv(name, QFile::encodeName(value).constData(), 1);
    }
    ~Variable()
    {
        if (old_.isNull())
            ::unsetenv(name_);
        else
            ::setenv(name_, old_.constData(), 1);
    }

private:
    const char *name_;
    QByteArray old_;
};

// /dev/shm is memory on Linux: a folder there takes the very memory the scan saves.
TEST(SpillFolder, NeverInMemoryUnlessAsked)
{
    ASSERT_TRUE(spill::isMemoryBacked(QStringLiteral("/dev/shm")));
    QTemporaryDir disk, output, cache;
    ASSERT_FALSE(spill::isMemoryBacked(disk.path()));
    const Variable home("XDG_CACHE_HOME", cache.path());
    const struct
    {
        const char *name;
        QString asked, tmpdir, output;
        QString chosen;
    } cases[] = {
        {"TMPDIR on a disk", {}, disk.path(), output.path(), disk.path()},
        {"TMPDIR in memory: the output's folder", {}, QStringLiteral("/dev/shm"), output.path(),
            output.path()},
        {"no TMPDIR, no output: the cache", {}, {}, {}, cache.path()},
        {"asked for memory", QStringLiteral("/dev/shm"), disk.path(), output.path(),
            QStringLiteral("/dev/shm")},
        {"asked for a missing folder", disk.filePath(QStringLiteral("none")), disk.path(), {},
            disk.path()},
    };
    for (const auto &c : cases) {
        const Variable asked("TWINSCAN_TMPDIR", c.asked);
        const Variable tmpdir("TMPDIR", c.tmpdir);
        const spill::Folder folder = spill::chooseFolder(c.output);
        EXPECT_EQ(folder.path, c.chosen) << c.name;
        EXPECT_GT(folder.freeBytes, 0U) << c.name;
    }
}

TEST(SpillFolder, FilesHaveNoName)
{
    QTemporaryDir dir;
    FileDescriptor fd = spill::openFile(dir.path());
    ASSERT_TRUE(fd.isOpen());
    ASSERT_EQ(::write(fd.get(), "x", 1), 1);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
        QStringList());
    EXPECT_FALSE(spill::openFile(dir.filePath(QStringLiteral("none"))).isOpen());
}

TEST(SpillFolder, SpaceNeededSaysHowMuchAndWhere)
{
    EXPECT_EQ(spill::spaceNeededText(4'300'000'000, QStringLiteral("/work")),
        QStringLiteral("needs about 4.3 GB of free space in /work"));
    EXPECT_EQ(spill::spaceNeededText(51'600'000'000, QStringLiteral("/data")),
        QStringLiteral("needs about 52 GB of free space in /data"));
}

} // namespace
