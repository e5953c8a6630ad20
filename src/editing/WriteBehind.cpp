#include "editing/WriteBehind.h"

#include "editing/InterruptSignals.h"
#include "engine/SystemCalls.h"

#include <cerrno>
#include <fcntl.h>

namespace twinscan {

namespace {
constexpr std::size_t writebackBytes = std::size_t(32) << 20;
// Enough that the writer held up in the kernel for a few milliseconds (the writeback's block
// allocation, say) does not hold up the caller: with one buffer in flight the two threads spent a
// third of a large save waiting for each other. Eight saved as much as sixteen.
constexpr std::size_t queuedBuffers = 8;
} // namespace

int writeFully(int fd, const char *data, std::size_t size)
{
    while (size > 0) {
        const ssize_t done = sys::write(fd, data, size);
        if (done < 0)
            return errno;
        data += done;
        size -= std::size_t(done);
        // A signal cuts a write to a slow reader short; what is left of the buffer is not ours.
        if (size > 0 && interrupts::pendingSignal() != 0)
            return EINTR;
    }
    return 0;
}

WriteBehind::WriteBehind(int fd, std::size_t bufferSize) : fd_(fd)
{
    for (std::size_t i = 0; i < queuedBuffers; ++i)
        free_.emplace_back(new char[bufferSize]);
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
    changed_.wait(lock, [this] { return !free_.empty() || error_ != 0; });
    if (error_ != 0)
        return error_;
    queue_.push_back({std::move(buffer), size});
    buffer = std::move(free_.back());
    free_.pop_back();
    const bool wasIdle = queue_.size() == 1 && !writing_;
    lock.unlock();
    if (wasIdle)
        changed_.notify_all();
    return 0;
}

int WriteBehind::finish()
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return (queue_.empty() && !writing_) || error_ != 0; });
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
    while (changed_.wait(lock, stop, [this] { return !queue_.empty(); })) {
        Queued next = std::move(queue_.front());
        queue_.pop_front();
        writing_ = true;
        const bool failed = error_ != 0; // the save is lost: the rest need not be written
        lock.unlock();
        const int error = failed ? 0 : writeFully(fd_, next.buffer.get(), next.size);
        if (error == 0 && !failed)
            startWriteback(next.size);
        lock.lock();
        error_ = error_ != 0 ? error_ : error;
        writing_ = false;
        const bool callerWaits = free_.empty() || queue_.empty() || error_ != 0;
        free_.push_back(std::move(next.buffer));
        if (callerWaits)
            changed_.notify_all();
    }
}

} // namespace twinscan
