#pragma once

#include <sys/stat.h>
#include <sys/types.h>

namespace twinscan {

// The file system calls of the loader and the save go through this table, so that a test can make
// any one of them fail, return short or let another program change a file between two of them.
struct SystemCallTable
{
    int (*openat)(int folder, const char *path, int flags, mode_t mode);
    ssize_t (*read)(int fd, void *buffer, size_t size);
    ssize_t (*write)(int fd, const void *buffer, size_t size);
    int (*fsync)(int fd);
    int (*renameat)(int fromFolder, const char *from, int toFolder, const char *to);
    int (*unlinkat)(int folder, const char *path, int flags);
    int (*linkat)(int fromFolder, const char *from, int toFolder, const char *to, int flags);
    int (*close)(int fd);
    int (*fstat)(int fd, struct stat *st);
    int (*fsetxattr)(int fd, const char *name, const void *value, size_t size, int flags);
};

// The table in use; tests replace entries and put the real ones back.
SystemCallTable &systemCalls();
// The calls of the system itself.
const SystemCallTable &realSystemCalls();

namespace sys {
// These retry a call that a signal interrupted before it did anything, unless `signalled` (see
// giveUpWhen) says the program was asked to go: then the call fails with EINTR, so that a call
// blocked on a pipe or a FIFO ends.
int open(const char *path, int flags, mode_t mode = 0);
int openAt(int folder, const char *path, int flags, mode_t mode = 0);
ssize_t read(int fd, void *buffer, size_t size);
ssize_t write(int fd, const void *buffer, size_t size);
int fsync(int fd);
// These are passed on as they are: a retried close could close another thread's new file.
int renameAt(int fromFolder, const char *from, int toFolder, const char *to);
int unlinkAt(int folder, const char *path, int flags = 0);
int linkAt(int fromFolder, const char *from, int toFolder, const char *to, int flags);
int close(int fd);
int fstat(int fd, struct stat *st);
int fsetxattr(int fd, const char *name, const void *value, size_t size, int flags);

void giveUpWhen(bool (*signalled)());
} // namespace sys

} // namespace twinscan
