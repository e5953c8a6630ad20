#include "EngineTestFiles.h"
#include "ScanTestSupport.h"
#include "engine/clsListEmu.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

using namespace twinscan;
using namespace twinscan::test;
using namespace std::string_literals;

namespace {

struct ScanCase
{
    const char *name;
    std::string file;
    ScanOptions switches;
    std::vector<std::string> entries; // UTF-8 texts of the duplicates list
    int groups;
};

const ScanOptions defaults = options(0, 0, 0);

const ScanCase scanCases[] = {
    {"six lines, case-insensitive", "a\nb\nA\na\nb\nc\n", defaults,
        {"[1]\ta", "[3]\ta", "[4]\ta", "[2]\tb", "[5]\tb"}, 2},
    {"six lines, case-sensitive", "a\nb\nA\na\nb\nc\n", options(1, 0, 0),
        {"[1]\ta", "[4]\ta", "[2]\tb", "[5]\tb"}, 2},
    {"x twice", "x\r\nx\r\n", defaults, {"[1]\tx", "[2]\tx"}, 1},
    {"one line", "only\r\n", defaults, {}, 0},
    {"all distinct", "a\nb\nc", defaults, {}, 0},
    {"all equal", "q\nq\nq\nq", defaults, {"[1]\tq", "[2]\tq", "[3]\tq", "[4]\tq"}, 1},
    {"case value 2 counts as on", "a\nA\n", options(2, 0, 0), {}, 0},
    {"case value -1 counts as on", "a\nA\n", options(-1, 0, 0), {}, 0},
    {"trim value 2 counts as off", "a\n a\n", options(0, 2, 0), {}, 0},
    {"trim 1 groups surrounding spaces", "a\n a \n", options(0, 1, 0), {"[1]\ta", "[2]\ta"}, 1},
    {"include value 2 counts as off", "\n\n", options(0, 0, 2), {}, 0},
    {"include 1 lists empty lines", "\n\n", options(0, 0, 1), {"[1]\t", "[2]\t"}, 1},
    {"include 0 never lists blank lines, trim 0", "\n  \n\n  \n", options(0, 0, 0), {}, 0},
    {"include 0 never lists blank lines, trim 1", "\n  \n\n  \n", options(0, 1, 0), {}, 0},
    {"include 1 trim 0 keeps empty and spaces apart", "\n  \n\n  \n", options(0, 0, 1),
        {"[1]\t", "[3]\t", "[2]\t  ", "[4]\t  "}, 2},
    {"include 1 trim 1 groups empty and spaces", "\n  \n\n", options(0, 1, 1),
        {"[1]\t", "[2]\t", "[3]\t"}, 1},
    {"tab is not trimmed", "a\n\ta\n", options(0, 1, 0), {}, 0},
    {"tab-only lines take part", "\t\n\t\n", defaults, {"[1]\t\t", "[2]\t\t"}, 1},
    {"first occurrence's text on every entry", "Abc\nABC\n", defaults, {"[1]\tAbc", "[2]\tAbc"}, 1},
    {"first occurrence keeps its spaces", "  Hello \nhello\n", options(0, 1, 0),
        {"[1]\t  Hello ", "[2]\t  Hello "}, 1},
    {"groups in order of first occurrence", "b\na\nc\na\nb\nc\n", defaults,
        {"[1]\tb", "[5]\tb", "[2]\ta", "[4]\ta", "[3]\tc", "[6]\tc"}, 3},
    {"UTF-8 accents fold", "\xC3\xA9t\xC3\xA9\n\xC3\x89T\xC3\x89\n", defaults,
        {"[1]\t\xC3\xA9t\xC3\xA9", "[2]\t\xC3\xA9t\xC3\xA9"}, 1},
    {"UTF-8 accents kept apart when case-sensitive", "\xC3\xA9\n\xC3\x89\n", options(1, 0, 0), {},
        0},
    {"UTF-8 line folds with its ASCII twin",
        "STRASSE\nstra\xC3\x9F"
        "e\n",
        defaults, {"[1]\tSTRASSE", "[2]\tSTRASSE"}, 1},
    {"Latin-1 accents fold", "caf\xE9\nCAF\xC9\n", defaults,
        {"[1]\tcaf\xC3\xA9", "[2]\tcaf\xC3\xA9"}, 1},
    {"Latin-1 division sign is not a letter", "\xF7\n\xD7\n", defaults, {}, 0},
    {"text containing a bracket", "a]b\nx\na]b\n", defaults, {"[1]\ta]b", "[3]\ta]b"}, 1},
    {"NUL bytes take part in the key", "a\0b\na\0c\na\0b"s, defaults, {"[1]\ta\0b"s, "[3]\ta\0b"s},
        1},
    {"mixed line ends", "a\r\nb\ra\nb", defaults, {"[1]\ta", "[3]\ta", "[2]\tb", "[4]\tb"}, 2},
    {"BOM is not part of line 1", "\xEF\xBB\xBFx\nx", defaults, {"[1]\tx", "[2]\tx"}, 1},
    {"lines of a word and more", "abcdefghijklmnopq\nABCDEFGHIJKLMNOPQ\nabcdefghijklmnopr\n",
        defaults, {"[1]\tabcdefghijklmnopq", "[2]\tabcdefghijklmnopq"}, 1},
};

// Failed cases print their names rather than their bytes.
void PrintTo(const ScanCase &c, std::ostream *os)
{
    *os << c.name;
}

class DuplicateScan : public ::testing::TestWithParam<ScanCase>
{
};

TEST_P(DuplicateScan, ListsEveryOccurrenceOfEveryGroup)
{
    const ScanCase &c = GetParam();
    const ScanResult result = scanBytes(c.file, c.switches);
    std::vector<QString> expected;
    for (const std::string &entry : c.entries)
        expected.push_back(QString::fromUtf8(entry.data(), qsizetype(entry.size())));
    EXPECT_EQ(result.entries, expected);
    EXPECT_EQ(result.outcome.groupCount, c.groups);
    EXPECT_EQ(result.outcome.entryCount, int(expected.size()));
    EXPECT_FALSE(result.outcome.stopped);
}

INSTANTIATE_TEST_SUITE_P(Table, DuplicateScan, ::testing::ValuesIn(scanCases), ByName());

// The scan fills the emulation that large files use exactly as it fills a plain list.
TEST(DuplicateScanIntoEmulation, SameEntriesAsAPlainList)
{
    const std::string file = "a\nb\nA\na\nb\nc\n";
    const auto text = LoadedText::fromBytes(file);
    clsListEmu emulation;
    emulation.setUpperLimit(text->lineCount());
    emulation.setSource(text);
    const ScanOutcome outcome = DuplicateScanner(*text, ScanRules::from(defaults)).run(emulation);
    const ScanResult plain = scanBytes(file, defaults);
    ASSERT_EQ(emulation.ListCount(), int(plain.entries.size()));
    for (int i = 0; i < emulation.ListCount(); ++i)
        EXPECT_EQ(emulation.List(i), plain.entries[std::size_t(i)]);
    EXPECT_EQ(outcome.groupCount, 2);
}

TEST(DuplicateScanStop, StopWhileGroupingListsNothing)
{
    const auto text = LoadedText::fromBytes("a\na\n");
    ItemVectorList duplicates;
    const ScanOutcome outcome
        = DuplicateScanner(*text, {}).run(duplicates, [](qint64, qint64) { return false; });
    EXPECT_TRUE(outcome.stopped);
    EXPECT_EQ(duplicates.ListCount(), 0);
}

// A stop while the entries are listed leaves whole groups from the start of the full result.
TEST(DuplicateScanStop, StopWhileListingKeepsAPrefixOfWholeGroups)
{
    std::string file;
    for (int i = 0; i < 20000; ++i)
        file += std::to_string(i) + "\n" + std::to_string(i) + "\n";
    const auto text = LoadedText::fromBytes(file);
    ItemVectorList full;
    DuplicateScanner(*text, {}).run(full);
    ItemVectorList partial;
    const ScanOutcome outcome = DuplicateScanner(*text, {}).run(
        partial, [](qint64 done, qint64 total) { return done < total; });
    EXPECT_TRUE(outcome.stopped);
    ASSERT_GT(partial.ListCount(), 0);
    ASSERT_LT(partial.ListCount(), full.ListCount());
    EXPECT_EQ(partial.ListCount() % 2, 0);
    for (int i = 0; i < partial.ListCount(); ++i) {
        EXPECT_EQ(partial.itemAt(i).line, full.itemAt(i).line);
        EXPECT_EQ(partial.itemAt(i).first, full.itemAt(i).first);
    }
}

TEST(DuplicateScanProgress, ReachesEveryLine)
{
    std::string file;
    for (int i = 0; i < 40000; ++i)
        file += "line " + std::to_string(i % 100) + "\n";
    const auto text = LoadedText::fromBytes(file);
    ItemVectorList duplicates;
    qint64 lastDone = -1;
    qint64 lastTotal = 0;
    DuplicateScanner(*text, {}).run(duplicates, [&](qint64 done, qint64 total) {
        EXPECT_GE(done, lastDone);
        EXPECT_LE(done, total);
        lastDone = done;
        lastTotal = total;
        return true;
    });
    EXPECT_EQ(lastTotal, 40000);
    EXPECT_GT(lastDone, 0);
    EXPECT_EQ(duplicates.ListCount(), 40000);
}

} // namespace
