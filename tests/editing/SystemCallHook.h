#pragma once

#include "engine/SystemCalls.h"

#include <cerrno>
#include <functional>
#include <tuple>
#include <vector>

namespace twinscan::test {

enum class Call { Open, Read, Write, Fsync, Rename, Unlink, Link, Close, Fstat, SetAttribute };

// What to do to one call: make it, fail it with an error number, make it with half the bytes
// asked for (a read or a write), or flip the first byte a read returns.
struct Fault
{
    enum Kind { None, Error, Short, FlipByte } kind = None;
    int errorNumber = 0;
};

// While it lives, every system call of the loader and the save first goes to `decide`, with the
// call's kind and its 0-based number among all calls made since. `decide` may also change files
// itself, as another program would between two steps of a save.
class SystemCallHook
{
public:
    using Decide = std::function<Fault(Call call, int index)>;
    explicit SystemCallHook(Decide decide = {});
    ~SystemCallHook()
    {
        systemCalls() = realSystemCalls();
        active = nullptr;
    }
    SystemCallHook(const SystemCallHook &) = delete;
    SystemCallHook &operator=(const SystemCallHook &) = delete;

    const std::vector<Call> &calls() const { return calls_; }

    static Fault next(Call call)
    {
        if (!active)
            return {};
        active->calls_.push_back(call);
        return active->decide_ ? active->decide_(call, int(active->calls_.size()) - 1) : Fault {};
    }

private:
    static inline SystemCallHook *active = nullptr;
    Decide decide_;
    std::vector<Call> calls_;
};

// A call that the hook may fail; read and write may also be shortened, and read altered.
template<Call call, auto entry, typename Result, typename... Args> Result hooked(Args... args)
{
    const SystemCallTable &real = realSystemCalls();
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

inline SystemCallHook::SystemCallHook(Decide decide) : decide_(std::move(decide))
{
    using Table = SystemCallTable;
    active = this;
    systemCalls() = {
        hooked<Call::Open, &Table::openat, int, int, const char *, int, mode_t>,
        hooked<Call::Read, &Table::read, ssize_t, int, void *, size_t>,
        hooked<Call::Write, &Table::write, ssize_t, int, const void *, size_t>,
        hooked<Call::Fsync, &Table::fsync, int, int>,
        hooked<Call::Rename, &Table::renameat, int, int, const char *, int, const char *>,
        hooked<Call::Unlink, &Table::unlinkat, int, int, const char *, int>,
        hooked<Call::Link, &Table::linkat, int, int, const char *, int, const char *, int>,
        hooked<Call::Close, &Table::close, int, int>,
        hooked<Call::Fstat, &Table::fstat, int, int, struct stat *>,
        hooked<Call::SetAttribute, &Table::fsetxattr, int, int, const char *, const void *, size_t,
            int>,
    };
}

} // namespace twinscan::test
