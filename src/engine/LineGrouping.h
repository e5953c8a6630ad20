#pragma once

#include "engine/BulkMemory.h"
#include "engine/KeyExtractor.h"
#include "engine/LineKey.h"
#include "engine/LoadedText.h"
#include "engine/Parallelism.h"
#include "engine/Progress.h"
#include "engine/ScanOptions.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace twinscan {

// Groups the lines of a file by their normalised text through an open-addressing table that
// holds each distinct text's first line, on every core:
//
// 1. Keying: blocks of lines side by side, each line normalised once and hashed, the hash kept.
// 2. Grouping: the hashes split the keys into as many partitions as there are threads, each
//    with a table of its own. Every partition walks all lines in file order and places those
//    of its own, so a group's first line is its first in the file whatever the partition count,
//    and no two threads ever touch one group.
//
// On a large file nearly every probe of a table misses the cache, and so does the comparison
// with a group's first line. Each partition therefore works on its lines in a pipeline: a
// line's slot is fetched; some lines later the slot is read and the index entry of the line it
// names is fetched; then that line's bytes; and only then is the line placed. The misses of
// many lines overlap instead of following one another. The tables are kept small (eight bytes a
// slot) because on a large file the memory the scan first touches is a good part of its cost.
class LineGrouping
{
public:
    LineGrouping(const LoadedText &text, ScanRules rules, const Parallelism &parallelism,
        const KeySpec &key = {});
    ~LineGrouping();

    // Groups every line. False when `progress` asked to stop; the groups are then those among
    // the lines every partition had placed, as a whole run over those lines would find them.
    // `progress` sees how far the work has come, in lines out of all lines: keying a line is
    // about a quarter of the work, placing it the rest.
    bool run(const ProgressFn &progress);

    // Hands over one value per line: 0 for a line in no group of two or more, firstLine | the
    // group's size for the first line of such a group, and the first line's number plus one for
    // the other lines of the group.
    static constexpr std::uint32_t firstLine = 0x80000000U;
    BulkArray<std::uint32_t> takeLinks();
    // After the run, for a line of a group other than its first: how many of the group's lines
    // come before it. So each line's place in its group is known without walking the others.
    std::uint32_t rankOf(std::size_t line) const { return hashes_[line].low; }
    void forgetRanks() { hashes_.reset(); }

private:
    struct Partition;
    // All-zero is an empty slot, so lines are stored plus one.
    struct Slot
    {
        std::uint32_t tag;
        std::uint32_t firstPlusOne; // with unicodeBit when the key is upper-cased by Unicode rules
    };
    static constexpr std::uint32_t unicodeBit = 0x80000000U;
    // A line's hash in halves: the upper half chooses the partition, so every partition reads
    // it; the lower half is its partition's alone, and once the line is placed in a group it
    // holds the line's rank there instead.
    struct SplitHash
    {
        std::uint32_t low;
        std::uint32_t high;
    };
    // A line on its way through a partition's pipeline.
    struct Pending
    {
        std::uint32_t line = 0;
        std::uint64_t hash = 0;
        std::uint32_t candidatePlusOne = 0; // the first line named by the home slot, if any
    };
    // The key of a line being placed, made only when it meets a slot of its tag.
    struct Key
    {
        bool made = false;
        std::string_view bytes;
        bool unicode = false; // compared through `upper`
        TextEncoding encoding = TextEncoding::Utf8; // of `upper`
    };
    static constexpr std::size_t maxPartitions = 64;
    static constexpr std::uint32_t stage = 16; // lines between two steps of the pipeline
    static constexpr std::uint32_t ringSize = 4 * stage;

    std::uint64_t keyHash(std::uint32_t line, std::string &scratch) const;
    void keyBlock(std::size_t block);
    void sizePartitions();
    void groupBlock(Partition &part, std::size_t block);
    std::size_t home(const Partition &part, std::uint64_t hash) const;
    std::size_t partitionOf(std::uint64_t hash) const;
    void fetchFirstLineIndex(Partition &part, Pending &p);
    void fetchLineBytes(const Pending &p);
    void place(Partition &part, const Pending &p);
    bool matches(Partition &part, const Pending &p, Key &key, const Slot &slot);
    std::string_view keyOf(std::uint32_t line, std::string &scratch) const;
    std::size_t linesIn(std::size_t blocks) const;
    void forgetLinesFrom(std::size_t cut);

    const LoadedText &text_;
    KeyExtractor keys_;
    bool fold_;
    HashSeed seed_;
    Parallelism parallelism_;
    std::size_t lineCount_;
    std::size_t blockCount_;
    std::size_t partitionCount_;
    BulkArray<SplitHash> hashes_; // per line, as keyHash gives them
    BulkArray<std::uint32_t> partitionSizes_; // per block and partition: lines taking part
    BulkArray<Slot> slots_; // the partitions' tables one after the other
    BulkArray<std::uint32_t> links_;
    std::unique_ptr<Partition[]> partitions_;
};

} // namespace twinscan
