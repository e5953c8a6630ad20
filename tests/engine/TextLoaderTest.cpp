#include "EngineTestFiles.h"
#include "engine/DuplicateScanner.h"
#include "engine/FileStamp.h"
#include "engine/ItemVectorList.h"
#include "engine/LineReader.h"
#include "engine/LoadedText.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace twinscan;
using twinscan::test::TempFolder;

namespace {

long peakRssKb()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void expectFailure(const QString &path, int errorNumber)
{
    const LoadResult loaded = TextLoader::load(path);
    EXPECT_FALSE(loaded.text);
    EXPECT_FALSE(loaded.stopped);
    EXPECT_EQ(loaded.error, systemReason(errorNumber));
    LineReader reader;
    std::string_view line;
    LineBreak lineBreak;
    if (reader.open(path)) {
        // Opening a folder succeeds; reading it is what fails.
        EXPECT_FALSE(reader.next(line, lineBreak));
        EXPECT_EQ(reader.error(), systemReason(errorNumber));
    } else {
        EXPECT_EQ(reader.error(), systemReason(errorNumber));
    }
}

TEST(TextLoaderFailure, MissingFile)
{
    TempFolder folder;
    expectFailure(folder.path(QStringLiteral("absent.txt")), ENOENT);
}

TEST(TextLoaderFailure, Folder)
{
    TempFolder folder;
    ASSERT_TRUE(QDir().mkdir(folder.path(QStringLiteral("sub"))));
    expectFailure(folder.path(QStringLiteral("sub")), EISDIR);
}

TEST(TextLoaderFailure, UnreadableFile)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads files whatever their permissions say";
    TempFolder folder;
    const QString file = folder.write(QStringLiteral("locked.txt"), "secret\n");
    ASSERT_TRUE(QFile::setPermissions(file, QFileDevice::Permissions()));
    expectFailure(file, EACCES);
}

TEST(TextLoader, EmptyFileLoadsWithoutLines)
{
    TempFolder folder;
    const LoadResult loaded = TextLoader::load(folder.write(QStringLiteral("empty.txt"), ""));
    ASSERT_TRUE(loaded.text) << loaded.error.toStdString();
    EXPECT_EQ(loaded.text->lineCount(), 0);
    EXPECT_EQ(loaded.text->byteSize(), 0u);
}

TEST(TextLoader, RecordsTheFilesStamp)
{
    TempFolder folder;
    const QString file = folder.write(QStringLiteral("a.txt"), "a\r\nb\r\n");
    const LoadResult loaded = TextLoader::load(file);
    ASSERT_TRUE(loaded.text);
    EXPECT_TRUE(loaded.text->stamp().sameContent(*stampOf(file)));
    EXPECT_EQ(loaded.text->stamp().size, 6);
    EXPECT_EQ(loaded.text->firstBreak(), LineBreak::CrLf);
}

TEST(TextLoader, StopFromProgressLoadsNothing)
{
    TempFolder folder;
    const QString file = folder.write(QStringLiteral("a.txt"), "a\nb\n");
    const LoadResult loaded = TextLoader::load(file, [](qint64, qint64) { return false; });
    EXPECT_TRUE(loaded.stopped);
    EXPECT_FALSE(loaded.text);
    EXPECT_TRUE(loaded.error.isEmpty());
}

// One line of 100 MB loads whole, in memory close to its own size, and streams line by line.
TEST(TextLoader, HundredMegabyteLine)
{
    constexpr std::size_t size = std::size_t(100) << 20;
    TempFolder folder;
    const QString file = folder.path(QStringLiteral("long.txt"));
    {
        std::string line(size, 'x');
        line.back() = '\n';
        folder.write(QStringLiteral("long.txt"), line);
    }
    const long before = peakRssKb();
    {
        const LoadResult loaded = TextLoader::load(file);
        ASSERT_TRUE(loaded.text) << loaded.error.toStdString();
        ASSERT_EQ(loaded.text->lineCount(), 1);
        EXPECT_EQ(loaded.text->lineBytes(0).size(), size - 1);
        EXPECT_EQ(loaded.text->lineBytes(0).find_first_not_of('x'), std::string_view::npos);
    }
    EXPECT_LT(peakRssKb() - before, long(size / 1024) * 3 / 2);

    LineReader reader(4096);
    ASSERT_TRUE(reader.open(file));
    std::string_view line;
    LineBreak lineBreak;
    ASSERT_TRUE(reader.next(line, lineBreak));
    EXPECT_EQ(line.size(), size - 1);
    EXPECT_EQ(lineBreak, LineBreak::Lf);
    EXPECT_FALSE(reader.next(line, lineBreak));
}

// Lines of 16 MB and more are indexed apart from the rest; several of them, between short lines,
// keep their own lengths and group like any other line.
TEST(TextLoader, SeveralVeryLongLinesAmongShortOnes)
{
    const std::size_t mb = std::size_t(1) << 20;
    const std::string longX(17 * mb, 'x');
    const std::string longY(16 * mb - 1, 'y');
    const std::string file = "a\n" + longX + "\r\n" + longY + "\nb\r" + longX + "\n\n";
    const auto text = LoadedText::fromBytes(file);
    ASSERT_EQ(text->lineCount(), 6);
    const std::size_t lengths[] = {1, 17 * mb, 16 * mb - 1, 1, 17 * mb, 0};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(text->lineBytes(i).size(), lengths[i]) << "line " << i + 1;
    EXPECT_EQ(text->lineBytes(2).front(), 'y');
    EXPECT_EQ(text->lineBytes(3), "b");
    EXPECT_EQ(text->lineBytes(4).back(), 'x');

    ItemVectorList duplicates;
    const ScanOutcome outcome = DuplicateScanner(*text, {}).run(duplicates);
    EXPECT_EQ(outcome.groupCount, 1);
    ASSERT_EQ(duplicates.ListCount(), 2);
    EXPECT_EQ(duplicates.itemAt(0).line, 1u);
    EXPECT_EQ(duplicates.itemAt(1).line, 4u);
}

} // namespace
