#pragma once

#include "engine/SystemCalls.h"

#include <functional>
#include <vector>

namespace twinscan::test {

enum class Call { Open, Read, Write, Fsync, Rename, Unlink, Link, Close, Fstat };

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
    ~SystemCallHook();
    SystemCallHook(const SystemCallHook &) = delete;
    SystemCallHook &operator=(const SystemCallHook &) = delete;

    const std::vector<Call> &calls() const { return calls_; }

    static Fault next(Call call);

private:
    Decide decide_;
    std::vector<Call> calls_;
};

} // namespace twinscan::test
