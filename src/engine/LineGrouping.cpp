#include "engine/LineGrouping.h"

#include <algorithm>
#include <array>

namespace twinscan {

namespace {
// A kept hash: its top bit says that the key is compared upper-cased by Unicode rules, and a
// line that takes no part has the one tag no key gets, so that its upper half alone tells. Equal
// keys keep equal bits below the top one, whichever way they were upper-cased, so tags, homes
// and partitions ignore it.
constexpr std::uint64_t unicodeFlag = std::uint64_t(1) << 63;
constexpr std::uint64_t skipped = ~unicodeFlag;
constexpr std::uint32_t skippedHigh = std::uint32_t(skipped >> 32);

std::uint64_t kept(std::uint64_t hash, bool unicode)
{
    hash &= ~unicodeFlag;
    if (hash >> 32 == skippedHigh)
        hash ^= std::uint64_t(1) << 32;
    return hash | (unicode ? unicodeFlag : 0);
}

std::uint32_t tagOf(std::uint64_t hash)
{
    return std::uint32_t(hash >> 32) & 0x7FFFFFFFU;
}
} // namespace

// What one partition's thread owns: its part of the table, its pipeline, its counts.
struct LineGrouping::Partition
{
    std::size_t index = 0;
    std::size_t offset = 0; // of its table in slots_
    std::size_t size = 0;
    Pending ring[ringSize];
    std::string upper; // scratch for the key being placed
    std::string storedUpper; // scratch for the key of a group's first line
    std::string part; // scratch for the key being placed, when it is not a view of its line
    std::string storedPart; // the same for the key of a group's first line
    std::atomic<std::size_t> blocksDone {0};
};

LineGrouping::LineGrouping(
    const LoadedText &text, ScanRules rules, const Parallelism &parallelism, const KeySpec &key)
    : text_(text),
      keys_(key, rules),
      fold_(!rules.caseSensitive),
      seed_(randomHashSeed()),
      parallelism_(parallelism),
      lineCount_(std::size_t(text.lineCount()))
{
    parallelism_.blockLines = std::max<std::size_t>(parallelism_.blockLines, 1);
    blockCount_ = (lineCount_ + parallelism_.blockLines - 1) / parallelism_.blockLines;
    // A file of fewer blocks than threads keeps some threads idle rather than pay for them.
    partitionCount_ = std::clamp<std::size_t>(
        std::min(std::size_t(std::max(parallelism_.threads, 1)), blockCount_), 1, maxPartitions);
    hashes_ = BulkArray<SplitHash>(lineCount_);
    partitionSizes_ = BulkArray<std::uint32_t>(blockCount_ * partitionCount_);
    links_ = BulkArray<std::uint32_t>(lineCount_);
    partitions_.reset(new Partition[partitionCount_]);
}

LineGrouping::~LineGrouping() = default;

std::size_t LineGrouping::linesIn(std::size_t blocks) const
{
    return std::min(blocks * parallelism_.blockLines, lineCount_);
}

// While placing, the progress passes every block's end in turn, however far the threads have
// run meanwhile, so that the lines a stop keeps do not depend on their timing.
bool LineGrouping::run(const ProgressFn &progress)
{
    const auto total = qint64(lineCount_);
    std::atomic<std::size_t> keyed {0}; // blocks
    bool grouping = false;
    std::size_t reported = 0; // blocks every partition has placed
    const auto report = [&] {
        if (!grouping)
            return keepGoing(progress, qint64(linesIn(keyed) / 4), total);
        std::size_t blocks = blockCount_;
        for (std::size_t p = 0; p < partitionCount_; ++p)
            blocks = std::min(blocks, partitions_[p].blocksDone.load());
        for (;;) {
            if (!keepGoing(progress, qint64((lineCount_ + 3 * linesIn(reported)) / 4), total))
                return false;
            if (reported == blocks)
                return true;
            ++reported;
        }
    };
    const auto keyOne = [&](std::size_t block, std::size_t) {
        keyBlock(block);
        ++keyed;
    };
    if (!runLanes(parallelism_.threads, blockCount_, 1, keyOne, report))
        return false;
    sizePartitions();
    grouping = true;
    const bool whole
        = runLanes(
              parallelism_.threads, partitionCount_, blockCount_,
              [this](std::size_t p, std::size_t block) { groupBlock(partitions_[p], block); },
              report)
        && report();
    slots_.reset();
    if (!whole)
        forgetLinesFrom(linesIn(reported));
    return whole;
}

BulkArray<std::uint32_t> LineGrouping::takeLinks()
{
    return std::move(links_);
}

// Only for a line that takes part.
std::string_view LineGrouping::keyOf(std::uint32_t line, std::string &scratch) const
{
    return keys_.takenKeyOf(text_.lineBytes(int(line)), scratch);
}

std::uint64_t LineGrouping::keyHash(std::uint32_t line, std::string &scratch) const
{
    thread_local std::string part;
    const std::optional<std::string_view> taken = keys_.keyOf(text_.lineBytes(int(line)), part);
    if (!taken)
        return skipped;
    const std::string_view key = *taken;
    const KeyHash checked = hashKeyChecked(key, fold_, seed_);
    if (!fold_ || checked.ascii)
        return kept(checked.hash, false);
    upperCaseInto(key, scratch);
    return kept(hashKey(scratch, true, seed_), true);
}

void LineGrouping::keyBlock(std::size_t block)
{
    thread_local std::string scratch;
    const std::size_t begin = block * parallelism_.blockLines;
    const std::size_t end = std::min(lineCount_, begin + parallelism_.blockLines);
    // Counted here and stored once: neighbouring blocks' counts share a cache line, and the
    // threads keying them would pass it to and fro on every line.
    std::array<std::uint32_t, maxPartitions> sizes {};
    for (std::size_t line = begin; line < end; ++line) {
        const std::uint64_t hash = keyHash(std::uint32_t(line), scratch);
        hashes_[line] = {std::uint32_t(hash), std::uint32_t(hash >> 32)};
        if (hash != skipped)
            ++sizes[partitionOf(hash)];
    }
    std::copy_n(sizes.begin(), partitionCount_, &partitionSizes_[block * partitionCount_]);
}

// At most every line is a group of its own, so each table stays at most four fifths full;
// linear probing reads neighbouring slots, which cost little once the first is fetched.
void LineGrouping::sizePartitions()
{
    std::size_t offset = 0;
    for (std::size_t p = 0; p < partitionCount_; ++p) {
        std::size_t lines = 0;
        for (std::size_t block = 0; block < blockCount_; ++block)
            lines += partitionSizes_[block * partitionCount_ + p];
        Partition &part = partitions_[p];
        part.index = p;
        part.offset = offset;
        part.size = lines + lines / 4 + 16;
        offset += part.size;
    }
    partitionSizes_.reset();
    slots_ = BulkArray<Slot>(offset);
}

std::size_t LineGrouping::partitionOf(std::uint64_t hash) const
{
    return std::size_t(std::uint64_t(tagOf(hash)) * partitionCount_ >> 31);
}

std::size_t LineGrouping::home(const Partition &part, std::uint64_t hash) const
{
    return part.offset + std::size_t((hash & 0xFFFFFFFFU) * part.size >> 32);
}

// Step t takes the partition's line t in, reads the slot of its line t - stage, fetches the
// bytes for line t - 2 * stage and places line t - 3 * stage; the block ends with the pipeline
// drained.
void LineGrouping::groupBlock(Partition &part, std::size_t block)
{
    const std::size_t begin = block * parallelism_.blockLines;
    const std::size_t end = std::min(lineCount_, begin + parallelism_.blockLines);
    std::uint32_t taken = 0;
    const auto advance = [&](std::uint32_t t) {
        if (t >= stage && t - stage < taken)
            fetchFirstLineIndex(part, part.ring[(t - stage) % ringSize]);
        if (t >= 2 * stage && t - 2 * stage < taken)
            fetchLineBytes(part.ring[(t - 2 * stage) % ringSize]);
        if (t >= 3 * stage && t - 3 * stage < taken)
            place(part, part.ring[(t - 3 * stage) % ringSize]);
    };
    for (std::size_t line = begin; line < end; ++line) {
        // Other partitions write the lower halves of their lines as they place them.
        const std::uint64_t high = hashes_[line].high;
        if (high == skippedHigh || partitionOf(high << 32) != part.index)
            continue;
        const std::uint64_t hash = high << 32 | hashes_[line].low;
        part.ring[taken % ringSize] = {std::uint32_t(line), hash, 0};
        __builtin_prefetch(&slots_[home(part, hash)], 1);
        advance(taken++);
    }
    for (std::uint32_t t = taken; t < taken + 3 * stage; ++t)
        advance(t);
    ++part.blocksDone;
}

void LineGrouping::fetchFirstLineIndex(Partition &part, Pending &p)
{
    const Slot &slot = slots_[home(part, p.hash)];
    p.candidatePlusOne = slot.tag == tagOf(p.hash) ? slot.firstPlusOne & ~unicodeBit : 0;
    if (p.candidatePlusOne) {
        text_.prefetchLine(int(p.candidatePlusOne - 1));
        text_.prefetchLine(int(p.line));
        __builtin_prefetch(&links_[p.candidatePlusOne - 1], 1);
    }
}

namespace {
// Every cache line of the bytes, up to a few: a comparison reads the whole key.
void prefetchBytes(std::string_view bytes)
{
    constexpr std::uintptr_t cacheLine = 64;
    const auto start = reinterpret_cast<std::uintptr_t>(bytes.data());
    const std::uintptr_t end = start + std::min<std::size_t>(bytes.size(), 8 * cacheLine);
    for (std::uintptr_t at = start & ~(cacheLine - 1); at < end; at += cacheLine)
        __builtin_prefetch(reinterpret_cast<const void *>(at));
}
} // namespace

void LineGrouping::fetchLineBytes(const Pending &p)
{
    if (p.candidatePlusOne) {
        prefetchBytes(text_.lineBytes(int(p.candidatePlusOne - 1)));
        prefetchBytes(text_.lineBytes(int(p.line)));
    }
}

// Keys compare equal when their upper-cased forms do. An ASCII key is folded on the fly; a key
// with other characters is compared through its upper-cased form, which for the group's first
// line is made again for every comparison rather than kept for every group. A Latin-1 line never
// equals a UTF-8 one: their capitals may share bytes but not letters.
bool LineGrouping::matches(Partition &part, const Pending &p, Key &key, const Slot &slot)
{
    if (!key.made) {
        key.made = true;
        key.bytes = keyOf(p.line, part.part);
        key.unicode = p.hash & unicodeFlag;
        if (key.unicode)
            key.encoding = upperCaseInto(key.bytes, part.upper);
    }
    const std::string_view stored = keyOf((slot.firstPlusOne & ~unicodeBit) - 1, part.storedPart);
    if (!key.unicode && !(slot.firstPlusOne & unicodeBit))
        return sameKey(key.bytes, stored, fold_);
    std::string_view theirs = stored;
    if (slot.firstPlusOne & unicodeBit) {
        const TextEncoding ours = key.unicode ? key.encoding : TextEncoding::Utf8;
        if (upperCaseInto(stored, part.storedUpper) != ours)
            return false;
        theirs = part.storedUpper;
    }
    return sameKey(key.unicode ? std::string_view(part.upper) : key.bytes, theirs, true);
}

void LineGrouping::place(Partition &part, const Pending &p)
{
    const std::uint32_t tag = tagOf(p.hash);
    const bool unicode = p.hash & unicodeFlag;
    const std::size_t end = part.offset + part.size;
    Key key;
    for (std::size_t i = home(part, p.hash);; i = i + 1 == end ? part.offset : i + 1) {
        Slot &slot = slots_[i];
        if (slot.firstPlusOne == 0) {
            slot = {tag, (p.line + 1) | (unicode ? unicodeBit : 0)};
            return;
        }
        if (slot.tag == tag && matches(part, p, key, slot)) {
            const std::uint32_t first = (slot.firstPlusOne & ~unicodeBit) - 1;
            std::uint32_t &group = links_[first];
            if (group == 0)
                group = firstLine | 1;
            hashes_[p.line].low = group & ~firstLine;
            ++group;
            links_[p.line] = first + 1;
            return;
        }
    }
}

// After a stop, takes back the lines that partitions which had run ahead placed from `cut` on,
// so that the groups are those a whole run over the lines before it would find.
void LineGrouping::forgetLinesFrom(std::size_t cut)
{
    std::size_t end = cut;
    for (std::size_t p = 0; p < partitionCount_; ++p)
        end = std::max(end, linesIn(partitions_[p].blocksDone));
    for (std::size_t line = cut; line < end; ++line) {
        const std::uint32_t link = links_[line];
        if (link == 0 || (link & firstLine) || link - 1 >= cut)
            continue; // no group, or one that lies wholly from the cut on
        std::uint32_t &group = links_[link - 1];
        --group;
        if (group == (firstLine | 1))
            group = 0;
    }
    std::fill(links_.data() + cut, links_.data() + end, 0U);
}

} // namespace twinscan
