#include "engine/BulkMemory.h"

#include <cstdint>
#include <cstdlib>
#include <sys/mman.h>

namespace twinscan::bulk {

namespace {
// Blocks below this size come from the ordinary heap: tests and small files make many of them.
constexpr std::size_t mappedFrom = std::size_t(1) << 20;
constexpr std::size_t hugePage = std::size_t(2) << 20;
constexpr std::size_t page = 4096;

bool isMapped(std::size_t bytes)
{
    return bytes >= mappedFrom;
}

std::size_t pageRounded(std::size_t bytes)
{
    return (bytes + page - 1) & ~(page - 1);
}

// Maps a block that starts on a huge-page boundary, so that the whole of it can use huge pages.
void *map(std::size_t bytes)
{
    const std::size_t length = pageRounded(bytes);
    const std::size_t padded = length + hugePage;
    void *raw = ::mmap(nullptr, padded, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED)
        return nullptr;
    const auto start = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = (start + hugePage - 1) & ~(hugePage - 1);
    if (aligned > start)
        ::munmap(raw, aligned - start);
    const std::uintptr_t end = start + padded;
    if (end > aligned + length)
        ::munmap(reinterpret_cast<void *>(aligned + length), end - (aligned + length));
    auto *block = reinterpret_cast<void *>(aligned);
#ifdef MADV_HUGEPAGE
    ::madvise(block, length, MADV_HUGEPAGE);
#endif
    return block;
}
} // namespace

void *allocate(std::size_t bytes) noexcept
{
    // A mapped block is rounded up to whole pages and padded by a huge page: a size near the top
    // of the address space would wrap round to a small block.
    if (bytes == 0 || bytes > std::size_t(-1) - 2 * hugePage)
        return nullptr;
    return isMapped(bytes) ? map(bytes) : std::calloc(1, bytes);
}

void release(void *block, std::size_t bytes) noexcept
{
    if (!block)
        return;
    if (isMapped(bytes))
        ::munmap(block, pageRounded(bytes));
    else
        std::free(block);
}

void prefault(void *start, std::size_t bytes) noexcept
{
#ifdef MADV_POPULATE_WRITE
    // Only the pages wholly inside: a page shared with other data is not ours to ask for.
    const auto from = (reinterpret_cast<std::uintptr_t>(start) + page - 1) & ~(page - 1);
    const auto to = (reinterpret_cast<std::uintptr_t>(start) + bytes) & ~(page - 1);
    if (to > from)
        ::madvise(reinterpret_cast<void *>(from), to - from, MADV_POPULATE_WRITE);
#else
    static_cast<void>(start);
    static_cast<void>(bytes);
#endif
}

void *reallocate(void *block, std::size_t oldBytes, std::size_t newBytes) noexcept
{
    if (!block)
        return allocate(newBytes);
    if (newBytes == 0) {
        release(block, oldBytes);
        return nullptr;
    }
    if (!isMapped(oldBytes) && !isMapped(newBytes)) {
        void *grown = std::realloc(block, newBytes);
        if (grown && newBytes > oldBytes)
            std::memset(static_cast<char *>(grown) + oldBytes, 0, newBytes - oldBytes);
        return grown;
    }
    // Mapped blocks are moved by copying into a fresh huge-page-aligned block: growth is rare
    // (a file that grows while it is read), so simplicity wins over remapping.
    void *moved = allocate(newBytes);
    if (!moved)
        return nullptr;
    std::memcpy(moved, block, oldBytes < newBytes ? oldBytes : newBytes);
    release(block, oldBytes);
    return moved;
}

} // namespace twinscan::bulk
