#include "editing/WriteBehind.h"

#include "editing/InterruptSignals.h"
#include "engine/SystemCalls.h"

#include <cerrno>
#include <fcntl.h>

namespace twinscan {

namespace {
constexpr std::size_t writebackBytes = std::size_t(32) << 20;
} // namespace

int writeFully(int fd, const char *data, std::size_t size)
{
    while (size > 0) {
        const ssize_t done = sys::write(fd, data, size);
        if (done < 0)
            return errno;
        data += done;
        size -= std::size_t(done);
    }
    return 0;
}

WriteBehind::WriteBehind(int fd, std::size_t bufferSize) : fd_(fd), inFlight_(new char[bufferSize])
{
    thread_ = std::jthread([this](const std::stop_token &stop) { run(stop); });
}

WriteBehind::~WriteBehind()
{
    thread_.request_stop();
    thread_.join(); // before the buffers and the lock go
}

int WriteBehind::handOver(std::unique_ptr<char[]> &buffer, std::size_t size)
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !busy_; });
    if (error_ != 0)
        return error_;
    std::swap(buffer, inFlight_);
    size_ = size;
    busy_ = true;
    lock.unlock();
    changed_.notify_all();
    return 0;
}

int WriteBehind::finish()
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !busy_; });
    return error_;
}

// The final sync then waits for the last pieces only: the disk writes the rest meanwhile.
void WriteBehind::startWriteback(std::size_t written)
{
    sinceWriteback_ += written;
    if (sinceWriteback_ < writebackBytes)
        return;
    (void)::sync_file_range(fd_, 0, 0, SYNC_FILE_RANGE_WRITE); // all that is not on its way yet
    sinceWriteback_ = 0;
}

void WriteBehind::run(const std::stop_token &stop)
{
    const interrupts::Deferral signalsGoToTheCaller;
    std::unique_lock lock(mutex_);
    while (changed_.wait(lock, stop, [this] { return busy_; })) {
        lock.unlock();
        const int error = writeFully(fd_, inFlight_.get(), size_);
        startWriteback(size_);
        lock.lock();
        error_ = error;
        busy_ = false;
        changed_.notify_all();
    }
}

} // namespace twinscan
