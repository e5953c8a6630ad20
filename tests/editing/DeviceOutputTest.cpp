// Writing into a pipe, a FIFO or a device, whose reader sets the pace.

#include "../engine/EngineTestSupport.h"
#include "editing/OutputFile.h"

#include <QElapsedTimer>
#include <chrono>
#include <fcntl.h>
#include <thread>
#include <unistd.h>

namespace twinscan::test {
namespace {

// While the reader holds back, the write waits in steps and asks its patience at each, and ends
// when that runs out, long before the reader comes back; a reader that reads on gets every byte.
// The descriptor handed in keeps its blocking writes, as the shell that opened it expects.
TEST(DeviceOutput, AWaitForASlowReaderHearsTheStop)
{
    const struct
    {
        const char *what;
        int patience; // answers before the first no
        int readerAwayMs;
        bool written;
    } cases[] = {
        {"stopped while the reader holds back", 3, 3000, false},
        {"a reader that reads on", 1 << 30, 0, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        int ends[2];
        ASSERT_EQ(::pipe2(ends, O_CLOEXEC), 0);
        std::size_t got = 0;
        std::thread reader([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(c.readerAwayMs));
            char buffer[65536];
            for (ssize_t n; (n = ::read(ends[0], buffer, sizeof buffer)) > 0;)
                got += std::size_t(n);
        });
        OutputFile out;
        ASSERT_TRUE(out.openDescriptor(ends[1]));
        EXPECT_FALSE(::fcntl(ends[1], F_GETFL) & O_NONBLOCK);
        ::close(ends[1]);
        int asked = 0;
        out.setPatience([&] { return ++asked < c.patience; });
        const std::string bytes(std::size_t(4) << 20, 'x');
        QElapsedTimer clock;
        clock.start();
        const bool written = out.write(bytes) && out.close();
        const qint64 took = clock.elapsed();
        (void)out.close();
        reader.join();
        ::close(ends[0]);
        EXPECT_EQ(written, c.written);
        EXPECT_EQ(out.stopped(), !c.written);
        if (!c.written) {
            EXPECT_EQ(asked, c.patience);
            EXPECT_LT(took, c.readerAwayMs / 2);
        } else {
            EXPECT_EQ(got, bytes.size());
        }
    }
}

} // namespace
} // namespace twinscan::test
