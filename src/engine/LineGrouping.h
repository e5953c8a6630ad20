#pragma once

#include "engine/BulkMemory.h"
#include "engine/LineKey.h"
#include "engine/LoadedText.h"
#include "engine/Progress.h"
#include "engine/ScanOptions.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace twinscan {

// Groups the lines of a file by their normalised text in one pass over the file, through an
// open-addressing table that holds each distinct text's first line.
//
// On a large file nearly every probe of the table misses the cache, and so does the comparison
// with a group's first line. The lines are therefore worked on in a pipeline: a line is keyed
// and its slot fetched; some lines later the slot is read and the index entry of the line it
// names is fetched; then that line's bytes; and only then is the line placed. The misses of
// many lines overlap instead of following one another. The table is kept small (eight bytes a
// slot) because on a large file the memory the scan first touches is a good part of its cost.
class LineGrouping
{
public:
    LineGrouping(const LoadedText &text, ScanRules rules);

    // Groups every line. False when `progress` asked to stop.
    bool run(const ProgressFn &progress);

    int groupCount() const { return groupCount_; }
    int entryCount() const { return entryCount_; }

    // Frees the table and hands over one value per line: 0 for a line in no group of two or
    // more, firstLine | the group's size for the first line of such a group, and the first
    // line's number plus one for the other lines of the group.
    static constexpr std::uint32_t firstLine = 0x80000000U;
    BulkArray<std::uint32_t> takeLinks();

private:
    // All-zero is an empty slot, so lines are stored plus one.
    struct Slot
    {
        std::uint32_t tag;
        std::uint32_t firstPlusOne; // with unicodeBit when the key is upper-cased by Unicode rules
    };
    static constexpr std::uint32_t unicodeBit = 0x80000000U;

    // A line on its way through the pipeline.
    struct Pending
    {
        std::uint64_t hash = 0;
        std::string_view key;
        std::string upper; // the upper-cased key of a line that is not plain ASCII
        std::uint32_t candidatePlusOne = 0; // the first line named by the home slot, if any
        bool skipped = false;
        bool unicode = false; // compared through `upper`
        TextEncoding encoding = TextEncoding::Utf8; // of `upper`
    };
    static constexpr std::uint32_t stage = 8; // lines between two steps of the pipeline
    static constexpr std::uint32_t ringSize = 4 * stage;

    Pending &pending(std::uint32_t line) { return ring_[line % ringSize]; }
    std::size_t home(std::uint64_t hash) const
    {
        return std::size_t((hash & 0xFFFFFFFFU) * slots_.size() >> 32);
    }
    void key(std::uint32_t line);
    void fetchFirstLineIndex(std::uint32_t line);
    void fetchFirstLineBytes(std::uint32_t line);
    void place(std::uint32_t line);
    bool matches(const Pending &p, const Slot &slot);

    const LoadedText &text_;
    ScanRules rules_;
    bool fold_;
    HashSeed seed_;
    BulkArray<Slot> slots_;
    BulkArray<std::uint32_t> links_;
    Pending ring_[ringSize];
    std::string storedUpper_; // scratch for the upper-cased key of a group's first line
    int groupCount_ = 0;
    int entryCount_ = 0;
};

} // namespace twinscan
