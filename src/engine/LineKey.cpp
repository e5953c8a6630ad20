#include "engine/LineKey.h"

#include <QString>
#include <algorithm>
#include <cstring>
#include <random>
#include <sys/random.h>

namespace twinscan {

namespace {
constexpr std::uint64_t ones = 0x0101010101010101ULL;

// Subtracts 0x20 from every byte 'a'..'z' of the word, eight bytes at once.
inline std::uint64_t foldAscii(std::uint64_t x) noexcept
{
    const std::uint64_t heptets = x & (0x7F * ones);
    const std::uint64_t atLeastA = heptets + (0x80 - 'a') * ones;
    const std::uint64_t aboveZ = heptets + (0x80 - 'z' - 1) * ones;
    const std::uint64_t lower = atLeastA & ~aboveZ & ~x & (0x80 * ones);
    return x - (lower >> 2);
}

inline std::uint64_t load(const char *p, std::size_t n) noexcept
{
    std::uint64_t word = 0;
    std::memcpy(&word, p, n);
    return word;
}

// Both halves of the full product folded together: every input bit reaches every output bit,
// and with a secret factor the differences an attacker chooses lead nowhere he can predict.
__extension__ using Wide = unsigned __int128;

inline std::uint64_t mum(std::uint64_t a, std::uint64_t b) noexcept
{
    const Wide product = Wide(a) * b;
    return std::uint64_t(product) ^ std::uint64_t(product >> 64);
}

// The code point that starts at p in valid UTF-8, and its length.
int decodeUtf8(const unsigned char *p, const unsigned char *end, char32_t &code)
{
    const int length = *p >= 0xF0 ? 4 : *p >= 0xE0 ? 3 : 2;
    code = *p & (0x7F >> length);
    for (int i = 1; i < length && p + i < end; ++i)
        code = code << 6 | (p[i] & 0x3F);
    return length;
}

void appendUtf8(std::string &out, char32_t code)
{
    if (code < 0x80) {
        out += char(code);
    } else if (code < 0x800) {
        out += char(0xC0 | code >> 6);
        out += char(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += char(0xE0 | code >> 12);
        out += char(0x80 | (code >> 6 & 0x3F));
        out += char(0x80 | (code & 0x3F));
    } else {
        out += char(0xF0 | code >> 18);
        out += char(0x80 | (code >> 12 & 0x3F));
        out += char(0x80 | (code >> 6 & 0x3F));
        out += char(0x80 | (code & 0x3F));
    }
}

// Qt's per-character mapping leaves alone the few letters whose capital is more than one
// character ("ß" to "SS"); those lines take the whole-string way.
bool upperIsSpecial(char32_t code, char32_t upper)
{
    if (upper != code)
        return false;
    const QChar::Category category = QChar::category(code);
    return category == QChar::Letter_Lowercase || category == QChar::Letter_Titlecase;
}

// Upper-cases valid UTF-8 one character at a time, without building a QString: most of a line
// of accented text is ASCII. False when the line needs the whole-string way.
bool upperCaseUtf8(std::string_view text, std::string &out)
{
    out.reserve(text.size() + 8);
    const auto *p = reinterpret_cast<const unsigned char *>(text.data());
    const auto *end = p + text.size();
    while (p < end) {
        if (*p < 0x80) {
            out += char(*p >= 'a' && *p <= 'z' ? *p - 0x20 : *p);
            ++p;
            continue;
        }
        char32_t code = 0;
        const int length = decodeUtf8(p, end, code);
        const char32_t upper = QChar::toUpper(code);
        if (upperIsSpecial(code, upper))
            return false;
        appendUtf8(out, upper);
        p += length;
    }
    return true;
}

void upperCaseThroughQString(std::string_view text, std::string &out)
{
    const QByteArray upper = decodeLine(text).toUpper().toUtf8();
    out.assign(upper.constData(), std::size_t(upper.size()));
}

unsigned char latin1Upper(unsigned char c)
{
    if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7))
        return static_cast<unsigned char>(c - 0x20);
    return c;
}
} // namespace

std::string_view trimSpaces(std::string_view text) noexcept
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return text.substr(0, 0);
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

TextEncoding upperCaseInto(std::string_view text, std::string &out)
{
    out.clear();
    const TextEncoding encoding = encodingOf(text);
    if (encoding == TextEncoding::Latin1) {
        out.reserve(text.size());
        for (const char c : text)
            out += static_cast<char>(latin1Upper(static_cast<unsigned char>(c)));
    } else if (!upperCaseUtf8(text, out)) {
        upperCaseThroughQString(text, out);
    }
    return encoding;
}

HashSeed randomHashSeed()
{
    HashSeed seed;
    if (::getrandom(&seed, sizeof seed, 0) != ssize_t(sizeof seed)) {
        std::random_device device; // reads the same source another way
        std::generate_n(
            &seed.start, 3, [&device] { return std::uint64_t(device()) << 32 ^ device(); });
    }
    return seed;
}

// Sixteen bytes a step, each half tied to the secret before they are multiplied.
KeyHash hashKeyChecked(std::string_view key, bool fold, const HashSeed &seed) noexcept
{
    std::uint64_t h = seed.start ^ key.size();
    std::uint64_t high = 0;
    const auto step = [&](std::uint64_t a, std::uint64_t b) {
        high |= a | b;
        if (fold) {
            a = foldAscii(a);
            b = foldAscii(b);
        }
        h = mum(a ^ seed.mask, b ^ h);
    };
    const char *p = key.data();
    std::size_t n = key.size();
    for (; n >= 16; p += 16, n -= 16)
        step(load(p, 8), load(p + 8, 8));
    if (n > 8)
        step(load(p, 8), load(p + 8, n - 8));
    else if (n > 0)
        step(load(p, n), 0);
    return {mum(h ^ seed.finish, 0x9E3779B97F4A7C15ULL), (high & (0x80 * ones)) == 0};
}

std::uint64_t hashKey(std::string_view key, bool fold, const HashSeed &seed) noexcept
{
    return hashKeyChecked(key, fold, seed).hash;
}

bool sameKey(std::string_view a, std::string_view b, bool fold) noexcept
{
    if (a.size() != b.size())
        return false;
    if (!fold)
        return a == b;
    const char *p = a.data();
    const char *q = b.data();
    std::size_t n = a.size();
    for (; n >= 8; p += 8, q += 8, n -= 8) {
        if (foldAscii(load(p, 8)) != foldAscii(load(q, 8)))
            return false;
    }
    return n == 0 || foldAscii(load(p, n)) == foldAscii(load(q, n));
}

} // namespace twinscan
