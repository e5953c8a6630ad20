// The whole-buffer loader and the streaming reader must split every input into the same lines,
// whatever the reader's chunk size and the loader's pieces, and the lines with their breaks must
// give the input back; for UTF-16, the reader's lines converted must be the loader's.
#include "FuzzSupport.h"
#include "engine/LineReader.h"
#include "engine/LoadedText.h"
#include "engine/WideLines.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace twinscan;
using twinscan::fuzz::memoryFile;
using twinscan::fuzz::require;

namespace {

std::string_view breakBytes(LineBreak lineBreak, FileEncoding encoding)
{
    using namespace std::string_view_literals;
    const bool wide = isWide(encoding), big = encoding == FileEncoding::Utf16Be;
    switch (lineBreak) {
    case LineBreak::CrLf:
        return wide ? wideBreak(lineBreak, big) : "\r\n"sv;
    case LineBreak::Cr:
        return wide ? (big ? "\0\r"sv : "\r\0"sv) : "\r"sv;
    case LineBreak::Lf:
        return wide ? wideBreak(lineBreak, big) : "\n"sv;
    case LineBreak::None:
        break;
    }
    return {};
}

// The line as the scan reads it: a UTF-16 line converted to UTF-8.
std::string scannedLine(std::string_view line, FileEncoding encoding)
{
    return isWide(encoding) ? convertLine(line, encoding == FileEncoding::Utf16Be)
                            : std::string(line);
}

void checkReader(std::string_view input, const LoadedText &text, std::size_t chunkSize)
{
    LineReader reader(chunkSize);
    reader.adopt(memoryFile(input));
    std::string rebuilt;
    std::string_view line;
    LineBreak lineBreak = LineBreak::None;
    int count = 0;
    while (reader.next(line, lineBreak)) {
        const std::string scanned = scannedLine(line, reader.encoding());
        require(count < text.lineCount() && scanned == text.lineBytes(count));
        require(scanned.find_first_of("\r\n") == std::string::npos);
        require(count > 0 || lineBreak == text.firstBreak());
        rebuilt.append(line).append(breakBytes(lineBreak, reader.encoding()));
        ++count;
    }
    require(reader.error().isEmpty() && count == text.lineCount());
    require(reader.hasBom() == text.hasBom());
    require(isWide(reader.encoding()) == isWide(text.encoding()));
    rebuilt.insert(0, reader.mark());
    require(rebuilt == input);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char *>(data), size);
    Parallelism pieces = Parallelism::fromEnvironment();
    pieces.pieceBytes = 1 + size % 5; // edges inside lines and breaks
    const auto text = LoadedText::fromBytes(input, pieces);
    for (const std::size_t chunkSize : {1, 2, 3, 5, 64, 4096})
        checkReader(input, *text, chunkSize);
    return 0;
}
