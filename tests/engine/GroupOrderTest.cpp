#include "engine/GroupOrder.h"

#include "EngineTestSupport.h"

using namespace twinscan;
using namespace twinscan::test;

namespace {

// The lines the rows show, the largest groups first and groups of one size in the order of their
// first lines, each group's lines in file order.
TEST(GroupOrder, LargestGroupsFirstTiesInFileOrder)
{
    const struct
    {
        std::string file;
        std::vector<int> lines; // 0-based, in row order
    } cases[] = {
        {"a\nb\na\nc\nb\nb\nd\nd\nc\nd\nd\n", {6, 7, 9, 10, 1, 4, 5, 0, 2, 3, 8}},
        {"a\na\nb\nb\n", {0, 1, 2, 3}},
        {"x\ny\n", {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file);
        const ScanResult result = scanBytes(c.file, {});
        const BulkArray<std::uint32_t> order = entriesByGroupSize(
            result.outcome.lineEntries, std::size_t(result.outcome.entryCount));
        std::vector<int> lines;
        for (std::size_t row = 0; row < order.size(); ++row)
            lines.push_back(result.lines[order[row]]);
        EXPECT_EQ(lines, c.lines);
    }
}

} // namespace
