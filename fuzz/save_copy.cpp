// The save's two copies, line by line and by the scan's index, must write the same bytes and
// count the same removed lines for every input they both take, whatever lines are removed.
// The first eight bytes choose the removed lines (line n goes when bit n % 64 is set).
#include "FuzzSupport.h"
#include "editing/LineCopy.h"
#include "editing/OutputFile.h"
#include "engine/LineReader.h"
#include "engine/LoadedText.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <sys/mman.h>
#include <unistd.h>

using namespace twinscan;
using twinscan::fuzz::memoryFile;
using twinscan::fuzz::require;

namespace {

std::string contentOf(int fd)
{
    std::string bytes(std::size_t(::lseek(fd, 0, SEEK_END)), '\0');
    require(::pread(fd, bytes.data(), bytes.size(), 0) == ssize_t(bytes.size()));
    return bytes;
}

struct Copied
{
    std::string bytes;
    qint64 removed = 0;
    std::uint64_t hash = 0;
};

Copied copy(
    std::string_view input, const LoadedText &text, const RemovalSet &removals, bool byIndex)
{
    LineReader reader;
    reader.adopt(memoryFile(input));
    FileDescriptor target(::memfd_create("out", MFD_CLOEXEC));
    const int fd = target.get();
    OutputFile out;
    out.adopt(std::move(target));
    const int last = text.lineCount() - 1;
    const CopyOutcome outcome = byIndex
        ? copyByIndex(reader, out, removals, text, SaveRules {}, last, {})
        : copyWithoutRemoved(reader, out, removals, SaveRules {}, last, {});
    require(!outcome.failed() && !outcome.stopped && out.flush());
    return {contentOf(fd), outcome.removed, reader.contentHash()};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::uint64_t pattern = 0;
    const std::size_t patternBytes = std::min<std::size_t>(size, sizeof pattern);
    std::memcpy(&pattern, data, patternBytes);
    const std::string_view input(
        reinterpret_cast<const char *>(data) + patternBytes, size - patternBytes);
    const auto text = LoadedText::fromBytes(input, Parallelism {1, 7, 3});
    if (!canCopyByIndex(*text, SaveRules {}))
        return 0;
    RemovalSet removals(text->lineCount() - 1);
    for (int n = 1; n <= text->lineCount(); ++n) {
        if (pattern >> (n % 64) & 1)
            removals.add(n);
    }
    const Copied lines = copy(input, *text, removals, false);
    const Copied indexed = copy(input, *text, removals, true);
    require(indexed.bytes == lines.bytes && indexed.removed == lines.removed);
    require(indexed.hash == lines.hash && lines.hash == text->contentHash());
    return 0;
}
