#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace twinscan {

// Writes all `size` bytes, continuing short writes; the error number of a failed write, or 0.
int writeFully(int fd, const char *data, std::size_t size);

// Writes full buffers to a regular file on a thread of its own while the caller fills the next
// ones: the kernel's copy of a large save into the page cache is a third of its time, and it then
// runs beside the reading of the source. Only whole buffers go to the thread; the
// caller writes the last part itself. The interrupt signals stay with the caller's thread, so a
// call that a signal cuts short is still the caller's. Every few dozen megabytes it asks the
// system to start writing to the disk, so that the final sync has little left to wait for.
class WriteBehind
{
public:
    WriteBehind(int fd, std::size_t bufferSize);
    ~WriteBehind();
    WriteBehind(const WriteBehind &) = delete;
    WriteBehind &operator=(const WriteBehind &) = delete;

    // Queues the first `size` bytes of `buffer` for writing and gives back a free buffer in its
    // place, waiting for one when all are queued. Returns the error number of the first write
    // that failed, and then queues nothing.
    int handOver(std::unique_ptr<char[]> &buffer, std::size_t size);
    // Waits until every byte handed over is written; the first write's error number, or 0.
    int finish();

private:
    struct Queued
    {
        std::unique_ptr<char[]> buffer;
        std::size_t size;
    };
    void run(const std::stop_token &stop);
    void startWriteback(std::size_t written);

    int fd_;
    std::mutex mutex_;
    std::condition_variable_any changed_;
    std::deque<Queued> queue_; // in the order handed over
    std::vector<std::unique_ptr<char[]>> free_;
    bool writing_ = false; // the writer has taken a buffer off the queue
    int error_ = 0;
    std::size_t sinceWriteback_ = 0; // the writer's alone
    std::jthread thread_;
};

} // namespace twinscan
