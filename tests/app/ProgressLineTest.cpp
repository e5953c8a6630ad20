#include "app/ProgressLine.h"

#include <gtest/gtest.h>
#include <string>

namespace twinscan {
namespace {

// What the line wrote, read from a stream in memory.
class Written
{
public:
    Written() : stream_(::open_memstream(&data_, &size_)) { }
    ~Written()
    {
        std::fclose(stream_);
        std::free(data_);
    }
    std::FILE *stream() const { return stream_; }
    std::string text() const
    {
        std::fflush(stream_);
        return std::string(data_, size_);
    }

private:
    char *data_ = nullptr;
    std::size_t size_ = 0;
    std::FILE *stream_;
};

// Nothing within the first second nor more often than five times a second; the line rewritten
// in place and wiped at the end; nothing at all when not shown.
TEST(ProgressLineTest, ShowsOnlyALongJobAndWipesItsLine)
{
    const struct
    {
        bool shown;
        std::vector<std::pair<double, qint64>> reports; // at seconds, percent done
        const char *expected;
    } cases[] = {
        {true, {{0.5, 10}, {0.99, 50}}, ""},
        {true, {{0.5, 10}, {1.0, 50}, {1.1, 60}, {1.25, 70}},
            "\rtwinscan: reading... 50%\x1b[K\rtwinscan: reading... 70%\x1b[K\r\x1b[K"},
        {false, {{1.5, 50}, {3.0, 60}}, ""},
    };
    for (const auto &c : cases) {
        Written written;
        double now = 0;
        {
            ProgressLine line(c.shown, written.stream(), [&now] { return now; });
            const ProgressFn report = line.step(QStringLiteral("reading"));
            for (const auto &[at, percent] : c.reports) {
                now = at;
                EXPECT_TRUE(report(percent, 100));
            }
        }
        EXPECT_EQ(written.text(), c.expected);
    }
}

TEST(ProgressLineTest, ShowsOnATerminalUnlessQuiet)
{
    // Standard error of the test is no terminal; /dev/null is none either.
    EXPECT_FALSE(progressShown(false, false));
    EXPECT_TRUE(progressShown(true, true));
}

} // namespace
} // namespace twinscan
