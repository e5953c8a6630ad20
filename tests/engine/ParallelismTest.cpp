#include "engine/Parallelism.h"

#include <QByteArray>
#include <atomic>
#include <gtest/gtest.h>
#include <sched.h>
#include <stdexcept>
#include <vector>

using namespace twinscan;

namespace {

// The scan uses the cores the process may run on, unless TWINSCAN_THREADS names a count.
TEST(Parallelism, ThreadsFollowTheCoresOrTheEnvironment)
{
    cpu_set_t set;
    ASSERT_EQ(sched_getaffinity(0, sizeof set, &set), 0);
    const int cores = CPU_COUNT(&set);
    const QByteArray saved = qgetenv("TWINSCAN_THREADS");
    const std::pair<const char *, int> cases[] = {{nullptr, cores}, {"3", 3}, {"0", cores}};
    for (const auto &[value, threads] : cases) {
        value ? qputenv("TWINSCAN_THREADS", value) : qunsetenv("TWINSCAN_THREADS");
        EXPECT_EQ(Parallelism::fromEnvironment().threads, threads) << (value ? value : "unset");
    }
    if (!saved.isNull())
        qputenv("TWINSCAN_THREADS", saved);
}

// A lane's units run in order; a stop starts no further unit; a unit's failure reaches the
// caller.
TEST(Parallelism, LanesRunInOrderStopAndFail)
{
    std::vector<std::vector<std::size_t>> seen(6);
    EXPECT_TRUE(runLanes(
        3, 6, 50, [&](std::size_t lane, std::size_t unit) { seen[lane].push_back(unit); },
        [] { return true; }));
    for (const auto &units : seen) {
        ASSERT_EQ(units.size(), 50U);
        for (std::size_t i = 0; i < units.size(); ++i)
            ASSERT_EQ(units[i], i);
    }

    std::atomic<int> ran {0};
    int asked = 0;
    EXPECT_FALSE(runLanes(
        1, 4, 50, [&](std::size_t, std::size_t) { ++ran; }, [&] { return ++asked < 10; }));
    EXPECT_EQ(ran, 9);

    EXPECT_THROW(runLanes(
                     3, 6, 50,
                     [](std::size_t lane, std::size_t unit) {
                         if (lane == 4 && unit == 7)
                             throw std::runtime_error("unit failed");
                     },
                     [] { return true; }),
        std::runtime_error);
}

} // namespace
