#pragma once

#include <QString>
#include <cstddef>
#include <string_view>

namespace twinscan {

// Text shown to the user decodes a file's bytes as UTF-8 when the whole file is valid UTF-8 and
// as Latin-1 otherwise, so that every file displays and no byte is lost.
enum class TextEncoding { Utf8, Latin1 };

bool isValidUtf8(const char *data, std::size_t size) noexcept;

QString decodeLine(std::string_view bytes, TextEncoding encoding);

} // namespace twinscan
