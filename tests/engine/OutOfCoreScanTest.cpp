#include "engine/OutOfCoreScan.h"

#include "EngineTestSupport.h"
#include "RandomText.h"

#include <QDir>
#include <QTemporaryDir>
#include <random>
#include <set>

using namespace twinscan;
using namespace twinscan::test;

namespace {

// What a save would leave out: the lines of every group but the occurrence kept.
struct Removal
{
    std::uint64_t groups = 0;
    std::uint64_t entries = 0;
    std::set<std::uint64_t> removed;
    bool operator==(const Removal &) const = default;
};

std::ostream &operator<<(std::ostream &out, const Removal &r)
{
    out << r.groups << " groups, " << r.entries << " entries, removed";
    for (const std::uint64_t line : r.removed)
        out << ' ' << line;
    return out;
}

Removal inMemory(
    const std::string &bytes, const ScanOptions &switches, KeptOccurrence kept, const KeySpec &key)
{
    const ScanResult scan = scanBytes(bytes, switches, Parallelism {1}, key);
    Removal r {std::uint64_t(scan.outcome.groupCount), std::uint64_t(scan.outcome.entryCount), {}};
    for (int entry = 0; entry < int(scan.lines.size()); ++entry) {
        const EntryGroup group = scan.outcome.lineEntries.groupOf(entry);
        const int keptEntry = kept == KeptOccurrence::First ? group.first
            : kept == KeptOccurrence::Last                  ? group.first + group.size - 1
                                                            : -1;
        if (entry != keptEntry)
            r.removed.insert(std::uint64_t(scan.lines[std::size_t(entry)]));
    }
    return r;
}

class OutOfCore : public testing::Test
{
protected:
    OutOfCoreOutcome scan(const std::string &bytes, const ScanOptions &switches,
        KeptOccurrence kept, std::uint64_t budget, const ProgressFn &progress = {},
        const KeySpec &key = {})
    {
        const QString path = dir_.filePath(QStringLiteral("input.txt"));
        writeBytes(path, bytes);
        // The window asks for the lines removed with the last kept beside those with the first.
        return OutOfCoreScan::run({path, ScanRules::from(switches), key, kept, budget,
                                      spill_.path(), kept == KeptOccurrence::First},
            progress);
    }
    static Removal removalOf(const OutOfCoreOutcome &outcome, const LineBits &removed)
    {
        Removal r {outcome.groupCount, outcome.entryCount, {}};
        for (std::uint64_t line = 0; line < outcome.lineCount; ++line) {
            if (removed.test(line))
                r.removed.insert(line);
        }
        return r;
    }
    static Removal removalOf(const OutOfCoreOutcome &outcome)
    {
        return removalOf(outcome, outcome.removed);
    }
    // Runs both scans on `bytes` under every switch and rule and expects the same.
    void expectSame(const std::string &bytes, std::uint64_t budget, const KeySpec &key = {})
    {
        const auto text = LoadedText::fromBytes(bytes);
        for (int combination = 0; combination < 8; ++combination) {
            const ScanOptions switches {
                qint16(combination & 1), qint16(combination >> 1 & 1), qint16(combination >> 2)};
            for (const KeptOccurrence kept :
                {KeptOccurrence::First, KeptOccurrence::Last, KeptOccurrence::None}) {
                SCOPED_TRACE(testing::Message() << "switches " << combination << ", kept "
                                                << int(kept) << ", bytes " << visible(bytes));
                const OutOfCoreOutcome outcome = scan(bytes, switches, kept, budget, {}, key);
                ASSERT_EQ(outcome.status, OutOfCoreOutcome::Status::Done)
                    << outcome.error.toStdString();
                const Removal expected = inMemory(bytes, switches, kept, key);
                EXPECT_EQ(removalOf(outcome), expected);
                if (kept == KeptOccurrence::First) {
                    EXPECT_EQ(removalOf(outcome, outcome.removedWithLastKept),
                        inMemory(bytes, switches, KeptOccurrence::Last, key));
                }
                EXPECT_EQ(outcome.removedCount, expected.removed.size());
                EXPECT_EQ(outcome.lineCount, std::uint64_t(text->lineCount()));
                EXPECT_EQ(outcome.contentHash, text->contentHash());
            }
        }
    }
    QStringList spilled() const
    {
        return QDir(spill_.path())
            .entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden);
    }

    QTemporaryDir dir_;
    QTemporaryDir spill_;
};

std::string repeated(const std::string &line, int times)
{
    std::string s;
    for (int i = 0; i < times; ++i)
        s += line;
    return s;
}

std::string distinct(int lines)
{
    std::string s;
    for (int i = 0; i < lines; ++i)
        s += std::to_string(i * 7919 % 100003) + "\n";
    return s;
}

// A budget of nothing leaves the table four slots, so every few keys go to the files and most
// partitions hold a line or none; the large budget keeps everything in the table.
constexpr std::uint64_t tiny = 0;
constexpr std::uint64_t ample = std::uint64_t(12) << 20;

TEST_F(OutOfCore, SameResultsAsInMemory)
{
    const struct
    {
        const char *name;
        std::string bytes;
    } cases[] = {
        {"one line", "a"},
        {"all lines equal", repeated("same\n", 300)},
        {"all lines distinct", distinct(700)},
        {"case and spaces", "Abc\n abc \nABC\nabc\n\n  \n\t\nx\n"},
        {"CR LF", repeated("a\r\nb\r\nA\r\n", 40)},
        {"mixed breaks", "a\rb\nA\r\nb\n\r\r\na\n\rlast"},
        {"byte-order mark",
            "\xEF\xBB\xBF"
            "a\nA\na\n"},
        {"UTF-8 and Latin-1",
            "\xC3\xA9\n\xC3\x89\n\xE9\n\xC9\nss\n\xC3\x9F\nSS\n\xE3\x89\n\xC3\x89\n"},
        {"UTF-16 LE",
            std::string("\xFF\xFE"
                        "a\0\n\0A\0\r\0\n\0a\0\n\0 \0a\0",
                20)},
        {"UTF-16 BE", std::string("\xFE\xFF\0a\0\n\0A\0\n\0b\0\r\0a", 16)},
        {"odd UTF-16",
            std::string("\xFF\xFE"
                        "a\0\n\0a\0\n\0a",
                11)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        expectSame(c.bytes, tiny);
        expectSame(c.bytes, ample);
    }
}

// A key that is a part of the line comes from the same extractor, Latin-1 lines converted.
TEST_F(OutOfCore, KeysAsInMemory)
{
    KeySpec second;
    second.kind = KeySpec::Kind::Fields;
    second.fields = {2};
    KeySpec characters;
    characters.kind = KeySpec::Kind::Characters;
    characters.skipChars = 1;
    characters.checkChars = 2;
    const std::string bytes = "a x\nb X\nc\nd \xE9\ne \xC3\xA9\nf \xC3\x89 z\n\xE9\xE9\xE9\n";
    for (const KeySpec &key : {second, characters}) {
        expectSame(bytes, tiny, key);
        expectSame(bytes, ample, key);
    }
}

TEST_F(OutOfCore, RandomFilesAsInMemory)
{
    std::mt19937 random(29);
    for (int round = 0; round < 16; ++round)
        expectSame(randomFile(random, 200).bytes, round % 2 ? tiny : ample);
}

// The files have no names from the start, so nothing is there to remove whatever the ending.
TEST_F(OutOfCore, LeavesNoFileOnAnyEnding)
{
    const std::string bytes = distinct(5000);
    QStringList seen;
    const auto look = [&](qint64 done, qint64) {
        seen += spilled();
        return done < 20000;
    };
    EXPECT_EQ(scan(bytes, {}, KeptOccurrence::First, tiny,
                  [&](qint64, qint64) {
                      seen += spilled();
                      return true;
                  })
                  .status,
        OutOfCoreOutcome::Status::Done);
    EXPECT_EQ(scan(bytes, {}, KeptOccurrence::First, tiny, look).status,
        OutOfCoreOutcome::Status::Stopped);
    EXPECT_EQ(seen, QStringList());
    EXPECT_EQ(spilled(), QStringList());
}

TEST_F(OutOfCore, StopsWhenAsked)
{
    int calls = 0;
    const OutOfCoreOutcome outcome = scan(distinct(100000), {}, KeptOccurrence::First, tiny,
        [&](qint64, qint64) { return ++calls < 3; });
    EXPECT_EQ(outcome.status, OutOfCoreOutcome::Status::Stopped);
    EXPECT_EQ(calls, 3);
}

// What the in-memory loader refuses is refused here too, in its words: data with NULs in its
// first block as binary data and UTF-16 without a mark hold them, past a line of text too.
TEST_F(OutOfCore, FailuresSayWhy)
{
    const std::string bytes = distinct(5000);
    const QString path = dir_.filePath(QStringLiteral("input.txt"));
    writeBytes(path, bytes);
    const QString binary = dir_.filePath(QStringLiteral("binary.bin"));
    writeBytes(binary, "text\n" + std::string(200, '\0') + "\n" + distinct(100));
    const QString utf32 = dir_.filePath(QStringLiteral("utf32.txt"));
    writeBytes(utf32, std::string("\xFF\xFE\0\0a\0\0\0\n\0\0\0", 12));
    const QString unmarked = dir_.filePath(QStringLiteral("utf16.txt"));
    writeBytes(unmarked, std::string("a\0\n\0b\0\n\0a\0\n\0", 12));
    const QString longLine = dir_.filePath(QStringLiteral("long.txt"));
    writeBytes(longLine, "a\n" + std::string(17 << 20, 'x') + "\na\n");
    const struct
    {
        const char *name;
        QString file;
        QString folder;
        const char *error;
    } cases[] = {
        {"missing file", dir_.filePath(QStringLiteral("none")), spill_.path(),
            "No such file or directory"},
        {"no folder for the files", path, dir_.filePath(QStringLiteral("none")),
            "Can't write a temporary file in"},
        {"binary data", binary, spill_.path(), "looks like a binary or UTF-32 file"},
        {"UTF-32", utf32, spill_.path(), "looks like a binary or UTF-32 file"},
        {"UTF-16 without a mark", unmarked, spill_.path(), "looks like a binary or UTF-32 file"},
        {"a line longer than the memory", longLine, spill_.path(),
            "holds a line of more than 16 MB"},
    };
    for (const auto &c : cases) {
        const OutOfCoreOutcome outcome
            = OutOfCoreScan::run({c.file, {}, {}, KeptOccurrence::First, tiny, c.folder});
        EXPECT_EQ(outcome.status, OutOfCoreOutcome::Status::Failed) << c.name;
        EXPECT_TRUE(outcome.error.contains(QLatin1String(c.error)))
            << c.name << ": " << outcome.error.toStdString();
    }
}

// Lines of a file that changed under the scan may mix old and new: no result to act on.
TEST_F(OutOfCore, RefusesAFileThatChangesWhileRead)
{
    const QString path = dir_.filePath(QStringLiteral("input.txt"));
    const OutOfCoreOutcome outcome
        = scan(distinct(100000), {}, KeptOccurrence::First, tiny, [&](qint64 done, qint64) {
              if (done > 0) {
                  QFile file(path);
                  EXPECT_TRUE(file.open(QIODevice::Append));
                  file.write("more\n");
              }
              return true;
          });
    EXPECT_EQ(outcome.status, OutOfCoreOutcome::Status::Failed);
    EXPECT_EQ(outcome.error, LoadedText::changedWhileRead());
}

} // namespace
