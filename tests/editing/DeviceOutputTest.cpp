// Writing into a pipe, a FIFO or a device, whose reader sets the pace.

#include "../engine/EngineTestSupport.h"
#include "editing/OutputFile.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <fcntl.h>
#include <sys/stat.h>
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

// A FIFO that nobody reads yet is waited for in steps, so that a stop is heard before a reader
// comes, where a blocking open would hold the save until one does; a reader that comes later
// gets every byte.
TEST(DeviceOutput, AFifoWithoutAReaderIsWaitedForWithPatience)
{
    const struct
    {
        const char *what;
        int patience; // answers before the first no
        int readerAfterMs;
        bool opened;
    } cases[] = {
        {"stopped before a reader comes", 3, 1500, false},
        {"a reader that comes later", 1 << 30, 300, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        const QByteArray fifo = QFile::encodeName(dir.filePath(QStringLiteral("out")));
        ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
        const int folder = ::open(QFile::encodeName(dir.path()).constData(), O_PATH | O_DIRECTORY);
        std::string got;
        std::thread reader([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(c.readerAfterMs));
            // Where no writer may come, the reader must not block in its open.
            const int fd = ::open(fifo.constData(), O_RDONLY | (c.opened ? 0 : O_NONBLOCK));
            char buffer[64];
            for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;)
                got.append(buffer, std::size_t(n));
            ::close(fd);
        });
        OutputFile out;
        int asked = 0;
        out.setPatience([&] { return ++asked < c.patience; });
        QElapsedTimer clock;
        clock.start();
        const bool opened = out.openDevice(folder, "out");
        const qint64 took = clock.elapsed();
        EXPECT_EQ(opened, c.opened);
        EXPECT_EQ(out.stopped(), !c.opened);
        if (opened)
            EXPECT_TRUE(out.write("a\n") && out.close());
        else
            EXPECT_LT(took, c.readerAfterMs / 2);
        reader.join();
        ::close(folder);
        EXPECT_EQ(got, c.opened ? "a\n" : "");
    }
}

} // namespace
} // namespace twinscan::test
