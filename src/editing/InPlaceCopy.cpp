#include "editing/InPlaceCopy.h"

#include "editing/WriteBehind.h"
#include "engine/SystemCalls.h"

#include <cerrno>
#include <memory>
#include <unistd.h>

namespace twinscan {

int copyOver(int from, int to)
{
    constexpr std::size_t bufferSize = std::size_t(1) << 20;
    const std::unique_ptr<char[]> buffer(new char[bufferSize]);
    off_t size = 0;
    for (;;) {
        const ssize_t got = sys::read(from, buffer.get(), bufferSize);
        if (got < 0)
            return errno;
        if (got == 0)
            break;
        if (const int error = writeFully(to, buffer.get(), std::size_t(got)))
            return error;
        size += got;
    }
    if (::ftruncate(to, size) != 0 || sys::fsync(to) != 0)
        return errno;
    return 0;
}

} // namespace twinscan
