// The cache of the file a save replaces is dropped; the source's never is.

#include "editing/ReplacedPages.h"

#include "SaveFixture.h"

#include <linux/magic.h>
#include <sys/mman.h>
#include <sys/vfs.h>

namespace twinscan::test {
namespace {

using ReplacedPagesTest = SaveFixture;

constexpr std::size_t fileBytes = 64 * 4096;

// Writes a file whose pages are all cached and clean, as a finished save leaves its output.
FileDescriptor cachedFile(const QString &file)
{
    writeBytes(file, std::string(fileBytes, 'x'));
    FileDescriptor fd(::open(QFile::encodeName(file).constData(), O_RDONLY | O_CLOEXEC));
    EXPECT_EQ(::fsync(fd.get()), 0);
    return fd;
}

// How many pages of the open file are in the system's cache.
std::size_t cachedPages(int fd)
{
    void *view = ::mmap(nullptr, fileBytes, PROT_READ, MAP_SHARED, fd, 0);
    std::vector<unsigned char> resident(fileBytes / 4096);
    EXPECT_EQ(::mincore(view, fileBytes, resident.data()), 0);
    ::munmap(view, fileBytes);
    return std::size_t(std::count_if(
        resident.begin(), resident.end(), [](unsigned char page) { return page & 1; }));
}

TEST_F(ReplacedPagesTest, DropsTheReplacedFilesCacheButNeverTheSources)
{
    struct statfs fs
    {
    };
    ASSERT_EQ(::statfs(QFile::encodeName(dir.path()).constData(), &fs), 0);
    if (fs.f_type == TMPFS_MAGIC)
        GTEST_SKIP() << "a file in memory has no cache to drop";
    const FileDescriptor source = cachedFile(path("source.txt"));
    ASSERT_EQ(::link(QFile::encodeName(path("source.txt")).constData(),
                  QFile::encodeName(path("other-name.txt")).constData()),
        0);
    const struct
    {
        const char *target;
        bool dropped;
    } cases[] = {{"replaced.txt", true}, {"source.txt", false}, {"other-name.txt", false}};
    for (const auto &c : cases)
        for (const bool beside : {true, false}) {
            SCOPED_TRACE(std::string(c.target) + (beside ? " beside" : " before"));
            const FileDescriptor replaced
                = c.dropped ? cachedFile(path(c.target)) : FileDescriptor(::dup(source.get()));
            ASSERT_EQ(cachedPages(replaced.get()), fileBytes / 4096);
            {
                ReplacedPages pages;
                pages.drop(path(c.target), source.get(), beside);
            }
            EXPECT_EQ(cachedPages(replaced.get()), c.dropped ? 0 : fileBytes / 4096);
        }

    // A save over a file drops it so.
    scanInput();
    const FileDescriptor replaced = cachedFile(path("out.txt"));
    EXPECT_EQ(saveTo(path("out.txt")).status, SaveStatus::Completed);
    EXPECT_EQ(cachedPages(replaced.get()), 0U);
}

} // namespace
} // namespace twinscan::test
