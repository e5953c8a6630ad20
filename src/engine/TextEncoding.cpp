#include "engine/TextEncoding.h"

#include <cstdint>
#include <cstring>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace twinscan {

namespace {
// Length of the sequence a lead byte starts, 0 for a byte that cannot lead one.
int sequenceLength(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

bool isContinuation(unsigned char c)
{
    return (c & 0xC0) == 0x80;
}

// Rejects overlong forms, surrogates and code points past U+10FFFF, as decoders do.
bool secondByteInRange(unsigned char lead, unsigned char second)
{
    switch (lead) {
    case 0xE0:
        return second >= 0xA0;
    case 0xED:
        return second < 0xA0;
    case 0xF0:
        return second >= 0x90;
    case 0xF4:
        return second < 0x90;
    default:
        return true;
    }
}
} // namespace

bool isValidUtf8(const char *data, std::size_t size) noexcept
{
    const auto *p = reinterpret_cast<const unsigned char *>(data);
    const auto *end = p + size;
    while (p < end) {
        // Most text is ASCII: skip plain bytes sixteen or eight at a time.
#ifdef __SSE2__
        if (end - p >= 16
            && _mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i *>(p))) == 0) {
            p += 16;
            continue;
        }
#endif
        if (end - p >= 8) {
            std::uint64_t word;
            std::memcpy(&word, p, 8);
            if ((word & 0x8080808080808080ULL) == 0) {
                p += 8;
                continue;
            }
        }
        const int length = sequenceLength(*p);
        if (length == 0 || end - p < length)
            return false;
        if (length > 1 && !secondByteInRange(p[0], p[1]))
            return false;
        for (int i = 1; i < length; ++i) {
            if (!isContinuation(p[i]))
                return false;
        }
        p += length;
    }
    return true;
}

QString decodeLine(std::string_view bytes, TextEncoding encoding)
{
    const auto size = static_cast<qsizetype>(bytes.size());
    if (encoding == TextEncoding::Utf8)
        return QString::fromUtf8(bytes.data(), size);
    return QString::fromLatin1(bytes.data(), size);
}

} // namespace twinscan
