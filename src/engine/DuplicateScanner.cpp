#include "engine/DuplicateScanner.h"

#include "engine/EntryOrder.h"
#include "engine/LineGrouping.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace twinscan {

namespace {
constexpr std::uint32_t firstLine = LineGrouping::firstLine;
constexpr std::uint32_t groupStart = LineEntryIndex::groupStart;

// Appends the sorted entries to the list, asking `keepGoing` every `step` entries, and turns
// each entry's place into its group (LineEntryIndex) and each first line's link into its entry.
// Answers how many entries it appended and counts the groups they begin.
std::size_t listEntries(LineList &duplicates, BulkArray<std::uint32_t> &links,
    BulkArray<std::uint32_t> &entries, int &groups, const std::function<bool()> &keepGoing,
    std::size_t step)
{
    const std::size_t count = entries.size();
    std::size_t start = 0;
    std::size_t listed = 0;
    int first = 0;
    const auto entryOf = [&](std::size_t i) {
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
        return std::pair {line, first};
    };
    while (listed < count && !(keepGoing && !keepGoing())) {
        const std::size_t end = std::min(count, listed + step);
        duplicates.addEntries(
            int(end - listed), [&, from = listed](std::size_t k) { return entryOf(from + k); });
        listed = end;
    }
    if (listed > 0)
        entries[start] = groupStart | std::uint32_t(listed - start);
    return listed;
}
} // namespace

DuplicateScanner::DuplicateScanner(
    const LoadedText &text, ScanRules rules, const Parallelism &parallelism, const KeySpec &key)
    : text_(text), rules_(rules), parallelism_(parallelism), key_(key)
{
}

// After a stop while grouping, the groups found so far are listed whole; a stop while listing
// ends the list where it is.
ScanOutcome DuplicateScanner::run(LineList &duplicates, const ProgressFn &progress)
{
    LineGrouping grouping(text_, rules_, parallelism_, key_);
    const auto total = qint64(text_.lineCount());
    ScanOutcome outcome;
    const bool grouped = grouping.run(progress);
    std::function<bool()> listing;
    if (grouped)
        listing = [&] { return keepGoing(progress, total, total); };
    BulkArray<std::uint32_t> links = grouping.takeLinks();
    BulkArray<std::uint32_t> entries(placeGroups(links, parallelism_));
    const bool sorted = sortEntries(grouping, links, entries, parallelism_, listing);
    grouping.forgetRanks();
    const std::size_t step = std::max<std::size_t>(parallelism_.blockLines, 1);
    const std::size_t listed
        = sorted ? listEntries(duplicates, links, entries, outcome.groupCount, listing, step) : 0;
    outcome.stopped = !grouped || listed < entries.size();
    outcome.entryCount = int(listed);
    outcome.lineEntries = LineEntryIndex(std::move(links), std::move(entries), listed);
    return outcome;
}

} // namespace twinscan
