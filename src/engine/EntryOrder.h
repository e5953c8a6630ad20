#pragma once

#include "engine/BulkMemory.h"
#include "engine/LineGrouping.h"
#include "engine/Parallelism.h"

#include <cstdint>
#include <functional>

namespace twinscan {

// Turns grouped lines into the duplicates list's order: groups in the order of their first
// lines, each group's lines in file order. Both steps work on ranges of lines side by side: a
// group's place comes from the sizes of the groups before it, counted per range, and a line's
// entry from its group's place and its rank in the group, so no range waits for another.

// Gives every group its place in the list, as many entries as it has lines: the first line's
// link becomes firstLine | the index of its group's first entry. Answers the number of entries.
std::size_t placeGroups(BulkArray<std::uint32_t> &links, const Parallelism &parallelism);

// Writes every grouped line into `entries` at its place, a first line marked with firstLine,
// and turns the link of each line other than a first line into its entry's index plus one.
// False when `keepGoing`, asked between ranges, answered false; the entries are then unusable.
bool sortEntries(const LineGrouping &grouping, BulkArray<std::uint32_t> &links,
    BulkArray<std::uint32_t> &entries, const Parallelism &parallelism,
    const std::function<bool()> &keepGoing);

} // namespace twinscan
