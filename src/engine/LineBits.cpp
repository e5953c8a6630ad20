#include "engine/LineBits.h"

#include <algorithm>

namespace twinscan {

// Doubling keeps the copies of a growing array to about its final size in all.
bool LineBits::grow(std::uint64_t word)
{
    const std::size_t wanted = std::max<std::size_t>(std::size_t(word) + 1, 1024);
    return words_.resize(std::max(wanted, words_.size() * 2)) || words_.resize(wanted);
}

} // namespace twinscan
