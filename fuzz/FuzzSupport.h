#pragma once

// What the fuzz targets share: a failed check aborts, which libFuzzer reports with the input,
// and an input becomes a file in memory.
#include "engine/FileDescriptor.h"

#include <cstdlib>
#include <string_view>
#include <sys/mman.h>
#include <unistd.h>

namespace twinscan::fuzz {

inline void require(bool condition)
{
    if (!condition)
        std::abort();
}

// A file in memory holding `bytes`, read from its start.
inline FileDescriptor memoryFile(std::string_view bytes)
{
    FileDescriptor fd(::memfd_create("input", MFD_CLOEXEC));
    require(fd.get() >= 0);
    require(::write(fd.get(), bytes.data(), bytes.size()) == ssize_t(bytes.size()));
    require(::lseek(fd.get(), 0, SEEK_SET) == 0);
    return fd;
}

} // namespace twinscan::fuzz
