#pragma once

#include "engine/LineList.h"

#include <cstdint>
#include <vector>

namespace twinscan {

// The marks of every entry of a list at one moment, one bit each: what a step is compared with
// once it is done.
class MarkSnapshot
{
public:
    explicit MarkSnapshot(const LineList &list);

    int count() const { return count_; }
    bool marked(int entry) const { return words_[std::size_t(entry) / 64] >> (entry % 64) & 1; }

private:
    friend class MarkChange;
    std::vector<std::uint64_t> words_;
    int count_ = 0;
};

// The marks that one marking step flipped. A mark is only ever on or off, so the same flips undo
// the step and do it again. Few flips are kept as the entries' indexes, many as one bit per entry,
// whichever is smaller: a rule over millions of entries keeps an eighth of a byte per entry.
class MarkChange
{
public:
    MarkChange() = default;
    // The entries whose marks differ between `before` and `list` now.
    static MarkChange since(const MarkSnapshot &before, const LineList &list);
    // The flips of `entries` (ascending, each once) in a list of `count` entries.
    static MarkChange ofEntries(std::vector<std::uint32_t> entries, int count);

    bool isEmpty() const { return flips_ == 0; }
    int flipCount() const { return flips_; }
    // The first and the last entry flipped; meaningless when empty.
    int firstEntry() const { return first_; }
    int lastEntry() const { return last_; }
    // What the change holds beyond its own size.
    std::size_t bytes() const;

    // Flips the marks again, which undoes the step or does it once more. False, with nothing
    // changed, for a list that is not the one the step was taken on.
    bool applyTo(LineList &list) const;

private:
    bool flipped(std::size_t entry) const { return bits_[entry / 64] >> (entry % 64) & 1; }
    void findEnds();

    std::vector<std::uint32_t> entries_; // while few are flipped
    std::vector<std::uint64_t> bits_; // once that is smaller
    int count_ = 0;
    int flips_ = 0;
    int first_ = 0;
    int last_ = -1;
};

} // namespace twinscan
