#pragma once

#include <cstddef>

namespace twinscan {

// A read-only view of a whole file without copying it. Another program may truncate the file
// while it is mapped; reading a page that is gone then raises SIGBUS, which would end the
// program. A handler installed once catches that signal for our mappings only: it puts zero
// bytes where the lost pages were and marks the mapping as damaged, so that the reader carries
// on and the caller reports the file as changed instead of crashing. Reads by any thread are
// covered.
class MappedFile
{
public:
    MappedFile() = default;
    ~MappedFile();
    MappedFile(const MappedFile &) = delete;
    MappedFile &operator=(const MappedFile &) = delete;

    // Maps `size` bytes of the open file. False when the system cannot (or every guarded slot is
    // taken); the caller then reads the file instead.
    bool map(int fd, std::size_t size);

    const char *data() const { return data_; }
    std::size_t size() const { return size_; }
    // True once a page of the file went missing under the mapping.
    bool damaged() const;

private:
    const char *data_ = nullptr;
    std::size_t size_ = 0;
    int slot_ = -1;
};

} // namespace twinscan
