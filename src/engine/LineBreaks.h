#pragma once

#include <cstddef>
#include <cstdint>

// How this program splits bytes into lines, everywhere it reads a file:
// - A line ends at CR LF, at a lone CR or at a lone LF; the terminator is not part of the line.
// - A terminator at the very end of the data adds no empty line; a last line without one is a
//   line.
// - A UTF-8 byte-order mark at the start of a file is not part of line 1.
// Lines are bytes: nothing is decoded or transcoded on the way.
namespace twinscan {

enum class LineBreak : std::uint8_t { None, CrLf, Cr, Lf };

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

constexpr std::size_t bomSize = 3;
bool startsWithBom(const char *p, std::size_t size) noexcept;

} // namespace twinscan
