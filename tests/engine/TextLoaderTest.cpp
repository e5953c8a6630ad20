#include "EngineTestSupport.h"
#include "engine/BulkMemory.h"
#include "engine/FileStamp.h"
#include "engine/LineReader.h"

#include <QDir>
#include <QTemporaryDir>
#include <cerrno>
#include <numeric>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

using namespace twinscan;
using namespace twinscan::test;

namespace {

// Both ways of reading a file report the system's reason when it cannot be read.
TEST(TextLoader, FailuresGiveTheSystemsReason)
{
    QTemporaryDir folder;
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("sub")));
    const QString locked = folder.filePath(QStringLiteral("locked.txt"));
    writeBytes(locked, "secret\n");
    ASSERT_TRUE(QFile::setPermissions(locked, QFileDevice::Permissions()));
    const std::pair<QString, int> cases[]
        = {{folder.filePath(QStringLiteral("absent.txt")), ENOENT},
            {folder.filePath(QStringLiteral("sub")), EISDIR}, {locked, EACCES}};
    for (const auto &[path, errorNumber] : cases) {
        SCOPED_TRACE(path.toStdString());
        if (errorNumber == EACCES && ::geteuid() == 0)
            continue; // root reads files whatever their permissions say
        const LoadResult loaded = TextLoader::load(path);
        EXPECT_FALSE(loaded.text);
        EXPECT_FALSE(loaded.stopped);
        EXPECT_EQ(loaded.error, systemReason(errorNumber));
        LineReader reader;
        std::string_view line;
        LineBreak lineBreak;
        // Opening a folder succeeds; reading it is what fails.
        EXPECT_FALSE(reader.open(path) && reader.next(line, lineBreak));
        EXPECT_EQ(reader.error(), systemReason(errorNumber));
    }
}

// Text whose characters a split at single bytes would cut apart is refused, before anything
// reads its lines; a stray NUL does not make a text file such data. Records ended by NUL are
// never refused: NULs are what ends them.
TEST(TextLoader, FilesNotReadAsTextAreRefused)
{
    using namespace std::string_literals;
    const std::string binary = "\x7F"
                               "ELF\2\1\1"s
        + std::string(20, '\0') + "\n\3\0>\0\1"s;
    const struct
    {
        const char *name;
        std::string bytes;
        bool refused;
    } cases[] = {
        {"UTF-32 LE", "\xFF\xFE\0\0a\0\0\0\n\0\0\0"s, true},
        {"UTF-32 BE", "\0\0\xFE\xFF\0\0\0a\0\0\0\n"s, true},
        {"UTF-16 LE without a mark", "a\0\r\0\n\0a\0\r\0\n\0"s, true},
        {"UTF-16 BE without a mark, Cyrillic", "\x04\x36\0\n\x04\x36\0\n"s, true},
        {"binary", binary, true},
        {"a stray NUL", "a\0b\nc\r\na\0b\n"s, false},
        {"NULs in a long text", std::string(200, 'x') + std::string(16, '\0') + "\n", false},
        {"UTF-16 with a mark", "\xFF\xFEx\0"s, false},
    };
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("file"));
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(path, c.bytes);
        const LoadResult loaded = TextLoader::load(path);
        EXPECT_EQ(loaded.unreadable, c.refused);
        EXPECT_EQ(!loaded.text, c.refused);
        const LoadResult records
            = TextLoader::load(path, {}, Parallelism::fromEnvironment(), LineEnds::Nul);
        EXPECT_TRUE(records.text && records.text->encoding() == FileEncoding::Bytes);
    }
}

long peakRssKb()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Lines of 16 MB and more are indexed apart from the rest; several of them, between short lines,
// keep their own lengths and group like any other line, and the file loads in memory close to
// its own size.
TEST(TextLoader, VeryLongLinesAmongShortOnes)
{
    const std::size_t mb = std::size_t(1) << 20;
    const std::size_t lengths[] = {1, 17 * mb, 16 * mb - 1, 1, 17 * mb, 0};
    const char *const breaks[] = {"\n", "\r\n", "\n", "\r", "\n", "\n"};
    QTemporaryDir folder;
    QFile out(folder.filePath(QStringLiteral("long.txt")));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    for (int i = 0; i < 6; ++i) {
        const std::string piece(mb, "axybxz"[i]);
        for (std::size_t left = lengths[i]; left > 0; left -= std::min(left, mb))
            out.write(piece.data(), qint64(std::min(left, mb)));
        out.write(breaks[i]);
    }
    out.close();

    const long before = peakRssKb();
    const LoadResult loaded = TextLoader::load(out.fileName());
    ASSERT_TRUE(loaded.text) << loaded.error.toStdString();
    EXPECT_LT(peakRssKb() - before, long(out.size() / 1024) * 3 / 2);
    const LoadedText &text = *loaded.text;
    // The hash of many chunks, made side by side, is the one the save makes as it reads.
    LineReader reader;
    ASSERT_TRUE(reader.open(out.fileName()));
    std::string_view line;
    LineBreak lineBreak;
    while (reader.next(line, lineBreak)) { }
    EXPECT_EQ(reader.contentHash(), text.contentHash());
    ASSERT_EQ(text.lineCount(), 6);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(text.lineBytes(i).size(), lengths[i]) << "line " << i + 1;
        EXPECT_EQ(text.lineBytes(i).find_first_not_of("axybxz"[i]), std::string_view::npos);
    }

    ItemVectorList duplicates;
    EXPECT_EQ(DuplicateScanner(text, {}).run(duplicates).groupCount, 1);
    ASSERT_EQ(duplicates.ListCount(), 2);
    EXPECT_EQ(duplicates.itemAt(0).line, 1u);
    EXPECT_EQ(duplicates.itemAt(1).line, 4u);
}

// A file is mapped, not copied; when another program cuts it short or rewrites it while it is
// read, or cuts it short while its lines are in use, the loss is noticed and reported, never a
// crash, and the lines read meanwhile stay readable.
TEST(TextLoader, AFileChangedUnderTheMapIsReportedNotACrash)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("changing.txt"));
    std::string bytes;
    for (int i = 0; i < 200000; ++i)
        bytes += "line " + std::to_string(i % 1000) + "\n";
    const auto change = [&](bool cut) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(cut ? file.resize(0) : file.write("LINE") == 4);
    };
    for (const bool cut : {true, false}) {
        SCOPED_TRACE(cut ? "cut short" : "rewritten");
        writeBytes(path, bytes);
        bool changed = false;
        const LoadResult loaded = TextLoader::load(path,
            [&](qint64 done, qint64) {
                if (done > 0 && !std::exchange(changed, true))
                    change(cut);
                return true;
            },
            {2, 4096});
        EXPECT_TRUE(changed);
        EXPECT_FALSE(loaded.text);
        EXPECT_EQ(loaded.error, LoadedText::changedWhileRead());
    }
    writeBytes(path, bytes);
    const LoadResult loaded = TextLoader::load(path);
    ASSERT_TRUE(loaded.text && loaded.text->intact());
    change(true);
    std::size_t read = 0;
    for (int line = 0; line < loaded.text->lineCount(); ++line)
        read += loaded.text->lineBytes(line).find('\n') == std::string_view::npos;
    EXPECT_EQ(read, 200000U);
    EXPECT_FALSE(loaded.text->intact());
}

// Once another program rewrote the file in place or cut it short after the scan, the first look
// finds it and from then on its lines read as empty, never as bytes that were not scanned.
TEST(TextLoader, AFileChangedSinceTheScanShowsNoNewBytes)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("scanned.txt"));
    const struct
    {
        const char *what;
        std::string now; // "=" leaves the file as it was
        bool stillScanned;
        QString secondLine;
    } cases[] = {
        {"untouched", "=", true, "two"},
        {"rewritten in place", "ONE\nTWO\n", false, ""},
        {"cut short", "on", false, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        writeBytes(path, "one\ntwo\n");
        const LoadResult loaded = TextLoader::load(path);
        ASSERT_TRUE(loaded.text);
        if (c.now != "=")
            overwriteInPlace(path, c.now);
        EXPECT_EQ(loaded.text->stillScanned(), c.stillScanned);
        EXPECT_EQ(loaded.text->lineText(1), c.secondLine);
    }
}

// A size that no memory holds is refused, also where rounding it up to whole pages would wrap
// round to a small block.
TEST(TextLoader, ImpossibleSizesAreRefused)
{
    for (const std::size_t count : {std::size_t(-1), std::size_t(-1) - 4095, std::size_t(-1) / 8}) {
        BulkArray<std::uint64_t> words;
        BulkArray<char> bytes(16);
        EXPECT_FALSE(bytes.resize(count)) << count;
        EXPECT_EQ(bytes.size(), 16u);
        EXPECT_FALSE(words.resize(count / 8 + 1)) << count;
    }
}

// Filling pages in ahead of writes keeps what they hold, on the edges of the range and inside.
TEST(TextLoader, PrefaultedPagesKeepTheirBytes)
{
    std::vector<char> bytes(5 * 4096);
    std::iota(bytes.begin(), bytes.end(), char(1));
    const std::vector<char> before = bytes;
    bulk::prefault(bytes.data() + 100, bytes.size() - 200);
    EXPECT_EQ(bytes, before);
}

// A stop is not a failure, whether the file is mapped or, like a pipe, read into memory.
TEST(TextLoader, AStopIsNoError)
{
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("a.txt"));
    writeBytes(file, "a\nb\n");
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    ASSERT_EQ(::write(ends[1], "a\nb\n", 4), 4);
    ::close(ends[1]);
    for (const QString &path : {file, QStringLiteral("/dev/fd/%1").arg(ends[0])}) {
        const LoadResult loaded = TextLoader::load(path, [](qint64, qint64) { return false; });
        EXPECT_TRUE(loaded.stopped && !loaded.text && loaded.error.isEmpty()) << path.toStdString();
    }
    ::close(ends[0]);
}

// A stream is read only while its scan would fit the budget; what was read then and what is
// left of the stream make up the whole of it.
TEST(TextLoader, AStreamPastItsBudgetIsHandedBackWhole)
{
    std::string whole;
    for (int n = 0; n < 100000; ++n)
        whole += std::to_string(n % 777) + '\n';
    for (const std::uint64_t budget : {std::uint64_t(1), std::uint64_t(1) << 30}) {
        int ends[2];
        ASSERT_EQ(::pipe(ends), 0);
        std::thread writer([&] {
            EXPECT_EQ(::write(ends[1], whole.data(), whole.size()), ssize_t(whole.size()));
            ::close(ends[1]);
        });
        const LoadResult loaded = TextLoader::load(
            FileDescriptor(ends[0]), {}, Parallelism::fromEnvironment(), LineEnds::Text, budget);
        std::string read;
        if (loaded.overflow) {
            read.assign(loaded.overflow->bytes.data(), loaded.overflow->size);
            char buffer[4096];
            for (ssize_t got; (got = ::read(loaded.overflow->stream.get(), buffer, 4096)) > 0;)
                read.append(buffer, std::size_t(got));
        } else if (loaded.text) {
            read = loaded.text->sourceBytes();
        }
        writer.join();
        EXPECT_EQ(bool(loaded.overflow), budget == 1) << budget;
        EXPECT_EQ(read, whole) << budget;
    }
}

} // namespace
