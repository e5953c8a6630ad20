#pragma once

#include "engine/BulkMemory.h"

#include <cstdint>

namespace twinscan {

// One bit per line of a file of any length, for a scan that cannot hold more about its lines:
// 2^31 lines take 256 MiB. It grows as lines come; bits past its end read as clear.
class LineBits
{
public:
    // False, with nothing changed, when memory runs out.
    bool set(std::uint64_t line)
    {
        const std::uint64_t word = line / 64;
        if (word >= words_.size() && !grow(word))
            return false;
        words_[word] |= std::uint64_t(1) << (line % 64);
        return true;
    }
    void clear(std::uint64_t line)
    {
        if (line / 64 < words_.size())
            words_[line / 64] &= ~(std::uint64_t(1) << (line % 64));
    }
    bool test(std::uint64_t line) const
    {
        return line / 64 < words_.size() && (words_[line / 64] >> (line % 64) & 1);
    }
    std::uint64_t bytes() const { return words_.size() * sizeof(std::uint64_t); }

private:
    bool grow(std::uint64_t word);

    BulkArray<std::uint64_t> words_;
};

} // namespace twinscan
