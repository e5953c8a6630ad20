#include "EngineTestSupport.h"
#include "engine/clsListEmu.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace twinscan;
using namespace twinscan::test;

namespace {

const ScanOptions defaults = options(0, 0, 0);

// The named cases; the cross-check against the quadratic search covers the rest.
TEST(DuplicateScan, ListsEveryOccurrenceOfEveryGroup)
{
    const struct
    {
        const char *name;
        std::string file;
        ScanOptions switches;
        std::vector<const char *> entries; // UTF-8 texts of the duplicates list
        int groups;
    } cases[] = {
        {"six lines", "a\nb\nA\na\nb\nc\n", defaults,
            {"[1]\ta", "[3]\ta", "[4]\ta", "[2]\tb", "[5]\tb"}, 2},
        {"x twice", "x\r\nx\r\n", defaults, {"[1]\tx", "[2]\tx"}, 1},
        {"one line", "only\r\n", defaults, {}, 0},
        {"case value 2 counts as on", "a\nA\n", options(2, 0, 0), {}, 0},
        {"trim value 2 counts as off", "a\n a\n", options(0, 2, 0), {}, 0},
        {"include value 2 counts as off", "\n\n", options(0, 0, 2), {}, 0},
        {"include 0 never lists blank lines", "\n  \n\n  \n", defaults, {}, 0},
        {"include 1 trim 0 keeps empty and spaces apart", "\n  \n\n  \n", options(0, 0, 1),
            {"[1]\t", "[3]\t", "[2]\t  ", "[4]\t  "}, 2},
        {"include 1 trim 1 groups empty and spaces", "\n  \n\n", options(0, 1, 1),
            {"[1]\t", "[2]\t", "[3]\t"}, 1},
        {"tab is not trimmed", "a\n\ta\n", options(0, 1, 0), {}, 0},
        {"first occurrence's text on every entry", "Abc\nABC\n", defaults, {"[1]\tAbc", "[2]\tAbc"},
            1},
        {"first occurrence keeps its spaces", "  Hello \nhello\n", options(0, 1, 0),
            {"[1]\t  Hello ", "[2]\t  Hello "}, 1},
        {"text containing a bracket", "a]b\nx\na]b\n", defaults, {"[1]\ta]b", "[3]\ta]b"}, 1},
        {"UTF-8 accents fold", "\xC3\xA9t\xC3\xA9\n\xC3\x89T\xC3\x89\n", defaults,
            {"[1]\t\xC3\xA9t\xC3\xA9", "[2]\t\xC3\xA9t\xC3\xA9"}, 1},
        {"UTF-8 accents apart when case-sensitive", "\xC3\xA9\n\xC3\x89\n", options(1, 0, 0), {},
            0},
        // Each line in its own encoding: UTF-8 where it is valid, Latin-1 otherwise.
        {"mixed encodings", "\xC3\xA9\ncaf\xE9\n\xC3\x89\nCAF\xC9\n", defaults,
            {"[1]\t\xC3\xA9", "[3]\t\xC3\xA9", "[2]\tcaf\xC3\xA9", "[4]\tcaf\xC3\xA9"}, 2},
        // Latin-1 "\xE2\xA9" upper-cases to the bytes of UTF-8 "\xC2\xA9", another text.
        {"encodings never meet", "\xE2\xA9\n\xC2\xA9\n", defaults, {}, 0},
        // "\xC3\x9F" upper-cases to "SS" through a whole string, which keeps the mark too.
        {"a byte-order mark after the start is text",
            "x\n\xEF\xBB\xBF\xC3\x9F\n\xC3\x9F\n\xEF\xBB\xBF\xC3\x9F\n", defaults,
            {"[2]\t\xEF\xBB\xBF\xC3\x9F", "[4]\t\xEF\xBB\xBF\xC3\x9F"}, 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<QString> expected;
        for (const char *entry : c.entries)
            expected.push_back(QString::fromUtf8(entry));
        const ScanResult result = scanBytes(c.file, c.switches);
        EXPECT_EQ(result.entries, expected);
        EXPECT_EQ(result.outcome.groupCount, c.groups);
        EXPECT_EQ(result.outcome.entryCount, int(expected.size()));
        EXPECT_FALSE(result.outcome.stopped);
        // Each line leads to its own entry, and only lines with an entry lead anywhere.
        const LoadedText &text = *LoadedText::fromBytes(c.file);
        int linesWithEntries = 0;
        for (int line = -1; line <= text.lineCount(); ++line) {
            const int entry = result.outcome.lineEntries.entryOf(line);
            if (entry >= 0) {
                ++linesWithEntries;
                EXPECT_EQ(result.lines[std::size_t(entry)], line);
            }
        }
        EXPECT_EQ(linesWithEntries, int(expected.size()));
        // Large files keep their results in the emulation, which must read back the same.
        clsListEmu emulation;
        emulation.setUpperLimit(LoadedText::fromBytes(c.file)->lineCount());
        EXPECT_EQ(scanBytes(c.file, c.switches, &emulation).entries, expected) << "emulation";
    }
}

// Progress runs up to every line; a stop lists the groups found among the lines grouped until
// then, which for adjacent pairs are whole groups from the start of the full result.
TEST(DuplicateScan, ProgressAndStop)
{
    std::string file;
    for (int i = 0; i < 20000; ++i)
        file += std::to_string(i) + "\n" + std::to_string(i) + "\n";
    const auto text = LoadedText::fromBytes(file);
    ItemVectorList full;
    qint64 lastDone = -1;
    DuplicateScanner(*text, {}).run(full, [&](qint64 done, qint64 total) {
        EXPECT_TRUE(done >= lastDone && total == 40000) << done << " of " << total;
        lastDone = done;
        return true;
    });
    EXPECT_EQ(lastDone, 40000);

    ItemVectorList partial;
    const ScanOutcome outcome
        = DuplicateScanner(*text, {}).run(partial, [](qint64 done, qint64) { return done == 0; });
    EXPECT_TRUE(outcome.stopped);
    ASSERT_GT(partial.ListCount(), 0);
    ASSERT_LT(partial.ListCount(), full.ListCount());
    EXPECT_EQ(outcome.entryCount, partial.ListCount());
    EXPECT_EQ(outcome.groupCount * 2, partial.ListCount());
    for (int i = 0; i < partial.ListCount(); ++i)
        ASSERT_EQ(partial.List(i), full.List(i)) << "entry " << i;
    EXPECT_EQ(outcome.lineEntries.entryOf(partial.ListCount()), -1);
}

} // namespace
