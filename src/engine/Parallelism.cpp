#include "engine/Parallelism.h"

#include <QByteArray>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <sched.h>
#include <thread>
#include <vector>

namespace twinscan {

namespace {
int availableCores()
{
    cpu_set_t set;
    CPU_ZERO(&set);
    if (::sched_getaffinity(0, sizeof set, &set) == 0 && CPU_COUNT(&set) > 0)
        return CPU_COUNT(&set);
    return int(std::max(1U, std::thread::hardware_concurrency()));
}

// What the threads of one call share.
class Lanes
{
public:
    Lanes(std::size_t lanes, std::size_t unitsPerLane,
        const std::function<void(std::size_t, std::size_t)> &work)
        : lanes_(lanes), unitsPerLane_(unitsPerLane), work_(work)
    {
    }

    // Takes lanes until none is left; `poll` runs between units (the caller's keepGoing).
    void take(const std::function<bool()> &poll)
    {
        for (std::size_t lane = next_++; lane < lanes_ && !stop_; lane = next_++) {
            for (std::size_t unit = 0; unit < unitsPerLane_ && !stop_; ++unit) {
                if (poll && !poll()) {
                    stop_ = true;
                    break;
                }
                run(lane, unit);
            }
        }
        const std::lock_guard lock(mutex_);
        ++finished_;
        changed_.notify_all();
    }

    // Waits for `threads` takers to finish, polling a few dozen times a second meanwhile.
    void wait(int threads, const std::function<bool()> &keepGoing)
    {
        std::unique_lock lock(mutex_);
        while (finished_ < threads) {
            changed_.wait_for(lock, std::chrono::milliseconds(20));
            if (finished_ < threads && !stop_ && keepGoing) {
                lock.unlock();
                if (!keepGoing())
                    stop_ = true;
                lock.lock();
            }
        }
    }

    bool stopped() const { return stop_; }
    void rethrow() const
    {
        if (failure_)
            std::rethrow_exception(failure_);
    }

private:
    void run(std::size_t lane, std::size_t unit)
    {
        try {
            work_(lane, unit);
        } catch (...) {
            const std::lock_guard lock(mutex_);
            if (!failure_)
                failure_ = std::current_exception();
            stop_ = true;
        }
    }

    const std::size_t lanes_;
    const std::size_t unitsPerLane_;
    const std::function<void(std::size_t, std::size_t)> &work_;
    std::atomic<std::size_t> next_ {0};
    std::atomic<bool> stop_ {false};
    std::mutex mutex_;
    std::condition_variable changed_;
    int finished_ = 0;
    std::exception_ptr failure_;
};
} // namespace

Parallelism Parallelism::fromEnvironment()
{
    Parallelism parallelism;
    bool ok = false;
    const int wanted = qEnvironmentVariableIntValue("TWINSCAN_THREADS", &ok);
    parallelism.threads = ok && wanted > 0 ? std::min(wanted, 256) : availableCores();
    return parallelism;
}

bool runLanes(int threads, std::size_t lanes, std::size_t unitsPerLane,
    const std::function<void(std::size_t, std::size_t)> &work,
    const std::function<bool()> &keepGoing)
{
    Lanes shared(lanes, unitsPerLane, work);
    const int helpers = int(std::min<std::size_t>(
                            std::size_t(std::max(threads, 1)), std::max<std::size_t>(lanes, 1)))
        - 1;
    std::vector<std::jthread> pool;
    pool.reserve(std::size_t(helpers));
    for (int i = 0; i < helpers; ++i)
        pool.emplace_back([&shared] { shared.take({}); });
    shared.take(keepGoing);
    shared.wait(helpers + 1, keepGoing);
    pool.clear();
    shared.rethrow();
    return !shared.stopped();
}

} // namespace twinscan
