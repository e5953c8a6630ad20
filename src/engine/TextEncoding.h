#pragma once

#include <QString>
#include <string_view>

namespace twinscan {

// Each line is read on its own: as UTF-8 when it is valid UTF-8 and as Latin-1 otherwise, so that
// every file displays, files of mixed encodings included, and no byte is lost.
enum class TextEncoding { Utf8, Latin1 };

TextEncoding encodingOf(std::string_view line) noexcept;
// Plain ASCII reads the same in UTF-8 and Latin-1.
bool isAscii(std::string_view bytes) noexcept;

QString decodeLine(std::string_view bytes);

// A line of a UTF-16 file, converted to UTF-8 (WideLines.h): what is not valid UTF-8 there is an
// unpaired surrogate or an odd last byte, each shown as one U+FFFD.
QString decodeConvertedLine(std::string_view bytes);

} // namespace twinscan
