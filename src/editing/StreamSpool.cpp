#include "editing/StreamSpool.h"

#include "editing/InterruptSignals.h"
#include "editing/WriteBehind.h"
#include "engine/FileStamp.h"
#include "engine/SpillFolder.h"
#include "engine/SystemCalls.h"

#include <cerrno>
#include <vector>

namespace twinscan {

namespace {
constexpr std::size_t chunk = std::size_t(1) << 20;

SpooledStream failed(QString reason)
{
    SpooledStream spooled;
    spooled.error = std::move(reason);
    return spooled;
}

SpooledStream stopped()
{
    SpooledStream spooled;
    spooled.stopped = true;
    return spooled;
}
} // namespace

SpooledStream spoolStream(
    StreamOverflow &overflow, const QString &folder, const ProgressFn &progress)
{
    FileDescriptor file = spill::openFile(folder);
    if (!file.isOpen())
        return failed(spill::cannotWriteText(folder, errno));
    if (const int error = writeFully(file.get(), overflow.bytes.data(), overflow.size))
        return error == EINTR ? stopped() : failed(spill::cannotWriteText(folder, error));
    auto copied = qint64(overflow.size);
    overflow.bytes.reset();
    std::vector<char> buffer(chunk);
    for (;;) {
        const ssize_t got = sys::read(overflow.stream.get(), buffer.data(), buffer.size());
        if (got < 0 && interrupts::pendingSignal() != 0)
            return stopped();
        if (got < 0)
            return failed(systemReason(errno));
        if (got == 0)
            break;
        if (const int error = writeFully(file.get(), buffer.data(), std::size_t(got)))
            return error == EINTR ? stopped() : failed(spill::cannotWriteText(folder, error));
        copied += got;
        if (!keepGoing(progress, copied, 2 * copied))
            return stopped();
    }
    SpooledStream spooled;
    spooled.path = QStringLiteral("/proc/self/fd/%1").arg(file.get());
    spooled.file = std::move(file);
    return spooled;
}

} // namespace twinscan
