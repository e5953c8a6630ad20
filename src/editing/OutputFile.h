#pragma once

#include "editing/WriteBehind.h"
#include "engine/FileDescriptor.h"

#include <QString>
#include <cstddef>
#include <cstring>
#include <functional>
#include <memory>
#include <string_view>

namespace twinscan {

// A file written through one large buffer, so that millions of short lines cost a few system
// calls. Every call reports failure; the first failure sticks, and error() then holds the
// system's reason.
class OutputFile
{
public:
    explicit OutputFile(std::size_t bufferSize = std::size_t(1) << 20);
    ~OutputFile();
    OutputFile(const OutputFile &) = delete;
    OutputFile &operator=(const OutputFile &) = delete;

    // Opens an existing file that is not a regular one (a device, a FIFO) for writing: `name` in
    // the folder open as `folder`, not through a symbolic link. A FIFO is waited for until it has
    // a reader, with the patience given below.
    bool openDevice(int folder, const QByteArray &name);
    // Writes through a copy of `fd`, which stays open, as it was opened (appending, say); a FIFO
    // or a device is opened anew through it, so that it can be written without blocking.
    bool openDescriptor(int fd);
    // A device or a FIFO takes bytes only as fast as its reader reads them. Opened as above, it
    // is written without blocking: a wait for room goes in steps of a tenth of a second, and
    // between them a signal ends the write, as does `keepWaiting` answering false (stopped()).
    void setPatience(std::function<bool()> keepWaiting) { keepWaiting_ = std::move(keepWaiting); }
    bool stopped() const { return stopped_; }
    // Writes to a file opened elsewhere.
    void adopt(FileDescriptor fd) { fd_ = std::move(fd); }
    // Full buffers are written on a second thread from now on. For regular files only: a write
    // there never waits for another program.
    void writeBehind();

    bool write(std::string_view bytes)
    {
        if (bytes.size() <= capacity_ - used_) {
            // An empty view may hold no pointer at all, which memcpy must never be given.
            if (!bytes.empty())
                std::memcpy(buffer_.get() + used_, bytes.data(), bytes.size());
            used_ += bytes.size();
            return true;
        }
        return writeSlow(bytes);
    }
    bool flush();
    // Flushes and forces the bytes to the disk.
    bool sync();
    // Gives the file an owner, a group and permission bits; the owner and group only where the
    // system allows it.
    bool setAccess(unsigned owner, unsigned group, unsigned mode);
    bool close();

    QString error() const { return error_; }
    int fd() const { return fd_.get(); }

private:
    bool writeSlow(std::string_view bytes);
    bool writeAll(const char *data, std::size_t size);
    bool waitForRoom();
    bool keepWaiting();
    bool fail(int errorNumber);
    void writeWithoutBlocking();

    FileDescriptor fd_;
    std::unique_ptr<WriteBehind> behind_;
    std::unique_ptr<char[]> buffer_;
    std::size_t capacity_;
    std::size_t used_ = 0;
    bool nonBlocking_ = false;
    std::function<bool()> keepWaiting_;
    bool stopped_ = false;
    QString error_;
};

} // namespace twinscan
