#include "SaveFixture.h"

#include <vector>

using namespace twinscan;
using namespace twinscan::test;

namespace {

using RemovalWriterTest = SaveFixture;

// Byte for byte: kept lines end as the source's first line does when that is a lone LF and in
// CR LF otherwise, a byte-order mark stays, and the save switches trim spaces (never tabs) and
// drop empty lines without counting them as removed. The target existed and was longer.
TEST_F(RemovalWriterTest, WritesEveryLineButTheRemovedOnes)
{
    const SaveOptions keep {0, 1}, trim {1, 1}, drop {0, 0}, trimDrop {1, 0};
    const struct
    {
        const char *name;
        std::string input;
        std::vector<int> removed; // 1-based line numbers
        SaveOptions options;
        std::string expected;
        int removedCount;
    } cases[] = {
        {"CrLf", "a\r\nb\r\na\r\nc\r\n", {3}, keep, "a\r\nb\r\nc\r\n", 1},
        {"Lf", "a\nb\na\nc\n", {3}, keep, "a\nb\nc\n", 1},
        {"LoneCrBecomesCrLf", "a\rb\ra\rc\r", {1}, keep, "b\r\na\r\nc\r\n", 1},
        {"MixedStartingWithCrLf", "a\r\nb\nc\rd\r\n", {2}, keep, "a\r\nc\r\nd\r\n", 1},
        {"MixedStartingWithLf", "a\nb\r\nc\rd", {4}, keep, "a\nb\nc\n", 1},
        {"NoFinalBreak", "x\r\ny\r\nx", {1}, keep, "y\r\nx\r\n", 1},
        {"RemovedFirstLineStillSetsTheEnding", "x\ny\nx\n", {1}, keep, "y\nx\n", 1},
        {"BomKept",
            "\xEF\xBB\xBF"
            "a\r\nb\r\na\r\n",
            {3}, keep,
            "\xEF\xBB\xBF"
            "a\r\nb\r\n",
            1},
        {"BomIsNotPartOfLineOne",
            "\xEF\xBB\xBF"
            "a\nb\n",
            {1}, keep,
            "\xEF\xBB\xBF"
            "b\n",
            1},
        {"EveryOccurrenceOfAGroup", "x\ny\nx\nx\nz\n", {1, 3, 4}, keep, "y\nz\n", 3},
        {"EmptyLinesKept", "\n\na\n\n", {2}, keep, "\na\n\n", 1},
        {"TrimSpacesNotTabs", "  a  \r\n\tb \r\n   \r\nc\r\n", {}, trim, "a\r\n\tb\r\n\r\nc\r\n",
            0},
        {"TrimmedBlankLineDropped", "  a  \r\n\tb \r\n   \r\nc\r\n", {}, trimDrop,
            "a\r\n\tb\r\nc\r\n", 0},
        {"UntrimmedSpacesAreNotEmpty", "a\r\n\r\n  \r\nb\r\n", {}, drop, "a\r\n  \r\nb\r\n", 0},
        {"DroppedEmptyLinesAreNotRemoved", "a\n\nb\n\na\n", {2, 5}, drop, "a\nb\n", 2},
        {"NothingLeft", "a\na\n", {1, 2}, keep, "", 2},
        {"NumbersBeyondTheFileAreIgnored", "a\nb\n", {0, 3, 99}, keep, "a\nb\n", 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        scan(c.input, c.removed);
        request.rules = SaveRules::from(c.options);
        writeBytes(path("out.txt"), std::string(5000, 'z'));
        const SaveResult result = saveTo(path("out.txt"));
        EXPECT_EQ(result.status, SaveStatus::Completed) << result.message.toStdString();
        EXPECT_FALSE(result.target.replaceSource);
        EXPECT_EQ(result.removedCount, c.removedCount);
        EXPECT_EQ(readBytes(path("out.txt")), c.expected);
        EXPECT_EQ(readBytes(source), c.input);
    }
}

// Long enough to cross the reader's and the writer's buffers and many progress steps.
TEST_F(RemovalWriterTest, LargeFileMatchesLineByLineCopy)
{
    std::string input, expected;
    std::vector<int> removed;
    for (int n = 1; n <= 30000; ++n) {
        const std::string line = "line " + std::to_string(n % 997) + std::string(80, '.');
        input += line + (n % 3 == 0 ? "\r\n" : n % 3 == 1 ? "\r" : "\n");
        if (n % 7 != 0)
            expected += line + "\r\n";
        else
            removed.push_back(n);
    }
    scan(input, removed);
    qint64 lastDone = -1;
    const SaveResult result = saveTo(path("out.txt"), [&](qint64 done, qint64 total) {
        EXPECT_TRUE(done >= lastDone && total == 29999) << done << " of " << total;
        lastDone = done;
        return true;
    });
    ASSERT_EQ(result.status, SaveStatus::Completed) << result.message.toStdString();
    EXPECT_EQ(result.removedCount, 30000 / 7);
    EXPECT_TRUE(readBytes(path("out.txt")) == expected);
    EXPECT_EQ(lastDone, 29999);
}

} // namespace
