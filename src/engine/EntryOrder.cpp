#include "engine/EntryOrder.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace twinscan {

namespace {
constexpr std::uint32_t firstLine = LineGrouping::firstLine;

struct LineRanges
{
    std::size_t lines;
    std::size_t width;
    std::size_t count() const { return (lines + width - 1) / width; }
    std::size_t begin(std::size_t range) const { return range * width; }
    std::size_t end(std::size_t range) const { return std::min(lines, (range + 1) * width); }
};

LineRanges rangesOf(std::size_t lines, const Parallelism &parallelism)
{
    return {lines, std::max<std::size_t>(parallelism.blockLines, 1)};
}
} // namespace

std::size_t placeGroups(BulkArray<std::uint32_t> &links, const Parallelism &parallelism)
{
    const LineRanges ranges = rangesOf(links.size(), parallelism);
    std::vector<std::size_t> starts(ranges.count() + 1);
    runLanes(parallelism.threads, ranges.count(), 1,
        [&](std::size_t range, std::size_t) {
            std::size_t entries = 0;
            for (std::size_t line = ranges.begin(range); line < ranges.end(range); ++line)
                entries += links[line] & firstLine ? links[line] & ~firstLine : 0;
            starts[range + 1] = entries;
        },
        {});
    std::partial_sum(starts.begin(), starts.end(), starts.begin());
    runLanes(parallelism.threads, ranges.count(), 1,
        [&](std::size_t range, std::size_t) {
            std::size_t placed = starts[range];
            for (std::size_t line = ranges.begin(range); line < ranges.end(range); ++line) {
                if (links[line] & firstLine) {
                    const std::uint32_t size = links[line] & ~firstLine;
                    links[line] = firstLine | std::uint32_t(placed);
                    placed += size;
                }
            }
        },
        {});
    return starts.back();
}

// Only the links of lines other than first lines change, and each range changes only its own,
// so the first lines' places stay readable by every range. The places of the groups of lines a
// little ahead are fetched while the current line is stored.
bool sortEntries(const LineGrouping &grouping, BulkArray<std::uint32_t> &links,
    BulkArray<std::uint32_t> &entries, const Parallelism &parallelism,
    const std::function<bool()> &keepGoing)
{
    constexpr std::size_t ahead = 16;
    const LineRanges ranges = rangesOf(links.size(), parallelism);
    const auto sortRange = [&](std::size_t range, std::size_t) {
        const std::size_t end = ranges.end(range);
        for (std::size_t line = ranges.begin(range); line < end; ++line) {
            if (line + ahead < end) {
                const std::uint32_t later = links[line + ahead];
                if (later && !(later & firstLine))
                    __builtin_prefetch(&links[later - 1]);
            }
            const std::uint32_t link = links[line];
            if (link & firstLine) {
                entries[link & ~firstLine] = std::uint32_t(line) | firstLine;
            } else if (link != 0) {
                const std::uint32_t place = (links[link - 1] & ~firstLine) + grouping.rankOf(line);
                entries[place] = std::uint32_t(line);
                links[line] = place + 1;
            }
        }
    };
    return runLanes(parallelism.threads, ranges.count(), 1, sortRange, keepGoing);
}

} // namespace twinscan
