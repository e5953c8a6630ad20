#include "engine/DuplicateScanner.h"

#include "engine/LineGrouping.h"

#include <cstdint>

namespace twinscan {

namespace {
constexpr std::uint32_t firstLine = LineGrouping::firstLine;

// Gives every group its place in the list: in order of first lines, each group as many entries
// as it has lines. The first line's link then holds where its group's next entry goes.
std::size_t placeGroups(BulkArray<std::uint32_t> &links)
{
    std::size_t placed = 0;
    for (std::size_t line = 0; line < links.size(); ++line) {
        if (links[line] & firstLine) {
            const std::uint32_t size = links[line] & ~firstLine;
            links[line] = firstLine | std::uint32_t(placed);
            placed += size;
        }
    }
    return placed;
}

// Sorts the grouped lines into entries, group after group, each group in file order; a group's
// first line is marked with firstLine. Lines are visited in file order, so each group's first
// line comes before the others; the places of the groups of lines a little ahead are fetched
// while the current line is stored. A line other than a first line gets its entry's index plus
// one as its link, the first line only once its group is listed: until then it counts places.
BulkArray<std::uint32_t> sortEntries(BulkArray<std::uint32_t> &links, std::size_t count)
{
    BulkArray<std::uint32_t> entries(count);
    constexpr std::size_t ahead = 16;
    const std::size_t total = links.size();
    for (std::size_t line = 0; line < total; ++line) {
        if (line + ahead < total) {
            const std::uint32_t later = links[line + ahead];
            if (later && !(later & firstLine))
                __builtin_prefetch(&links[later - 1], 1);
        }
        const std::uint32_t link = links[line];
        if (link == 0)
            continue;
        const bool isFirst = link & firstLine;
        const std::size_t first = isFirst ? line : link - 1;
        const std::uint32_t place = links[first] & ~firstLine;
        entries[place] = std::uint32_t(line) | (isFirst ? firstLine : 0);
        links[first] = firstLine | (place + 1);
        if (!isFirst)
            links[line] = place + 1;
    }
    return entries;
}
} // namespace

DuplicateScanner::DuplicateScanner(
    const LoadedText &text, ScanRules rules, const Parallelism &parallelism)
    : text_(text), rules_(rules), parallelism_(parallelism)
{
}

ScanOutcome DuplicateScanner::run(LineList &duplicates, const ProgressFn &progress)
{
    LineGrouping grouping(text_, rules_, parallelism_);
    ScanOutcome outcome;
    const auto total = qint64(text_.lineCount());
    outcome.stopped = !grouping.run(progress) || !keepGoing(progress, total, total);
    outcome.groupCount = grouping.groupCount();
    outcome.entryCount = grouping.entryCount();
    BulkArray<std::uint32_t> links = grouping.takeLinks();
    // Read in order, each entry's place then holds its group.
    BulkArray<std::uint32_t> entries = sortEntries(links, placeGroups(links));
    constexpr std::uint32_t groupStart = LineEntryIndex::groupStart;

    int first = 0;
    std::uint32_t start = 0;
    for (int i = 0; i < outcome.entryCount; ++i) {
        const std::uint32_t entry = entries[std::size_t(i)];
        const int line = int(entry & ~firstLine);
        if (entry & firstLine) {
            first = line;
            links[std::size_t(line)] = std::uint32_t(i) + 1;
            if (i > 0)
                entries[start] = groupStart | (std::uint32_t(i) - start);
            start = std::uint32_t(i);
        } else {
            entries[std::size_t(i)] = start;
        }
        duplicates.addEntry(line, first);
    }
    if (outcome.entryCount > 0)
        entries[start] = groupStart | (std::uint32_t(outcome.entryCount) - start);
    outcome.lineEntries = LineEntryIndex(std::move(links), std::move(entries));
    return outcome;
}

} // namespace twinscan
