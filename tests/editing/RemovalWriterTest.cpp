#include "SaveFixture.h"

#include <vector>

using namespace twinscan;
using namespace twinscan::test;

namespace {

struct CopyCase
{
    const char *name;
    std::string input;
    std::vector<int> removed; // 1-based line numbers
    SaveOptions options;
    std::string expected;
    int removedCount;
};

const SaveOptions keepAll {0, 1};
const SaveOptions trimOnly {1, 1};
const SaveOptions dropEmpty {0, 0};
const SaveOptions trimAndDrop {1, 0};

const std::vector<CopyCase> copyCases = {
    {"CrLf", "a\r\nb\r\na\r\nc\r\n", {3}, keepAll, "a\r\nb\r\nc\r\n", 1},
    {"Lf", "a\nb\na\nc\n", {3}, keepAll, "a\nb\nc\n", 1},
    {"LoneCrBecomesCrLf", "a\rb\ra\rc\r", {1}, keepAll, "b\r\na\r\nc\r\n", 1},
    {"MixedStartingWithCrLf", "a\r\nb\nc\rd\r\n", {2}, keepAll, "a\r\nc\r\nd\r\n", 1},
    {"MixedStartingWithLf", "a\nb\r\nc\rd", {4}, keepAll, "a\nb\nc\n", 1},
    {"NoFinalBreak", "x\r\ny\r\nx", {1}, keepAll, "y\r\nx\r\n", 1},
    {"SingleLineWithoutBreak", "x", {}, keepAll, "x\r\n", 0},
    {"RemovedFirstLineStillSetsTheEnding", "x\ny\nx\n", {1}, keepAll, "y\nx\n", 1},
    {"BomKept",
        "\xEF\xBB\xBF"
        "a\r\nb\r\na\r\n",
        {3}, keepAll,
        "\xEF\xBB\xBF"
        "a\r\nb\r\n",
        1},
    {"BomIsNotPartOfLineOne",
        "\xEF\xBB\xBF"
        "a\nb\n",
        {1}, keepAll,
        "\xEF\xBB\xBF"
        "b\n",
        1},
    {"EveryOccurrenceOfAGroup", "x\ny\nx\nx\nz\n", {1, 3, 4}, keepAll, "y\nz\n", 3},
    {"EmptyLinesKept", "\n\na\n\n", {2}, keepAll, "\na\n\n", 1},
    {"TrimSpacesNotTabs", "  a  \r\n\tb \r\n   \r\nc\r\n", {}, trimOnly, "a\r\n\tb\r\n\r\nc\r\n",
        0},
    {"TrimmedBlankLineDropped", "  a  \r\n\tb \r\n   \r\nc\r\n", {}, trimAndDrop,
        "a\r\n\tb\r\nc\r\n", 0},
    {"UntrimmedSpacesAreNotEmpty", "a\r\n\r\n  \r\nb\r\n", {}, dropEmpty, "a\r\n  \r\nb\r\n", 0},
    {"DroppedEmptyLinesDoNotCountAsRemoved", "a\n\nb\n\na\n", {2, 5}, dropEmpty, "a\nb\n", 2},
    {"NothingLeft", "a\na\n", {1, 2}, keepAll, "", 2},
    {"NumbersBeyondTheFileAreIgnored", "a\nb\n", {0, 3, 99}, keepAll, "a\nb\n", 0},
};

class RemovalWriterTest : public SaveFixture
{
};

TEST_F(RemovalWriterTest, WritesEveryLineButTheRemovedOnes)
{
    for (const CopyCase &c : copyCases) {
        SCOPED_TRACE(c.name);
        scan(c.input);
        for (int n : c.removed)
            removals.add(n);
        request.rules = SaveRules::from(c.options);
        const SaveResult result = saveTo(path(QStringLiteral("out.txt")));
        EXPECT_EQ(result.status, SaveStatus::Completed) << result.message.toStdString();
        EXPECT_TRUE(result.message.isEmpty());
        EXPECT_FALSE(result.target.replaceSource);
        EXPECT_EQ(result.removedCount, c.removedCount);
        EXPECT_EQ(readBytes(path(QStringLiteral("out.txt"))), c.expected);
        EXPECT_EQ(readBytes(source), c.input);
    }
}

// Long enough to cross the reader's and the writer's buffers and many progress steps.
TEST_F(RemovalWriterTest, LargeFileMatchesLineByLineCopyAndReportsProgress)
{
    std::string input, expected;
    for (int n = 1; n <= 30000; ++n) {
        const std::string line = "line " + std::to_string(n % 997) + std::string(80, '.');
        input += line + (n % 3 == 0 ? "\r\n" : n % 3 == 1 ? "\r" : "\n");
        if (n % 7 != 0)
            expected += line + "\r\n";
    }
    scan(input);
    for (int n = 7; n <= 30000; n += 7)
        removals.add(n);

    std::vector<qint64> done;
    const SaveResult result = saveTo(path(QStringLiteral("out.txt")), [&](qint64 d, qint64 total) {
        EXPECT_EQ(total, 29999);
        done.push_back(d);
        return true;
    });
    ASSERT_EQ(result.status, SaveStatus::Completed) << result.message.toStdString();
    EXPECT_EQ(result.removedCount, 30000 / 7);
    EXPECT_TRUE(readBytes(path(QStringLiteral("out.txt"))) == expected);
    ASSERT_GE(done.size(), 3u);
    EXPECT_EQ(done.front(), 0);
    EXPECT_EQ(done.back(), 29999);
    EXPECT_TRUE(std::is_sorted(done.begin(), done.end()));
}

TEST_F(RemovalWriterTest, TargetOverwritesAnExistingFile)
{
    scan("a\nb\na\n");
    removals.add(3);
    writeBytes(path(QStringLiteral("out.txt")), std::string(5000, 'z'));
    ASSERT_EQ(saveTo(path(QStringLiteral("out.txt"))).status, SaveStatus::Completed);
    EXPECT_EQ(readBytes(path(QStringLiteral("out.txt"))), "a\nb\n");
}

} // namespace
