#include "engine/LineBreaks.h"

#include <cstring>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace twinscan {

const char *findBreak(const char *p, const char *end) noexcept
{
#ifdef __SSE2__
    // Sixteen bytes at a time: this loop is where a large file spends most of its indexing time.
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    while (end - p >= 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        const int mask
            = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf)));
        if (mask)
            return p + __builtin_ctz(static_cast<unsigned>(mask));
        p += 16;
    }
#endif
    while (p < end && *p != '\r' && *p != '\n')
        ++p;
    return p;
}

NextLine nextLine(const char *p, const char *end, bool atEndOfFile) noexcept
{
    const char *brk = findBreak(p, end);
    if (brk == end)
        return {end, end, LineBreak::None, atEndOfFile};
    if (*brk == '\n')
        return {brk, brk + 1, LineBreak::Lf, true};
    if (brk + 1 < end) {
        if (brk[1] == '\n')
            return {brk, brk + 2, LineBreak::CrLf, true};
        return {brk, brk + 1, LineBreak::Cr, true};
    }
    return {brk, brk + 1, LineBreak::Cr, atEndOfFile};
}

NextLine nextRecord(const char *p, const char *end, bool atEndOfFile) noexcept
{
    const auto *brk = p == end
        ? nullptr
        : static_cast<const char *>(std::memchr(p, '\0', std::size_t(end - p)));
    if (!brk)
        return {end, end, LineBreak::None, atEndOfFile};
    return {brk, brk + 1, LineBreak::Nul, true};
}

bool startsWithBom(const char *p, std::size_t size) noexcept
{
    return size >= bomSize && std::memcmp(p, "\xEF\xBB\xBF", bomSize) == 0;
}

} // namespace twinscan
