#include "engine/DuplicateScanner.h"

#include "engine/LineGrouping.h"

#include <algorithm>
#include <cstdint>

namespace twinscan {

namespace {
constexpr std::uint32_t firstLine = LineGrouping::firstLine;
constexpr std::uint32_t groupStart = LineEntryIndex::groupStart;

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
// False when `keepGoing`, asked every `step` lines, answered false.
bool sortEntries(BulkArray<std::uint32_t> &links, BulkArray<std::uint32_t> &entries,
    const std::function<bool()> &keepGoing, std::size_t step)
{
    constexpr std::size_t ahead = 16;
    const std::size_t total = links.size();
    for (std::size_t line = 0; line < total; ++line) {
        if (line % step == 0 && keepGoing && !keepGoing())
            return false;
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
    return true;
}

// Appends the sorted entries to the list, asking `keepGoing` every `step` entries, and turns
// each entry's place into its group (LineEntryIndex) and each first line's link into its entry.
// Answers how many entries it appended and counts the groups they begin.
std::size_t listEntries(LineList &duplicates, BulkArray<std::uint32_t> &links,
    BulkArray<std::uint32_t> &entries, int &groups, const std::function<bool()> &keepGoing,
    std::size_t step)
{
    const std::size_t count = entries.size();
    std::size_t start = 0;
    std::size_t i = 0;
    for (int first = 0; i < count; ++i) {
        if (i % step == 0 && keepGoing && !keepGoing())
            break;
        const std::uint32_t entry = entries[i];
        const int line = int(entry & ~firstLine);
        if (entry & firstLine) {
            first = line;
            links[std::size_t(line)] = std::uint32_t(i) + 1;
            if (i > 0)
                entries[start] = groupStart | std::uint32_t(i - start);
            start = i;
            ++groups;
        } else {
            entries[i] = std::uint32_t(start);
        }
        duplicates.addEntry(line, first);
    }
    if (i > 0)
        entries[start] = groupStart | std::uint32_t(i - start);
    return i;
}
} // namespace

DuplicateScanner::DuplicateScanner(
    const LoadedText &text, ScanRules rules, const Parallelism &parallelism)
    : text_(text), rules_(rules), parallelism_(parallelism)
{
}

// After a stop while grouping, the groups found so far are listed whole; a stop while listing
// ends the list where it is.
ScanOutcome DuplicateScanner::run(LineList &duplicates, const ProgressFn &progress)
{
    LineGrouping grouping(text_, rules_, parallelism_);
    const auto total = qint64(text_.lineCount());
    ScanOutcome outcome;
    const bool grouped = grouping.run(progress);
    std::function<bool()> listing;
    if (grouped)
        listing = [&] { return keepGoing(progress, total, total); };
    const std::size_t step = std::max<std::size_t>(parallelism_.blockLines, 1);
    BulkArray<std::uint32_t> links = grouping.takeLinks();
    BulkArray<std::uint32_t> entries(placeGroups(links));
    const std::size_t listed = sortEntries(links, entries, listing, step)
        ? listEntries(duplicates, links, entries, outcome.groupCount, listing, step)
        : 0;
    outcome.stopped = !grouped || listed < entries.size();
    outcome.entryCount = int(listed);
    outcome.lineEntries = LineEntryIndex(std::move(links), std::move(entries), listed);
    return outcome;
}

} // namespace twinscan
