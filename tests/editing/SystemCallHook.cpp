#include "SystemCallHook.h"

#include <cerrno>
#include <tuple>

namespace twinscan::test {

namespace {
SystemCallHook *active = nullptr;
const SystemCallTable &real = realSystemCalls();

// A call that the hook may fail; read and write may also be shortened, and read altered.
template<Call call, auto entry, typename Result, typename... Args> Result hooked(Args... args)
{
    const Fault fault = SystemCallHook::next(call);
    if (fault.kind == Fault::Error) {
        if constexpr (call == Call::Close)
            real.close(args...); // Linux closes the descriptor even when close reports an error
        errno = fault.errorNumber;
        return Result(-1);
    }
    if constexpr (call == Call::Read || call == Call::Write) {
        auto [fd, buffer, size] = std::tuple(args...);
        const Result done
            = (real.*entry)(fd, buffer, fault.kind == Fault::Short && size > 1 ? size / 2 : size);
        if (fault.kind == Fault::FlipByte && done > 0)
            *static_cast<char *>(const_cast<void *>(static_cast<const void *>(buffer))) ^= 1;
        return done;
    } else {
        return (real.*entry)(args...);
    }
}

using Table = SystemCallTable;
const SystemCallTable hookedCalls {
    hooked<Call::Open, &Table::openat, int, int, const char *, int, mode_t>,
    hooked<Call::Read, &Table::read, ssize_t, int, void *, size_t>,
    hooked<Call::Write, &Table::write, ssize_t, int, const void *, size_t>,
    hooked<Call::Fsync, &Table::fsync, int, int>,
    hooked<Call::Rename, &Table::renameat, int, int, const char *, int, const char *>,
    hooked<Call::Unlink, &Table::unlinkat, int, int, const char *, int>,
    hooked<Call::Link, &Table::linkat, int, int, const char *, int, const char *, int>,
    hooked<Call::Close, &Table::close, int, int>,
    hooked<Call::Fstat, &Table::fstat, int, int, struct stat *>,
};
} // namespace

SystemCallHook::SystemCallHook(Decide decide) : decide_(std::move(decide))
{
    active = this;
    systemCalls() = hookedCalls;
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
