#include "EngineTestSupport.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace twinscan;
using namespace twinscan::test;

namespace {

// What the cross-check against the quadratic search cannot see: the entries' own format, the
// line each entry leads to and back, and texts too rare for random files.
TEST(DuplicateScan, ListsEveryOccurrenceOfEveryGroup)
{
    const std::pair<std::string, std::vector<const char *>> cases[] = {
        {"a\nb\nA\na\nb\nc\n", {"[1]\ta", "[3]\ta", "[4]\ta", "[2]\tb", "[5]\tb"}},
        // Latin-1 "\xE2\xA9" upper-cases to the bytes of UTF-8 "\xC2\xA9", another text.
        {"\xE2\xA9\n\xC2\xA9\n", {}},
        // A byte-order mark after the start is text; "\xC3\x9F" upper-cases to "SS" through a
        // whole string, which keeps the mark too.
        {"x\n\xEF\xBB\xBF\xC3\x9F\n\xC3\x9F\n\xEF\xBB\xBF\xC3\x9F\n",
            {"[2]\t\xEF\xBB\xBF\xC3\x9F", "[4]\t\xEF\xBB\xBF\xC3\x9F"}},
    };
    for (const auto &[file, entries] : cases) {
        SCOPED_TRACE(visible(file));
        std::vector<QString> expected;
        for (const char *entry : entries)
            expected.push_back(QString::fromUtf8(entry));
        const ScanResult result = scanBytes(file, {});
        EXPECT_EQ(result.entries, expected);
        // Each line leads to its own entry, and only lines with an entry lead anywhere.
        const int lineCount = LoadedText::fromBytes(file)->lineCount();
        for (int line = -1; line <= lineCount; ++line) {
            const auto entry = std::find(result.lines.begin(), result.lines.end(), line);
            EXPECT_EQ(result.outcome.lineEntries.entryOf(line),
                entry == result.lines.end() ? -1 : int(entry - result.lines.begin()));
        }
        // Each entry knows its group: the run of entries that carry the same text.
        const int count = int(expected.size());
        const auto text = [&](int entry) { return expected[std::size_t(entry)].section('\t', 1); };
        for (int entry = -1; entry <= count; ++entry) {
            const bool listed = entry >= 0 && entry < count;
            int first = entry, end = entry;
            while (listed && first > 0 && text(first - 1) == text(entry))
                --first;
            while (listed && end < count && text(end) == text(entry))
                ++end;
            const EntryGroup group = result.outcome.lineEntries.groupOf(entry);
            EXPECT_EQ(std::pair(group.first, group.size),
                listed ? std::pair(first, end - first) : std::pair(-1, 0))
                << entry;
        }
    }
}

// Progress runs up to every line, through the same steps however the threads are timed; a stop
// lists the groups found among the lines every thread has grouped, which for adjacent pairs are
// whole groups from the start of the full result.
TEST(DuplicateScan, ProgressAndStop)
{
    std::string file;
    for (int i = 0; i < 20000; ++i)
        file += std::to_string(i) + "\n" + std::to_string(i) + "\n";
    const auto text = LoadedText::fromBytes(file);
    for (const Parallelism parallelism : {Parallelism {1}, Parallelism {3, 1, 100}}) {
        SCOPED_TRACE(parallelism.threads);
        ItemVectorList full;
        qint64 lastDone = -1;
        DuplicateScanner(*text, {}, parallelism).run(full, [&](qint64 done, qint64 total) {
            EXPECT_TRUE(done >= lastDone && total == 40000) << done << " of " << total;
            lastDone = done;
            return true;
        });
        EXPECT_EQ(lastDone, 40000);

        ItemVectorList partial;
        const ScanOutcome outcome
            = DuplicateScanner(*text, {}, parallelism).run(partial, [](qint64 done, qint64) {
                  return done < 30000;
              });
        EXPECT_TRUE(outcome.stopped);
        ASSERT_GT(partial.ListCount(), 0);
        ASSERT_LT(partial.ListCount(), full.ListCount());
        EXPECT_EQ(outcome.entryCount, partial.ListCount());
        EXPECT_EQ(outcome.groupCount * 2, partial.ListCount());
        for (int i = 0; i < partial.ListCount(); ++i)
            ASSERT_EQ(partial.List(i), full.List(i)) << "entry " << i;
        EXPECT_EQ(outcome.lineEntries.entryOf(partial.ListCount()), -1);
    }
}

} // namespace
