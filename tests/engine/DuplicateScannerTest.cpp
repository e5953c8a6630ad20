#include "EngineTestSupport.h"

#include <algorithm>
#include <chrono>
#include <thread>

using namespace twinscan;
using namespace twinscan::test;

namespace {

// What the cross-check against the quadratic search cannot see: the entries' own format, the
// line each entry leads to and back, and texts too rare for random files.
TEST(DuplicateScan, ListsEveryOccurrenceOfEveryGroup)
{
    const struct
    {
        std::string file;
        std::vector<QString> entries;
        std::vector<int> groupSizes; // in list order
        KeySpec key = {};
    } cases[] = {
        {"a\nb\nA\na\nb\nc\n", {"[1]\ta", "[3]\ta", "[4]\ta", "[2]\tb", "[5]\tb"}, {3, 2}},
        // Latin-1 "\xE2\xA9" upper-cases to the bytes of UTF-8 "\xC2\xA9", another text.
        {"\xE2\xA9\n\xC2\xA9\n", {}, {}},
        // A byte-order mark after the start is text; "\xC3\x9F" upper-cases to "SS" through a
        // whole string, which keeps the mark too.
        {"x\n\xEF\xBB\xBF\xC3\x9F\n\xC3\x9F\n\xEF\xBB\xBF\xC3\x9F\n",
            {"[2]\t\xEF\xBB\xBF\xC3\x9F", "[4]\t\xEF\xBB\xBF\xC3\x9F"}, {2}},
        // Grouped by a part of the line, every entry still shows its group's first whole line;
        // CR LF is no part of the last field.
        {"x,1\r\ny,2\r\nz,1\r\n", {"[1]\tx,1", "[3]\tx,1"}, {2},
            KeySpec {KeySpec::Kind::Fields, {2}, ",", false, {}, 0, 0}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(visible(c.file));
        // Each entry's group as its first entry and size, with no group on either side of the list.
        std::vector<std::pair<int, int>> groups {{-1, 0}};
        for (const int size : c.groupSizes)
            groups.insert(groups.end(), std::size_t(size), {int(groups.size()) - 1, size});
        groups.emplace_back(-1, 0);
        for (const Parallelism parallelism : {Parallelism {1}, Parallelism {3, 1, 1}}) {
            const ScanResult result = scanBytes(c.file, {}, parallelism, c.key);
            EXPECT_EQ(result.entries, c.entries);
            // Each line leads to its own entry, and only lines with an entry lead anywhere.
            const int lineCount = LoadedText::fromBytes(c.file)->lineCount();
            for (int line = -1; line <= lineCount; ++line) {
                const auto entry = std::find(result.lines.begin(), result.lines.end(), line);
                EXPECT_EQ(result.outcome.lineEntries.entryOf(line),
                    entry == result.lines.end() ? -1 : int(entry - result.lines.begin()));
            }
            for (int entry = -1; entry <= int(c.entries.size()); ++entry) {
                const EntryGroup group = result.outcome.lineEntries.groupOf(entry);
                EXPECT_EQ(std::pair(group.first, group.size), groups[std::size_t(entry + 1)])
                    << entry;
            }
        }
    }
}

// Progress moves while lines are keyed and runs up to every line, through the same steps however
// the threads are timed. A stop while grouping lists the groups found among the lines every
// thread has grouped: pairs of lines 20,000 apart, the later one placed by then or not; the
// other threads, which place lines on while the stop is asked, must take theirs back. A stop
// while listing keeps the entries listed so far, here inside a group, and the index knows only
// those.
TEST(DuplicateScan, ProgressAndStop)
{
    std::string file;
    for (int i = 0; i < 40000; ++i)
        file += std::to_string(i % 20000) + "\n";
    const auto text = LoadedText::fromBytes(file);
    for (const Parallelism parallelism : {Parallelism {1, 1 << 20, 97}, Parallelism {3, 1, 97}}) {
        SCOPED_TRACE(parallelism.threads);
        ItemVectorList full;
        qint64 lastDone = -1;
        bool keying = false; // the first quarter, while lines are keyed
        DuplicateScanner(*text, {}, parallelism).run(full, [&](qint64 done, qint64 total) {
            EXPECT_TRUE(done >= lastDone && total == 40000) << done << " of " << total;
            keying = keying || (done > 0 && done < 10000);
            lastDone = done;
            return true;
        });
        EXPECT_TRUE(keying || parallelism.threads > 1); // others may key every line meanwhile
        EXPECT_EQ(lastDone, 40000);

        for (const bool whileListing : {false, true}) {
            ItemVectorList partial;
            const ScanOutcome outcome
                = DuplicateScanner(*text, {}, parallelism).run(partial, [&](qint64 done, qint64) {
                      if (whileListing)
                          return partial.ListCount() < 5100;
                      if (done >= 30000)
                          std::this_thread::sleep_for(std::chrono::milliseconds(20));
                      return done < 30000;
                  });
            EXPECT_TRUE(outcome.stopped);
            const int count = partial.ListCount();
            ASSERT_GT(count, 0);
            ASSERT_LT(count, full.ListCount());
            EXPECT_EQ(outcome.entryCount, count);
            EXPECT_EQ(outcome.groupCount, (count + 1) / 2);
            EXPECT_EQ(count % 2, whileListing ? 1 : 0);
            for (int i = 0; i < count; ++i)
                ASSERT_EQ(partial.List(i), full.List(i)) << "entry " << i;
            const LineEntryIndex &index = outcome.lineEntries;
            EXPECT_EQ(index.entryOf(int(full.itemAt(count).line)), -1);
            EXPECT_EQ(index.entryOf(int(full.itemAt(count - 1).line)), count - 1);
            EXPECT_EQ(index.groupOf(count - 1).size, whileListing ? 1 : 2);
            EXPECT_EQ(index.groupOf(count).size, 0);
        }
    }
}

} // namespace
