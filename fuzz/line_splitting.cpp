// The whole-buffer loader and the streaming reader must split every input into the same lines,
// whatever the reader's chunk size, and the lines with their breaks must give the input back.
#include "engine/LineReader.h"
#include "engine/LoadedText.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <sys/mman.h>
#include <unistd.h>

using namespace twinscan;

namespace {

std::string_view breakBytes(LineBreak lineBreak)
{
    switch (lineBreak) {
    case LineBreak::CrLf:
        return "\r\n";
    case LineBreak::Cr:
        return "\r";
    case LineBreak::Lf:
        return "\n";
    case LineBreak::None:
        break;
    }
    return {};
}

void require(bool condition)
{
    if (!condition)
        std::abort();
}

// A file in memory holding the input, read from its start.
FileDescriptor memoryFile(std::string_view bytes)
{
    FileDescriptor fd(::memfd_create("input", MFD_CLOEXEC));
    require(fd.get() >= 0);
    require(::write(fd.get(), bytes.data(), bytes.size()) == ssize_t(bytes.size()));
    require(::lseek(fd.get(), 0, SEEK_SET) == 0);
    return fd;
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
        require(count < text.lineCount() && line == text.lineBytes(count));
        require(line.find_first_of("\r\n") == std::string_view::npos);
        require(count > 0 || lineBreak == text.firstBreak());
        rebuilt.append(line).append(breakBytes(lineBreak));
        ++count;
    }
    require(reader.error().isEmpty() && count == text.lineCount());
    require(reader.hasBom() == text.hasBom());
    if (reader.hasBom())
        rebuilt.insert(0, "\xEF\xBB\xBF");
    require(rebuilt == input);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char *>(data), size);
    const auto text = LoadedText::fromBytes(input);
    for (const std::size_t chunkSize : {1, 2, 3, 5, 64, 4096})
        checkReader(input, *text, chunkSize);
    return 0;
}
