#pragma once

#include "engine/BulkMemory.h"

#include <algorithm>
#include <cstdint>
#include <optional>

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

    // The lines `pick(wordOfA, wordOfB)` chooses, 64 at a time; empty when memory runs out.
    template<class Pick>
    static std::optional<LineBits> combined(const LineBits &a, const LineBits &b, Pick pick)
    {
        const std::size_t words = std::max(a.words_.size(), b.words_.size());
        LineBits result;
        if (!result.words_.resize(words))
            return std::nullopt;
        for (std::size_t w = 0; w < words; ++w)
            result.words_[w] = pick(a.wordAt(w), b.wordAt(w));
        return result;
    }

private:
    bool grow(std::uint64_t word);
    std::uint64_t wordAt(std::size_t word) const { return word < words_.size() ? words_[word] : 0; }

    BulkArray<std::uint64_t> words_;
};

} // namespace twinscan
