// Runs the scan of a large file as the program runs it, without a window: load the file, fill
// the source list (an emulation, as for any file of 32,768 lines or more), then group the
// duplicates into an emulated duplicates list with the default switches. Prints the time of each
// phase, the counts, a checksum of the duplicates list (to compare engine versions) and the peak
// resident memory of this process.
//
//   twinscan_bench scan FILE [field|csv|regex]
//
// With a key, the lines are compared by their second word instead: as the field of runs of
// spaces, as the column of a CSV file separated by spaces, or as the capture of "^\S+ (\S+)".
//
// Also runs the viewer's Find as the viewer runs it, in steps of 4,096 lines: from the first line
// to the text of line LINE (1-based, default 1,000,000), with and without Match case, then a text
// that no line holds through every line. Prints the time of each and, as measured, the slower of
// the first two.
//
//   twinscan_bench find FILE [LINE]

#include "engine/DuplicateScanner.h"
#include "engine/GroupOrder.h"
#include "engine/LineSearch.h"
#include "engine/LoadedText.h"
#include "engine/clsListEmu.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <sys/resource.h>

using namespace twinscan;

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Processor time of this process, user and system: on a busy machine it varies far less than the
// elapsed time.
double cpuSeconds()
{
    timespec now {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

// The window's listener looks at the clock on every call and repaints a few times a second; the
// benchmark pays for the same look.
bool progressCheck(qint64, qint64)
{
    static Clock::time_point next = Clock::now();
    const Clock::time_point now = Clock::now();
    if (now >= next)
        next = now + std::chrono::milliseconds(100);
    return true;
}

std::uint64_t checksum(const LineList &list)
{
    std::uint64_t sum = 0;
    for (int i = 0; i < list.ListCount(); ++i) {
        const ListItem &item = list.itemAt(i);
        sum = (sum ^ (std::uint64_t(item.line) << 32 | item.first)) * 0x100000001B3ULL;
    }
    return sum;
}

long peakRssKb()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

KeySpec benchKey(const char *name)
{
    KeySpec key;
    if (std::strcmp(name, "regex") == 0) {
        key.kind = KeySpec::Kind::Regex;
        key.pattern = QStringLiteral("^\\S+ (\\S+)");
    } else {
        key.kind = KeySpec::Kind::Fields;
        key.fields = {2};
        key.csv = std::strcmp(name, "csv") == 0;
        if (key.csv)
            key.separator.push_back(' ');
    }
    return key;
}

int scan(const char *path, const KeySpec &key)
{
    const Clock::time_point start = Clock::now();
    const double cpuStart = cpuSeconds();
    LoadResult loaded = TextLoader::load(QString::fromLocal8Bit(path), progressCheck);
    if (!loaded.text) {
        std::fprintf(stderr, "%s: %s\n", path, qPrintable(loaded.error));
        return 1;
    }
    const std::shared_ptr<LoadedText> text = std::move(loaded.text);
    const double loadSeconds = secondsSince(start);
    const double loadCpu = cpuSeconds() - cpuStart;

    const Clock::time_point fillStart = Clock::now();
    const int lineCount = text->lineCount();
    clsListEmu lstShow;
    lstShow.setUpperLimit(lineCount);
    lstShow.setSource(text);
    lstShow.addLines(0, lineCount); // as the window fills it, less its progress calls
    const double fillSeconds = secondsSince(fillStart);
    const double fillCpu = cpuSeconds() - cpuStart - loadCpu;

    const Clock::time_point scanStart = Clock::now();
    clsListEmu List2;
    List2.setUpperLimit(lineCount);
    List2.setSource(text);
    const ScanOutcome outcome = DuplicateScanner(
        *text, ScanRules::from(ScanOptions {}), Parallelism::fromEnvironment(), key)
                                    .run(List2, progressCheck);
    const double scanSeconds = secondsSince(scanStart);
    const double scanCpu = cpuSeconds() - cpuStart - loadCpu - fillCpu;

    std::printf("bytes=%zu lines=%d entries=%d groups=%d checksum=%016llx\n", text->byteSize(),
        lineCount, List2.ListCount(), outcome.groupCount,
        static_cast<unsigned long long>(checksum(List2)));
    std::printf("elapsed: load=%.3f fill=%.3f group=%.3f total=%.3f\n", loadSeconds, fillSeconds,
        scanSeconds, secondsSince(start));
    std::printf("cpu:     load=%.3f fill=%.3f group=%.3f total=%.3f peak_rss_kb=%ld\n", loadCpu,
        fillCpu, scanCpu, cpuSeconds() - cpuStart, peakRssKb());
    // The duplicates list's "Sort by count", after the times above so that they stay the scan's.
    const Clock::time_point sortStart = Clock::now();
    const BulkArray<std::uint32_t> byCount
        = entriesByGroupSize(outcome.lineEntries, std::size_t(List2.ListCount()));
    std::printf("sort by count: %.3f s for %d groups, %zu entries\n", secondsSince(sortStart),
        outcome.groupCount, byCount.size());
    return 0;
}

struct FindTime
{
    double elapsed = 0;
    double cpu = 0;
    int found = 0; // 1-based
};

// From the top to the line that holds `needle`.
FindTime timeFind(
    const std::shared_ptr<const LoadedText> &text, const QString &needle, bool matchCase)
{
    const Clock::time_point start = Clock::now();
    const double cpuStart = cpuSeconds();
    LineSearch search(text, needle, matchCase, -1, LineSearch::Direction::Forward);
    while (!search.step(4096)) { }
    return {secondsSince(start), cpuSeconds() - cpuStart, search.found() + 1};
}

int find(const char *path, int lineNumber)
{
    LoadResult loaded = TextLoader::load(QString::fromLocal8Bit(path));
    if (!loaded.text || lineNumber < 1 || lineNumber > loaded.text->lineCount()) {
        std::fprintf(
            stderr, "%s: %s\n", path, loaded.text ? "no such line" : qPrintable(loaded.error));
        return 1;
    }
    const std::shared_ptr<const LoadedText> text = std::move(loaded.text);
    const QString needle = text->lineText(lineNumber - 1);
    double slowest = 0;
    for (const bool matchCase : {false, true}) {
        const FindTime time = timeFind(text, needle, matchCase);
        slowest = std::max(slowest, time.elapsed);
        std::printf("find line %d's text, match case %s: %.3f s (cpu %.3f s), found at line %d\n",
            lineNumber, matchCase ? "on" : "off", time.elapsed, time.cpu, time.found);
    }
    for (const bool matchCase : {false, true}) {
        const FindTime time
            = timeFind(text, QStringLiteral("\u00E9 no such text \u00E9"), matchCase);
        std::printf("all %d lines, match case %s: %.3f s (cpu %.3f s), %.1f M lines/s\n",
            text->lineCount(), matchCase ? "on" : "off", time.elapsed, time.cpu,
            text->lineCount() / time.elapsed * 1e-6);
    }
    std::printf("measured=%.3f\n", slowest);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 3 && std::strcmp(argv[1], "scan") == 0)
        return scan(argv[2], {});
    const char *const keys[] = {"field", "csv", "regex"};
    if (argc == 4 && std::strcmp(argv[1], "scan") == 0
        && std::any_of(std::begin(keys), std::end(keys),
            [&](const char *key) { return std::strcmp(argv[3], key) == 0; }))
        return scan(argv[2], benchKey(argv[3]));
    if ((argc == 3 || argc == 4) && std::strcmp(argv[1], "find") == 0)
        return find(argv[2], argc == 4 ? std::atoi(argv[3]) : 1'000'000);
    std::fprintf(stderr, "usage: %s scan FILE [field|csv|regex] | find FILE [LINE]\n", argv[0]);
    return 2;
}
