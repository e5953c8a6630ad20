#pragma once

#include <utility>

namespace twinscan {

// Owns one open file descriptor and closes it when it goes; moved, never copied.
class FileDescriptor
{
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : fd_(fd) { }
    FileDescriptor(FileDescriptor &&other) noexcept : fd_(other.release()) { }
    FileDescriptor &operator=(FileDescriptor &&other) noexcept
    {
        if (this != &other)
            reset(other.release());
        return *this;
    }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    ~FileDescriptor() { reset(); }

    int get() const { return fd_; }
    bool isOpen() const { return fd_ >= 0; }
    int release() { return std::exchange(fd_, -1); }
    // Closes the descriptor held, ignoring how that went, and takes `fd`.
    void reset(int fd = -1);
    // Closes it and says how that went: a file written through it may report a lost write only
    // here. Closed even on failure.
    bool close();

private:
    int fd_ = -1;
};

} // namespace twinscan
