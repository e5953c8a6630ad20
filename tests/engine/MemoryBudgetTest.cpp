#include "engine/MemoryBudget.h"

#include "../support/Sanitizers.h"
#include "EngineTestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace twinscan;
using namespace twinscan::test;

namespace {

constexpr std::uint64_t KiB = 1024;
constexpr std::uint64_t MiB = KiB * 1024;
constexpr std::uint64_t GiB = MiB * 1024;

TEST(MemoryBudget, SizesReadAsSortReadsThem)
{
    const std::uint64_t physical = 8 * GiB;
    const struct
    {
        const char *text;
        std::optional<std::uint64_t> bytes;
    } cases[] = {
        {"100", 100 * KiB}, // no suffix: kibibytes
        {"100b", 100},
        {"64K", 64 * KiB},
        {"256M", 256 * MiB},
        {"256m", 256 * MiB},
        {"2G", 2 * GiB},
        {"1T", GiB * 1024},
        {"1E", std::uint64_t(1) << 60},
        {"16E", std::nullopt}, // past 64 bits
        {"18446744073709551616b", std::nullopt},
        {"50%", 4 * GiB},
        {"101%", std::nullopt},
        {"0", std::nullopt},
        {"", std::nullopt},
        {"M", std::nullopt},
        {"1.5G", std::nullopt},
        {"12MB", std::nullopt},
        {"-5M", std::nullopt},
        {"5X", std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(memory::parseSize(c.text, physical), c.bytes) << c.text;
}

TEST(MemoryBudget, TheLeastLimitLessItsMargin)
{
    memory::Limits limits;
    EXPECT_EQ(memory::budgetFrom(limits), memory::unlimited - memory::unlimited / 8);
    limits.available = 8 * GiB;
    limits.cgroup = 256 * MiB;
    EXPECT_EQ(memory::budgetFrom(limits), 224 * MiB);
    limits.data = 100 * MiB; // an eighth is below the least margin
    EXPECT_EQ(memory::budgetFrom(limits), 68 * MiB);
    limits.addressSpace = 16 * MiB;
    EXPECT_EQ(memory::budgetFrom(limits), 0U);
}

// A /proc and a cgroup tree of a test's own.
class FakeSystem
{
public:
    void put(const QString &path, const QByteArray &text)
    {
        const QString full = dir_.path() + path;
        ASSERT_TRUE(QDir().mkpath(QFileInfo(full).absolutePath()));
        writeBytes(full, text.toStdString());
    }
    memory::Limits read() const
    {
        return memory::readLimits(
            dir_.path() + QLatin1String("/proc"), dir_.path() + QLatin1String("/cgroup"));
    }

private:
    QTemporaryDir dir_;
};

TEST(MemoryBudget, CgroupLimitsAreTheTightestUpTheTree)
{
    const struct
    {
        const char *name;
        QByteArray selfCgroup;
        std::vector<std::pair<QString, QByteArray>> files;
        std::uint64_t limit;
    } cases[] = {
        {"v1 own limit", "5:cpu:/\n4:memory:/job/step\n",
            {{"/cgroup/memory/job/step/memory.limit_in_bytes", "268435456\n"},
                {"/cgroup/memory/memory.limit_in_bytes", "9223372036854771712\n"}},
            256 * MiB},
        {"v1 parent's limit", "4:cpuacct,memory:/job/step\n",
            {{"/cgroup/memory/job/step/memory.limit_in_bytes", "9223372036854771712\n"},
                {"/cgroup/memory/job/memory.limit_in_bytes", "1073741824\n"}},
            GiB},
        {"v1 path not mounted: the root is the cgroup", "4:memory:/elsewhere\n",
            {{"/cgroup/memory/memory.limit_in_bytes", "67108864\n"}}, 64 * MiB},
        {"v2 max and high", "0::/user/app\n",
            {{"/cgroup/user/app/memory.max", "max\n"},
                {"/cgroup/user/app/memory.high", "536870912\n"},
                {"/cgroup/user/memory.max", "1073741824\n"}},
            512 * MiB},
        {"v2 none", "0::/\n", {{"/cgroup/memory.max", "max\n"}}, memory::unlimited},
        {"no memory controller", "3:cpu:/x\n", {}, memory::unlimited},
    };
    for (const auto &c : cases) {
        FakeSystem system;
        system.put(QStringLiteral("/proc/self/cgroup"), c.selfCgroup);
        for (const auto &[path, text] : c.files)
            system.put(path, text);
        EXPECT_EQ(system.read().cgroup, c.limit) << c.name;
    }
}

TEST(MemoryBudget, AvailableMemoryFromMeminfo)
{
    FakeSystem system;
    system.put(QStringLiteral("/proc/meminfo"),
        "MemTotal:       24000000 kB\nMemFree:  100 kB\nMemAvailable:    2000000 kB\n");
    EXPECT_EQ(system.read().available, 2000000 * KiB);
}

TEST(MemoryBudget, TheEnvironmentSetsTheBudget)
{
    ASSERT_EQ(::setenv("TWINSCAN_MEMORY", "3M", 1), 0);
    EXPECT_EQ(memory::budget(), 3 * MiB);
    ASSERT_EQ(::setenv("TWINSCAN_MEMORY", "nonsense", 1), 0);
    // Read twice, available memory moves with whatever else runs: near is as close as it gets.
    const double measured = double(memory::budgetFrom(memory::readLimits()));
    EXPECT_NEAR(double(memory::budget()), measured, measured / 20);
    ::unsetenv("TWINSCAN_MEMORY");
}

// The sample must count CR LF once and a lone CR as a break, and scale to the whole file.
TEST(MemoryBudget, LinesEstimatedFromSlices)
{
    QTemporaryDir dir;
    const struct
    {
        const char *name;
        std::string bytes;
        std::uint64_t low, high;
        LineEnds ends = LineEnds::Text;
    } cases[] = {
        {"small, counted whole", "a\r\nb\rc\nd", 4, 4},
        {"records", std::string("a\0b\nc\0d", 7), 3, 3, LineEnds::Nul},
        {"large, sampled",
            [] {
                std::string s;
                for (int i = 0; i < 400000; ++i)
                    s += i % 2 ? "abcdefgh\r\n" : "abcdefghij\n";
                return s;
            }(),
            380000, 420000},
    };
    for (const auto &c : cases) {
        const QString path = dir.filePath(QStringLiteral("f"));
        writeBytes(path, c.bytes);
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
        const std::uint64_t lines = memory::estimateLineCount(fd, c.bytes.size(), c.ends);
        ::close(fd);
        EXPECT_GE(lines, c.low) << c.name;
        EXPECT_LE(lines, c.high) << c.name;
    }
}

TEST(MemoryBudget, InMemoryNeedGrowsWithBytesAndLines)
{
    const std::uint64_t base = memory::inMemoryNeed(632 * MiB, 60'000'000, false);
    EXPECT_GT(base, 632 * MiB + 60'000'000ULL * 30);
    EXPECT_LT(base, 632 * MiB + 60'000'000ULL * 40);
    EXPECT_GT(memory::inMemoryNeed(632 * MiB, 60'000'000, true), base + 632 * MiB);
}

// A data limit leaves what the process does not use of it yet.
TEST(MemoryBudget, ResourceLimitsLessWhatIsInUse)
{
    if (twinscan::test::addressSanitized)
        GTEST_SKIP() << "a lowered data limit starves AddressSanitizer";
    rlimit old {};
    ASSERT_EQ(::getrlimit(RLIMIT_DATA, &old), 0);
    rlimit lower = old;
    lower.rlim_cur = std::min<rlim_t>(old.rlim_max, 64 * GiB);
    ASSERT_EQ(::setrlimit(RLIMIT_DATA, &lower), 0);
    const std::uint64_t left = memory::readLimits().data;
    ASSERT_EQ(::setrlimit(RLIMIT_DATA, &old), 0);
    EXPECT_LT(left, lower.rlim_cur);
    EXPECT_GT(left, lower.rlim_cur - GiB);
}

TEST(MemoryBudget, FitsInMemory)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("f"));
    std::string lines;
    for (int i = 0; i < 100000; ++i)
        lines += "line " + std::to_string(i) + "\n";
    writeBytes(path, lines);
    const std::uint64_t need = memory::inMemoryNeed(lines.size(), 100000, false);
    const struct
    {
        QString file;
        std::uint64_t budget;
        bool fits;
    } cases[] = {
        {path, need + need / 10, true}, {path, need - need / 10, false},
        {dir.filePath(QStringLiteral("none")), 0, true}, // the in-memory scan says why
    };
    for (const auto &c : cases)
        EXPECT_EQ(memory::fitsInMemory(c.file, c.budget), c.fits) << c.budget;
}

} // namespace
