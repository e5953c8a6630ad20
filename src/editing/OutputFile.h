#pragma once

#include <QString>
#include <cstddef>
#include <cstring>
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

    // Creates the file, or empties it when it exists.
    bool create(const QString &path);
    // Creates a file only its owner can read, which must not exist yet: a stale one of the same
    // name is removed first.
    bool createPrivate(const QString &path);

    bool write(std::string_view bytes)
    {
        if (bytes.size() <= capacity_ - used_) {
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

private:
    bool openWith(const QString &path, int flags, unsigned mode);
    bool writeSlow(std::string_view bytes);
    bool writeAll(const char *data, std::size_t size);
    bool fail(int errorNumber);

    int fd_ = -1;
    std::unique_ptr<char[]> buffer_;
    std::size_t capacity_;
    std::size_t used_ = 0;
    QString error_;
};

} // namespace twinscan
