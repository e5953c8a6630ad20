#include "engine/WideLines.h"

namespace twinscan {

namespace {
char16_t unitAt(const char *p, bool bigEndian) noexcept
{
    const auto first = static_cast<unsigned char>(p[0]);
    const auto second = static_cast<unsigned char>(p[1]);
    return char16_t(bigEndian ? first << 8 | second : second << 8 | first);
}

const char *findWideBreak(const char *p, const char *end, bool bigEndian) noexcept
{
    for (; end - p >= 2; p += 2) {
        const char16_t unit = unitAt(p, bigEndian);
        if (unit == u'\r' || unit == u'\n')
            return p;
    }
    return end;
}

bool isHighSurrogate(char16_t unit)
{
    return unit >= 0xD800 && unit < 0xDC00;
}

bool isLowSurrogate(char16_t unit)
{
    return unit >= 0xDC00 && unit < 0xE000;
}

char *appendUtf8(char32_t code, char *out) noexcept
{
    if (code < 0x80) {
        *out++ = char(code);
    } else if (code < 0x800) {
        *out++ = char(0xC0 | code >> 6);
        *out++ = char(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        *out++ = char(0xE0 | code >> 12);
        *out++ = char(0x80 | (code >> 6 & 0x3F));
        *out++ = char(0x80 | (code & 0x3F));
    } else {
        *out++ = char(0xF0 | code >> 18);
        *out++ = char(0x80 | (code >> 12 & 0x3F));
        *out++ = char(0x80 | (code >> 6 & 0x3F));
        *out++ = char(0x80 | (code & 0x3F));
    }
    return out;
}
} // namespace

NextLine nextWideLine(const char *p, const char *end, bool atEndOfFile, bool bigEndian) noexcept
{
    const char *brk = findWideBreak(p, end, bigEndian);
    if (brk == end)
        return {end, end, LineBreak::None, atEndOfFile};
    if (unitAt(brk, bigEndian) == u'\n')
        return {brk, brk + 2, LineBreak::Lf, true};
    if (end - brk >= 4) {
        if (unitAt(brk + 2, bigEndian) == u'\n')
            return {brk, brk + 4, LineBreak::CrLf, true};
        return {brk, brk + 2, LineBreak::Cr, true};
    }
    return {brk, brk + 2, LineBreak::Cr, atEndOfFile};
}

char *convertWide(const char *p, const char *end, bool bigEndian, char *out) noexcept
{
    for (; end - p >= 2; p += 2) {
        const char16_t unit = unitAt(p, bigEndian);
        if (isHighSurrogate(unit) && end - p >= 4 && isLowSurrogate(unitAt(p + 2, bigEndian))) {
            const char16_t low = unitAt(p + 2, bigEndian);
            out = appendUtf8(0x10000 + (char32_t(unit - 0xD800) << 10) + (low - 0xDC00), out);
            p += 2;
        } else {
            out = appendUtf8(unit, out);
        }
    }
    if (p < end)
        *out++ = char(0xFF);
    return out;
}

std::string convertLine(std::string_view line, bool bigEndian)
{
    std::string converted(convertedRoom(line.size()), '\0');
    const char *end
        = convertWide(line.data(), line.data() + line.size(), bigEndian, converted.data());
    converted.resize(std::size_t(end - converted.data()));
    return converted;
}

namespace {
void appendUnit(std::string &out, char32_t unit, bool bigEndian)
{
    const auto high = char(unit >> 8), low = char(unit & 0xFF);
    out += bigEndian ? high : low;
    out += bigEndian ? low : high;
}

// The length of the UTF-8 sequence that `lead` begins, as appendUtf8 writes it; 1 for a byte that
// begins none.
std::size_t sequenceLength(unsigned char lead)
{
    return lead >= 0xF0 && lead < 0xF8 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
}
} // namespace

std::string wideLine(std::string_view converted, bool bigEndian, char oddByte)
{
    std::string out;
    out.reserve(converted.size() * 2);
    for (std::size_t i = 0; i < converted.size();) {
        const auto lead = static_cast<unsigned char>(converted[i]);
        if (lead == 0xFF) {
            out += oddByte;
            ++i;
            continue;
        }
        std::size_t length = sequenceLength(lead);
        if (lead >= 0x80 && lead < 0xC0)
            length = 1; // none that convertWide writes
        if (i + length > converted.size())
            length = 1;
        char32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k)
            code = code << 6 | (static_cast<unsigned char>(converted[i + k]) & 0x3F);
        if (code >= 0x10000) {
            appendUnit(out, 0xD800 + ((code - 0x10000) >> 10), bigEndian);
            appendUnit(out, 0xDC00 + ((code - 0x10000) & 0x3FF), bigEndian);
        } else {
            appendUnit(out, code, bigEndian);
        }
        i += length;
    }
    return out;
}

std::string_view trimWideSpaces(std::string_view line, bool bigEndian) noexcept
{
    const bool oddByte = line.size() % 2 != 0; // an odd last byte is no space
    const std::size_t units = line.size() - (oddByte ? 1 : 0);
    std::size_t first = 0;
    while (first < units && unitAt(line.data() + first, bigEndian) == u' ')
        first += 2;
    std::size_t last = line.size();
    while (!oddByte && last > first && unitAt(line.data() + last - 2, bigEndian) == u' ')
        last -= 2;
    return line.substr(first, last - first);
}

std::string_view wideBreak(LineBreak lineBreak, bool bigEndian) noexcept
{
    using namespace std::string_view_literals;
    if (lineBreak == LineBreak::Lf)
        return bigEndian ? "\0\n"sv : "\n\0"sv;
    return bigEndian ? "\0\r\0\n"sv : "\r\0\n\0"sv;
}

} // namespace twinscan
