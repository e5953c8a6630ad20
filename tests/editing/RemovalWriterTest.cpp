#include "SaveFixture.h"

using namespace twinscan;
using namespace twinscan::test;

namespace {

using RemovalWriterTest = SaveFixture;

// Byte for byte: kept lines end as the source's first line does when that is a lone LF and in
// CR LF otherwise, also when that line is removed; a byte-order mark stays; the save switches
// trim spaces (never tabs) and drop empty lines without counting them as removed. Progress runs
// up to the last line. Both copies, by the scan's index and line by line, give the same.
TEST_F(RemovalWriterTest, WritesEveryLineButTheRemovedOnes)
{
    // Long enough to cross the reader's and the writer's buffers and many progress steps.
    std::string large, largeSaved, largeLf, largeLfSaved;
    std::vector<int> largeRemoved;
    for (int n = 1; n <= 30000; ++n) {
        const std::string line = "line " + std::to_string(n % 997) + std::string(80, '.');
        large += line + (n % 3 == 0 ? "\r\n" : n % 3 == 1 ? "\r" : "\n");
        largeLf += line + "\n";
        if (n % 7 == 0) {
            largeRemoved.push_back(n);
        } else {
            largeSaved += line + "\r\n";
            largeLfSaved += line + "\n";
        }
    }
    const SaveOptions keep {0, 1}, trim {1, 1}, drop {0, 0}, trimDrop {1, 0};
    const std::string bom = "\xEF\xBB\xBF";
    const struct
    {
        std::string input;
        std::vector<int> removed; // 1-based line numbers
        SaveOptions options;
        std::string expected;
        int removedCount;
    } cases[] = {
        {"x\r\ny\r\nx\r\nx\r\nz\r\n", {1, 3, 4}, keep, "y\r\nz\r\n", 3},
        {"x\r\ny\r\nx", {3}, keep, "x\r\ny\r\n", 1},
        {"a\nb\na\nc", {3}, keep, "a\nb\nc\n", 1}, // the last line gets its break
        {"a\rb\ra\rc", {1}, keep, "b\r\na\r\nc\r\n", 1},
        {"a\r\nb\nc\rd\r\n", {2}, keep, "a\r\nc\r\nd\r\n", 1},
        {"x\nb\r\nc\rd", {1}, keep, "b\nc\nd\n", 1},
        {bom + "a\nb\n", {1}, keep, bom + "b\n", 1},
        {"\n\na\n\n", {2}, keep, "\na\n\n", 1},
        {"  a  \r\n\tb \r\n   \r\nc\r\n", {}, trim, "a\r\n\tb\r\n\r\nc\r\n", 0},
        {"  a  \r\n\tb \r\n   \r\nc\r\n", {}, trimDrop, "a\r\n\tb\r\nc\r\n", 0},
        {"a\n\n  \nb\n\na\n", {2, 6}, drop, "a\n  \nb\n", 2},
        {"a\na\n", {0, 1, 2, 3, 99}, keep, "", 2}, // numbers beyond the file are ignored
        {large, largeRemoved, keep, largeSaved, 30000 / 7},
        {largeLf, largeRemoved, keep, largeLfSaved, 30000 / 7},
    };
    for (const auto &c : cases)
        for (const bool byIndex : {true, false}) {
            SCOPED_TRACE(c.input.substr(0, 40) + (byIndex ? " by index" : " line by line"));
            scan(c.input, c.removed);
            if (!byIndex)
                request.scanned.reset();
            request.rules = SaveRules::from(c.options);
            writeBytes(path("out.txt"), std::string(5000, 'z'));
            qint64 lastDone = -1;
            const SaveResult result = saveTo(path("out.txt"), [&](qint64 done, qint64 total) {
                EXPECT_TRUE(done >= lastDone && total == request.lastLineIndex)
                    << done << " of " << total;
                lastDone = done;
                return true;
            });
            EXPECT_EQ(result.status, SaveStatus::Completed) << result.message.toStdString();
            EXPECT_EQ(result.removedCount, c.removedCount);
            EXPECT_EQ(lastDone, request.lastLineIndex);
            EXPECT_TRUE(readBytes(path("out.txt")) == c.expected)
                << readBytes(path("out.txt")).substr(0, 200);
            EXPECT_EQ(readBytes(source), c.input);
        }
}

} // namespace
