#include "SystemCallHook.h"

#include <cerrno>

namespace twinscan::test {

namespace {
SystemCallHook *active = nullptr;
const SystemCallTable &real = realSystemCalls();

template<typename Result> bool failed(const Fault &fault, Result &result)
{
    if (fault.kind != Fault::Error)
        return false;
    errno = fault.errorNumber;
    result = -1;
    return true;
}

std::size_t shortened(const Fault &fault, std::size_t size)
{
    return fault.kind == Fault::Short && size > 1 ? size / 2 : size;
}

const SystemCallTable hooked {
    [](int folder, const char *path, int flags, mode_t mode) {
        int result = 0;
        return failed(SystemCallHook::next(Call::Open), result)
            ? result
            : real.openat(folder, path, flags, mode);
    },
    [](int fd, void *buffer, size_t size) {
        const Fault fault = SystemCallHook::next(Call::Read);
        ssize_t result = 0;
        if (failed(fault, result))
            return result;
        result = real.read(fd, buffer, shortened(fault, size));
        if (fault.kind == Fault::FlipByte && result > 0)
            static_cast<char *>(buffer)[0] ^= 1;
        return result;
    },
    [](int fd, const void *buffer, size_t size) {
        const Fault fault = SystemCallHook::next(Call::Write);
        ssize_t result = 0;
        return failed(fault, result) ? result : real.write(fd, buffer, shortened(fault, size));
    },
    [](int fd) {
        int result = 0;
        return failed(SystemCallHook::next(Call::Fsync), result) ? result : real.fsync(fd);
    },
    [](int fromFolder, const char *from, int toFolder, const char *to) {
        int result = 0;
        return failed(SystemCallHook::next(Call::Rename), result)
            ? result
            : real.renameat(fromFolder, from, toFolder, to);
    },
    [](int folder, const char *path, int flags) {
        int result = 0;
        return failed(SystemCallHook::next(Call::Unlink), result)
            ? result
            : real.unlinkat(folder, path, flags);
    },
    [](int fd) {
        int result = 0;
        if (failed(SystemCallHook::next(Call::Close), result)) {
            real.close(fd); // Linux closes the descriptor even when close reports an error
            return result;
        }
        return real.close(fd);
    },
    [](int fd, struct stat *st) {
        int result = 0;
        return failed(SystemCallHook::next(Call::Fstat), result) ? result : real.fstat(fd, st);
    },
};
} // namespace

SystemCallHook::SystemCallHook(Decide decide) : decide_(std::move(decide))
{
    active = this;
    systemCalls() = hooked;
}

SystemCallHook::~SystemCallHook()
{
    systemCalls() = real;
    active = nullptr;
}

Fault SystemCallHook::next(Call call)
{
    SystemCallHook *hook = active;
    if (!hook)
        return {};
    const int index = int(hook->calls_.size());
    hook->calls_.push_back(call);
    return hook->decide_ ? hook->decide_(call, index) : Fault {};
}

} // namespace twinscan::test
