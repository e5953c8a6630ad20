#pragma once

#include "engine/LineBreaks.h"

#include <cstddef>
#include <string>
#include <string_view>

// UTF-16 text, after its byte-order mark, splits by the rules of LineBreaks.h applied to 2-byte
// code units: a line ends at the code units CR LF, CR or LF. An odd last byte belongs to the
// last line. The scan reads the text converted to UTF-8 (convertWide), which splits into the
// same lines, since only the code units CR and LF become the bytes CR and LF; the save copies the
// file's own bytes.
namespace twinscan {

// The line that starts at p, in code units of the given byte order.
NextLine nextWideLine(const char *p, const char *end, bool atEndOfFile, bool bigEndian) noexcept;

// Room convertWide needs for `size` bytes of UTF-16.
constexpr std::size_t convertedRoom(std::size_t size)
{
    return (size + 1) / 2 * 3;
}

// Writes the UTF-16 text [p, end) as UTF-8 to out and returns the end of what it wrote. An
// unpaired surrogate becomes the three bytes UTF-8 would give its value, which are not valid
// UTF-8, so that no two different lines convert alike; an odd last byte becomes the byte 0xFF.
char *convertWide(const char *p, const char *end, bool bigEndian, char *out) noexcept;

// convertWide for one line.
std::string convertLine(std::string_view line, bool bigEndian);

// The inverse of convertLine, for text of the converted file (a line, or prefixes of plain ASCII):
// its code units in the given byte order. The byte 0xFF, which only an odd last byte converts
// to, becomes `oddByte` again.
std::string wideLine(std::string_view converted, bool bigEndian, char oddByte);

// The line without the space code units at either end.
std::string_view trimWideSpaces(std::string_view line, bool bigEndian) noexcept;

// The bytes of a line break in code units: CR LF or LF.
std::string_view wideBreak(LineBreak lineBreak, bool bigEndian) noexcept;

} // namespace twinscan
