#include "engine/SystemCalls.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace twinscan {

namespace {
int realOpenAt(int folder, const char *path, int flags, mode_t mode)
{
    return ::openat(folder, path, flags, mode);
}

constexpr SystemCallTable real {realOpenAt, ::read, ::write, ::fsync, ::renameat, ::unlinkat,
    ::linkat, ::close, ::fstat, ::fsetxattr};

SystemCallTable current = real;
bool (*giveUp)() = nullptr;

template<typename Call> auto retried(Call call)
{
    for (;;) {
        const auto result = call();
        if (result >= 0 || errno != EINTR || (giveUp && giveUp()))
            return result;
    }
}
} // namespace

SystemCallTable &systemCalls()
{
    return current;
}

const SystemCallTable &realSystemCalls()
{
    return real;
}

namespace sys {
int open(const char *path, int flags, mode_t mode)
{
    return openAt(AT_FDCWD, path, flags, mode);
}

int openAt(int folder, const char *path, int flags, mode_t mode)
{
    return retried([&] { return current.openat(folder, path, flags, mode); });
}

ssize_t read(int fd, void *buffer, size_t size)
{
    return retried([&] { return current.read(fd, buffer, size); });
}

ssize_t write(int fd, const void *buffer, size_t size)
{
    return retried([&] { return current.write(fd, buffer, size); });
}

int fsync(int fd)
{
    return retried([&] { return current.fsync(fd); });
}

int renameAt(int fromFolder, const char *from, int toFolder, const char *to)
{
    return current.renameat(fromFolder, from, toFolder, to);
}

int unlinkAt(int folder, const char *path, int flags)
{
    return current.unlinkat(folder, path, flags);
}

int linkAt(int fromFolder, const char *from, int toFolder, const char *to, int flags)
{
    return current.linkat(fromFolder, from, toFolder, to, flags);
}

int close(int fd)
{
    return current.close(fd);
}

int fstat(int fd, struct stat *st)
{
    return current.fstat(fd, st);
}

int fsetxattr(int fd, const char *name, const void *value, size_t size, int flags)
{
    return current.fsetxattr(fd, name, value, size, flags);
}

void giveUpWhen(bool (*signalled)())
{
    giveUp = signalled;
}
} // namespace sys

} // namespace twinscan
