#pragma once

#include "engine/BulkMemory.h"
#include "engine/DuplicateScanner.h"

#include <cstdint>

namespace twinscan {

// The duplicates list's entries with the largest groups first, groups of one size in the order of
// their first occurrences, each group's entries in their own order: the entry shown at each row.
// A counting sort over the sizes, so that millions of groups take a few passes over memory. Only
// the first `listed` entries are placed; a group the list ends inside keeps what is listed.
BulkArray<std::uint32_t> entriesByGroupSize(const LineEntryIndex &groups, std::size_t listed);

} // namespace twinscan
