#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace twinscan {

// How a whole file's bytes are text. An 8-bit file decodes line by line (TextEncoding); a UTF-16
// file is known by its byte-order mark, which a reader needs the first four bytes to tell from
// UTF-32's.
enum class FileEncoding : std::uint8_t {
    Bytes, // 8-bit or UTF-8, with or without a UTF-8 byte-order mark
    Utf16Le, // FF FE
    Utf16Be, // FE FF
    // UTF-32, UTF-16 without a mark, or binary data: not read, since splitting it at single
    // bytes would cut its characters apart.
    Unreadable,
};

constexpr std::size_t encodingMarkBytes = 4;
// The bytes at the start of a file whose NULs tell binary data and UTF-16 without a mark.
constexpr std::size_t encodingBlockBytes = std::size_t(64) << 10;

// The encoding that the byte-order mark at p names: Bytes without one. Decides as a file of
// `size` bytes would when size < encodingMarkBytes.
FileEncoding markedEncoding(const char *p, std::size_t size) noexcept;

// The mark, and also NULs in the first block in the way UTF-16, UTF-32 and binary data hold them:
// at least one byte in eight, or next to most line breaks as in UTF-16 code units. A stray NUL in
// a text file does neither.
FileEncoding detectEncoding(const char *p, std::size_t size) noexcept;

// The byte-order mark a reader skips and the save writes back: empty for none.
std::string_view markOf(FileEncoding encoding, bool utf8Mark) noexcept;

constexpr bool isWide(FileEncoding encoding) noexcept
{
    return encoding == FileEncoding::Utf16Le || encoding == FileEncoding::Utf16Be;
}

} // namespace twinscan
