#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <sys/stat.h>

namespace twinscan {

// What identifies a file's content cheaply: a save compares the stamp taken when the file was
// scanned with the file as it is now, and the device and inode tell one file under two names.
struct FileStamp
{
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;
    std::int64_t changedNs = 0; // the inode's change time: also set by writes that restore mtime
    std::uint64_t device = 0;
    std::uint64_t inode = 0;

    bool sameFile(const FileStamp &other) const
    {
        return device == other.device && inode == other.inode;
    }
    bool sameContent(const FileStamp &other) const
    {
        return sameFile(other) && size == other.size && modifiedNs == other.modifiedNs
            && changedNs == other.changedNs;
    }
};

// The stamp of the file a path names, following links; empty when it cannot be read.
std::optional<FileStamp> stampOf(const QString &path);

// The stamp of an open file descriptor.
std::optional<FileStamp> stampOf(int fd);
FileStamp stampOf(const struct stat &st);

// The system's own words for errno, for messages that name a file and the reason.
QString systemReason(int errorNumber);

} // namespace twinscan
