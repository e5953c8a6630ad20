#include "engine/FileEncoding.h"

#include "engine/LineBreaks.h"

#include <algorithm>
#include <cstring>

namespace twinscan {

namespace {
bool startsWith(const char *p, std::size_t size, std::string_view mark)
{
    return size >= mark.size() && std::memcmp(p, mark.data(), mark.size()) == 0;
}

bool manyNuls(const char *p, std::size_t size)
{
    const auto nuls = std::size_t(std::count(p, p + size, '\0'));
    return nuls >= 8 && nuls * 8 >= size;
}

// UTF-16 without a mark of any script: CR and LF stand in whole code units, a NUL beside each.
bool breaksInCodeUnits(const char *p, std::size_t size)
{
    std::size_t breaks = 0, little = 0, big = 0;
    for (std::size_t i = 0; i < size; ++i) {
        if (p[i] != '\r' && p[i] != '\n')
            continue;
        ++breaks;
        if (i % 2 == 0 && i + 1 < size && p[i + 1] == '\0')
            ++little;
        if (i % 2 == 1 && p[i - 1] == '\0')
            ++big;
    }
    const std::size_t paired = std::max(little, big);
    return paired >= 2 && paired * 4 >= breaks * 3;
}
} // namespace

FileEncoding markedEncoding(const char *p, std::size_t size) noexcept
{
    using namespace std::string_view_literals;
    if (startsWith(p, size, "\xFF\xFE\0\0"sv) || startsWith(p, size, "\0\0\xFE\xFF"sv))
        return FileEncoding::Unreadable;
    if (startsWith(p, size, "\xFF\xFE"sv))
        return FileEncoding::Utf16Le;
    if (startsWith(p, size, "\xFE\xFF"sv))
        return FileEncoding::Utf16Be;
    return FileEncoding::Bytes;
}

FileEncoding detectEncoding(const char *p, std::size_t size) noexcept
{
    const FileEncoding marked = markedEncoding(p, size);
    if (marked != FileEncoding::Bytes)
        return marked;
    const std::size_t block = std::min(size, encodingBlockBytes);
    return manyNuls(p, block) || breaksInCodeUnits(p, block) ? FileEncoding::Unreadable
                                                             : FileEncoding::Bytes;
}

std::string_view markOf(FileEncoding encoding, bool utf8Mark) noexcept
{
    switch (encoding) {
    case FileEncoding::Utf16Le:
        return "\xFF\xFE";
    case FileEncoding::Utf16Be:
        return "\xFE\xFF";
    case FileEncoding::Bytes:
        return utf8Mark ? std::string_view("\xEF\xBB\xBF", bomSize) : std::string_view();
    case FileEncoding::Unreadable:
        break;
    }
    return {};
}

} // namespace twinscan
