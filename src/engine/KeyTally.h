#pragma once

#include "engine/BulkMemory.h"

#include <cstdint>

namespace twinscan {

// A key's 128-bit hash: two independent 64-bit hashes. Keys are told apart by it alone, so two
// different keys are taken for one with a chance of about n² / 2^129 for n keys: once in 2^66
// files for 2^31 different lines, far below the chance of a memory error.
struct WideHash
{
    std::uint64_t low = 0;
    std::uint64_t high = 0;
    bool operator==(const WideHash &) const = default;
};

// Where a key occurs: its first and last line and how often. Count 0 is an empty slot.
struct Tally
{
    WideHash hash;
    std::uint64_t first = 0;
    std::uint64_t last = 0;
    std::uint64_t count = 0;
};

// The keys seen so far with their tallies, in an open-addressing table of a fixed size that is
// full at three quarters, so that a scan past memory knows when to write it out.
class TallyTable
{
public:
    explicit TallyTable(std::size_t slots);

    bool full() const { return used_ >= limit_; }
    std::size_t size() const { return used_; }
    // How many keys it holds before it is full.
    std::size_t limit() const { return limit_; }
    // Another occurrence of a key on `line`, which comes after every line counted so far.
    void add(const WideHash &hash, std::uint64_t line);
    // A tally of the same file counted elsewhere: lines and counts combine.
    void merge(const Tally &tally);
    void prefetch(const WideHash &hash) const { __builtin_prefetch(&slots_[home(hash)], 1); }
    // Doubles the table; false when memory runs out.
    bool grow();
    void clear();
    template<class Visit> void forEach(const Visit &visit) const
    {
        for (std::size_t i = 0; i < slots_.size(); ++i) {
            if (slots_[i].count != 0)
                visit(slots_[i]);
        }
    }

private:
    std::size_t home(const WideHash &hash) const
    {
        return std::size_t(__uint128_t(hash.low) * slots_.size() >> 64);
    }
    Tally &slotOf(const WideHash &hash);

    BulkArray<Tally> slots_;
    std::size_t used_ = 0;
    std::size_t limit_ = 0;
};

} // namespace twinscan
