#pragma once

#include "engine/TextEncoding.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace twinscan {

// Only the space character is ever trimmed, never tabs.
std::string_view trimSpaces(std::string_view text) noexcept;

// Whether `text` holds spaces only, as trimSpaces(text).empty(). Asked of every line, so it is
// inline and stops at the first other byte.
inline bool holdsOnlySpaces(std::string_view text) noexcept
{
    for (const char c : text) {
        if (c != ' ')
            return false;
    }
    return true;
}

// Upper-cases a line that holds bytes above 127 into `out`, reusing its memory: by Unicode rules
// when the line is valid UTF-8 (as QString::toUpper does, so "ß" becomes "SS"), by Latin-1 rules
// otherwise. Returns the encoding it read the line in. ASCII lines are folded on the fly by
// hashKey and sameKey instead.
TextEncoding upperCaseInto(std::string_view text, std::string &out);

// The secret of one scan's hash: drawn from the system's random source for every scan, so that
// nobody can craft lines that all land on one slot of the table and make the scan quadratic.
// Results never depend on it.
struct HashSeed
{
    std::uint64_t start = 0;
    std::uint64_t mask = 0;
    std::uint64_t finish = 0;
};
HashSeed randomHashSeed();

// Hash and equality of keys, ASCII letters folded to upper case when `fold` is set. Folding is
// idempotent on text that upperCaseInto already made, so both forms of a key compare alike.
std::uint64_t hashKey(std::string_view key, bool fold, const HashSeed &seed) noexcept;

// The hash of a key, and whether the key is plain ASCII, in one pass over it.
struct KeyHash
{
    std::uint64_t hash;
    bool ascii;
};
KeyHash hashKeyChecked(std::string_view key, bool fold, const HashSeed &seed) noexcept;
bool sameKey(std::string_view a, std::string_view b, bool fold) noexcept;

} // namespace twinscan
