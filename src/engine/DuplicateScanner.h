#pragma once

#include "engine/BulkMemory.h"
#include "engine/KeySpec.h"
#include "engine/LineList.h"
#include "engine/LoadedText.h"
#include "engine/Parallelism.h"
#include "engine/Progress.h"
#include "engine/ScanOptions.h"

#include <cstdint>
#include <functional>

namespace twinscan {

// A group's entries in the duplicates list: `size` entries from `first` on.
struct EntryGroup
{
    int first = -1;
    int size = 0;
};

// For every line of a scanned file, the duplicates-list entry that stands for it, and for every
// entry its group: four bytes a line and four an entry, so that "is line n a duplicate, which of
// how many" is a look-up or two on a file of millions of lines.
class LineEntryIndex
{
public:
    LineEntryIndex() = default;
    // `entryPlusOne` holds, per line, its entry's index plus one, or 0 for a line without one.
    // `groups` holds, per entry, the group's size | groupStart for the first entry of a group,
    // and the index of that first entry for the others. Only the first `listed` entries count: a
    // stopped list ends there, perhaps inside a group.
    LineEntryIndex(
        BulkArray<std::uint32_t> entryPlusOne, BulkArray<std::uint32_t> groups, std::size_t listed)
        : entryPlusOne_(std::move(entryPlusOne)), groups_(std::move(groups)), listed_(listed)
    {
    }
    static constexpr std::uint32_t groupStart = 0x80000000U;

    // The index of the line's entry, or -1 when the line has none (or lies outside the file).
    int entryOf(int line) const
    {
        if (line < 0 || std::size_t(line) >= entryPlusOne_.size())
            return -1;
        const std::uint32_t entry = entryPlusOne_[std::size_t(line)];
        return entry != 0 && entry <= listed_ ? int(entry) - 1 : -1;
    }

    // The group of an entry, as far as it is listed; no group for an index outside the list.
    EntryGroup groupOf(int entry) const
    {
        if (entry < 0 || std::size_t(entry) >= listed_)
            return {};
        const std::uint32_t value = groups_[std::size_t(entry)];
        const std::uint32_t first = value & groupStart ? std::uint32_t(entry) : value;
        return {int(first), int(groups_[first] & ~groupStart)};
    }

private:
    BulkArray<std::uint32_t> entryPlusOne_;
    BulkArray<std::uint32_t> groups_;
    std::size_t listed_ = 0;
};

struct ScanOutcome
{
    bool stopped = false;
    int groupCount = 0; // distinct duplicated texts
    int entryCount = 0; // every occurrence of every duplicated text
    LineEntryIndex lineEntries;
};

// Finds every line whose key occurs more than once and appends one entry per occurrence to the
// duplicates list: groups in the order of their first occurrences, each group's first occurrence
// first and then the others in file order, every entry carrying the first occurrence's text.
// Each line is normalised once and grouped through a hash table, so the work grows linearly.
class DuplicateScanner
{
public:
    DuplicateScanner(const LoadedText &text, ScanRules rules,
        const Parallelism &parallelism = Parallelism::fromEnvironment(), const KeySpec &key = {});

    // `progress` sees how far the scan has come, in lines out of all lines. A stop while the
    // lines are grouped lists the groups found among the lines grouped until then, each with two
    // or more of those lines, as a whole run would list them; a stop while the groups are listed
    // keeps the entries listed so far, which may end inside a group.
    ScanOutcome run(LineList &duplicates, const ProgressFn &progress = {});

private:
    const LoadedText &text_;
    ScanRules rules_;
    Parallelism parallelism_;
    KeySpec key_;
};

} // namespace twinscan
