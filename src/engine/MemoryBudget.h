#pragma once

#include "engine/LineBreaks.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <string_view>

namespace twinscan {

// How much memory a scan may take, and whether a file's in-memory scan fits in it. A scan that
// takes more than the system lets it have is killed without a word, so the limits are read
// before it starts: the memory cgroup's (v1 or v2), the memory the system has available, and the
// process's address-space and data limits, whichever leaves least, less a margin for the rest of
// the program. TWINSCAN_MEMORY=SIZE sets the budget instead.
namespace memory {

constexpr std::uint64_t unlimited = UINT64_MAX;

// What bounds the memory of this process; `unlimited` where nothing does.
struct Limits
{
    std::uint64_t cgroup = unlimited; // the tightest limit of its cgroup and the cgroups above
    std::uint64_t available = unlimited; // MemAvailable
    std::uint64_t addressSpace = unlimited; // RLIMIT_AS less the address space in use
    std::uint64_t data = unlimited; // RLIMIT_DATA less the data in use
};

// Reads the limits from the system; the roots are /proc and /sys/fs/cgroup but for tests.
Limits readLimits(const QString &procRoot = QStringLiteral("/proc"),
    const QString &cgroupRoot = QStringLiteral("/sys/fs/cgroup"));

// The least of the limits, less a margin of an eighth (at least 32 MiB) for the program itself.
std::uint64_t budgetFrom(const Limits &limits);

// A size as sort -S reads it: a whole number with an optional suffix, b for bytes, K, M, G, T,
// P or E for powers of 1024 (K when none is given), % for a share of `physicalBytes`. Empty for
// anything else, zero and sizes that do not fit 64 bits included.
std::optional<std::uint64_t> parseSize(std::string_view text, std::uint64_t physicalBytes);

std::uint64_t physicalMemory();

// TWINSCAN_MEMORY when it holds a size, else budgetFrom(readLimits()).
std::uint64_t budget();

// The lines `bytes` ends: at LF, CR and CR LF, or at NUL for records.
std::uint64_t countLineBreaks(std::string_view bytes, LineEnds ends);

// About how many lines a file of `size` bytes holds, from the line breaks of a few slices of it
// spread over the file (all of it when it is small): enough to tell whether it fits, no more.
std::uint64_t estimateLineCount(int fd, std::uint64_t size, LineEnds ends = LineEnds::Text);

// What the in-memory scan of a file takes at its peak: its bytes (mapped, or converted from
// UTF-16) and the index, hashes, table and lists of its lines.
std::uint64_t inMemoryNeed(std::uint64_t fileBytes, std::uint64_t lines, bool wide);

// Whether the in-memory scan of the file at `path` fits in `budget`, which it never does for
// 2^31 lines or more. True when the file cannot be read, so that the in-memory scan says why.
bool fitsInMemory(const QString &path, std::uint64_t budget, LineEnds ends = LineEnds::Text);

// The same for `size` bytes of a stream of which `sampled` bytes held `breaks` line breaks.
bool streamFitsInMemory(std::uint64_t size, std::uint64_t sampled, std::uint64_t breaks, bool wide,
    std::uint64_t budget);

} // namespace memory

} // namespace twinscan
