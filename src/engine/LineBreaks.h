#pragma once

#include <cstddef>
#include <cstdint>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

// How this program splits bytes into lines, everywhere it reads a file:
// - A line ends at CR LF, at a lone CR or at a lone LF; the terminator is not part of the line.
// - A terminator at the very end of the data adds no empty line; a last line without one is a
//   line.
// - A UTF-8 byte-order mark at the start of a file is not part of line 1.
// Lines are bytes: nothing is decoded or transcoded on the way.
// Records ended by NUL (LineEnds::Nul, as `sort -z` reads them) follow the same rules with NUL
// the only terminator: CR and LF are bytes of a line like any other.
namespace twinscan {

enum class LineBreak : std::uint8_t { None, CrLf, Cr, Lf, Nul };

// What ends a line: CR LF, CR or LF in text, or only NUL.
enum class LineEnds : std::uint8_t { Text, Nul };

struct NextLine
{
    const char *end; // one past the line's last byte
    const char *next; // where the following line starts
    LineBreak lineBreak;
    // False when the data stops before the line is known to be whole: no break yet, or a CR
    // whose LF may still follow. At the end of the file every line is whole.
    bool complete;
};

// The first CR or LF in [p, end), or end.
const char *findBreak(const char *p, const char *end) noexcept;

// The line that starts at p.
NextLine nextLine(const char *p, const char *end, bool atEndOfFile) noexcept;
// The same for records ended by NUL.
NextLine nextRecord(const char *p, const char *end, bool atEndOfFile) noexcept;

// Bit i is set when p[i] is a CR or an LF, for the n <= 64 bytes at p.
inline std::uint64_t breakMask(const char *p, std::size_t n) noexcept
{
    std::uint64_t mask = 0;
#ifdef __SSE2__
    if (n == 64) {
        const __m128i cr = _mm_set1_epi8('\r');
        const __m128i lf = _mm_set1_epi8('\n');
        for (int i = 0; i < 4; ++i) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + 16 * i));
            const auto bits = unsigned(
                _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf))));
            mask |= std::uint64_t(bits) << (16 * i);
        }
        return mask;
    }
#endif
    for (std::size_t i = 0; i < n; ++i) {
        if (p[i] == '\r' || p[i] == '\n')
            mask |= std::uint64_t(1) << i;
    }
    return mask;
}

// Bit i is set when p[i] is a NUL, for the n <= 64 bytes at p.
inline std::uint64_t nulMask(const char *p, std::size_t n) noexcept
{
    std::uint64_t mask = 0;
#ifdef __SSE2__
    if (n == 64) {
        const __m128i zero = _mm_setzero_si128();
        for (int i = 0; i < 4; ++i) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + 16 * i));
            const auto bits = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(v, zero)));
            mask |= std::uint64_t(bits) << (16 * i);
        }
        return mask;
    }
#endif
    for (std::size_t i = 0; i < n; ++i) {
        if (p[i] == '\0')
            mask |= std::uint64_t(1) << i;
    }
    return mask;
}

// Calls brk(position) for every break in [from, to) of the data that starts at first, in
// order: every CR, and every LF not right after a CR (which only completes its CR LF). The line
// a break ends runs from the end of the previous break's terminator (or from first) up to it; the
// bytes after the last break are a line of their own unless there are none. The range may be
// any part of the data, so that pieces of a file can be split side by side. With LineEnds::Nul
// every NUL is a break.
template<LineEnds ends = LineEnds::Text, class BreakFn>
void forEachBreak(const char *first, const char *from, const char *to, BreakFn &&brk)
{
    for (const char *block = from; block < to; block += 64) {
        const auto n = std::size_t(to - block < 64 ? to - block : 64);
        const std::uint64_t found = ends == LineEnds::Nul ? nulMask(block, n) : breakMask(block, n);
        for (std::uint64_t mask = found; mask; mask &= mask - 1) {
            const char *at = block + __builtin_ctzll(mask);
            if (ends == LineEnds::Text && *at == '\n' && at > first && at[-1] == '\r')
                continue;
            brk(at);
        }
    }
}

// Where the line after the break at brk starts.
inline const char *afterBreak(const char *brk, const char *end) noexcept
{
    return brk + (*brk == '\r' && brk + 1 < end && brk[1] == '\n' ? 2 : 1);
}

constexpr std::size_t bomSize = 3;
bool startsWithBom(const char *p, std::size_t size) noexcept;

} // namespace twinscan
