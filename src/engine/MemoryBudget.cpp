#include "engine/MemoryBudget.h"

#include "engine/FileDescriptor.h"
#include "engine/FileEncoding.h"
#include "engine/FileName.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace twinscan::memory {

namespace {
// Limits this high mean none: cgroup v1 writes "no limit" as about 2^63, rounded to a page.
constexpr std::uint64_t noLimitAbove = std::uint64_t(1) << 62;

QByteArray readSmallFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(1 << 16) : QByteArray();
}

std::uint64_t limitIn(const QString &path)
{
    bool ok = false;
    const std::uint64_t value = readSmallFile(path).trimmed().toULongLong(&ok);
    return ok && value < noLimitAbove ? value : unlimited;
}

// The tightest of a limit file in a cgroup's folder and in every folder above it up to the root
// of its hierarchy: a parent's limit holds for its children too.
std::uint64_t tightestUpwards(const QString &root, QString path, const QStringList &files)
{
    std::uint64_t tightest = unlimited;
    for (;;) {
        for (const QString &file : files)
            tightest = std::min(tightest, limitIn(root + path + QLatin1Char('/') + file));
        if (path.isEmpty() || path == QLatin1String("/"))
            return tightest;
        path.truncate(std::max<qsizetype>(path.lastIndexOf(QLatin1Char('/')), 0));
    }
}

// The process's cgroups as /proc/self/cgroup lists them: "id:controllers:path", one a line, a
// v2 cgroup with id 0 and no controllers. Inside a container the path may name a folder that is
// not mounted; the root of the mount is then the cgroup itself.
std::uint64_t cgroupLimit(const QString &procRoot, const QString &cgroupRoot)
{
    std::uint64_t tightest = unlimited;
    const QList<QByteArray> lines
        = readSmallFile(procRoot + QLatin1String("/self/cgroup")).split('\n');
    for (const QByteArray &line : lines) {
        const QList<QByteArray> fields = line.split(':');
        if (fields.size() < 3)
            continue;
        const bool v2 = fields[0] == "0" && fields[1].isEmpty();
        const bool v1 = fields[1].split(',').contains("memory");
        if (!v1 && !v2)
            continue;
        const QString root = v1 ? cgroupRoot + QLatin1String("/memory") : cgroupRoot;
        const QStringList files = v1
            ? QStringList {QStringLiteral("memory.limit_in_bytes")}
            : QStringList {QStringLiteral("memory.max"), QStringLiteral("memory.high")};
        QString path = QString::fromUtf8(fields.mid(2).join(':'));
        if (!QDir(root + path).exists())
            path.clear();
        tightest = std::min(tightest, tightestUpwards(root, path, files));
    }
    return tightest;
}

// A "Name:   value kB" line of /proc/meminfo or /proc/self/status, in bytes.
std::uint64_t kilobytesField(const QByteArray &text, const QByteArray &name)
{
    for (const QByteArray &line : text.split('\n')) {
        if (!line.startsWith(name + ':'))
            continue;
        bool ok = false;
        const std::uint64_t kb
            = line.mid(name.size() + 1).trimmed().split(' ').value(0).toULongLong(&ok);
        return ok ? kb * 1024 : unlimited;
    }
    return unlimited;
}

// What a resource limit leaves beyond what the process already uses of it.
std::uint64_t leftOfLimit(int resource, std::uint64_t used)
{
    rlimit limit {};
    if (::getrlimit(resource, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return unlimited;
    const std::uint64_t cap = limit.rlim_cur;
    return used == unlimited ? cap : cap - std::min(cap, used);
}
} // namespace

Limits readLimits(const QString &procRoot, const QString &cgroupRoot)
{
    Limits limits;
    limits.cgroup = cgroupLimit(procRoot, cgroupRoot);
    limits.available
        = kilobytesField(readSmallFile(procRoot + QLatin1String("/meminfo")), "MemAvailable");
    const QByteArray status = readSmallFile(procRoot + QLatin1String("/self/status"));
    limits.addressSpace = leftOfLimit(RLIMIT_AS, kilobytesField(status, "VmSize"));
    limits.data = leftOfLimit(RLIMIT_DATA, kilobytesField(status, "VmData"));
    return limits;
}

std::uint64_t budgetFrom(const Limits &limits)
{
    const std::uint64_t least
        = std::min({limits.cgroup, limits.available, limits.addressSpace, limits.data});
    const std::uint64_t margin = std::max<std::uint64_t>(least / 8, std::uint64_t(32) << 20);
    return least - std::min(least, margin);
}

std::optional<std::uint64_t> parseSize(std::string_view text, std::uint64_t physicalBytes)
{
    std::size_t digits = 0;
    std::uint64_t number = 0;
    for (; digits < text.size() && std::isdigit(static_cast<unsigned char>(text[digits]));
         ++digits) {
        const unsigned digit = unsigned(text[digits] - '0');
        if (number > (UINT64_MAX - digit) / 10)
            return std::nullopt;
        number = number * 10 + digit;
    }
    const std::string_view suffix = text.substr(digits);
    if (digits == 0 || suffix.size() > 1 || number == 0)
        return std::nullopt;
    if (suffix == "%") {
        if (number > 100)
            return std::nullopt;
        return std::uint64_t(__uint128_t(physicalBytes) * number / 100);
    }
    static constexpr std::string_view powers = "KMGTPE";
    unsigned shift = 10;
    if (suffix == "b" || suffix == "B") {
        shift = 0;
    } else if (!suffix.empty()) {
        const std::size_t power
            = powers.find(char(std::toupper(static_cast<unsigned char>(suffix[0]))));
        if (power == std::string_view::npos)
            return std::nullopt;
        shift = unsigned(power + 1) * 10;
    }
    if (shift > 0 && number > UINT64_MAX >> shift)
        return std::nullopt;
    return number << shift;
}

std::uint64_t physicalMemory()
{
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    return pages > 0 && pageSize > 0 ? std::uint64_t(pages) * std::uint64_t(pageSize) : unlimited;
}

std::uint64_t budget()
{
    if (const char *given = std::getenv("TWINSCAN_MEMORY")) {
        if (const auto size = parseSize(given, physicalMemory()))
            return *size;
    }
    return budgetFrom(readLimits());
}

std::uint64_t countLineBreaks(std::string_view bytes, LineEnds ends)
{
    if (ends == LineEnds::Nul)
        return std::uint64_t(std::count(bytes.begin(), bytes.end(), '\0'));
    std::uint64_t breaks = 0;
    for (std::size_t k = 0; k < bytes.size(); ++k) {
        // A CR followed by an LF ends one line, counted at the LF.
        breaks += bytes[k] == '\n'
            || (bytes[k] == '\r' && (k + 1 == bytes.size() || bytes[k + 1] != '\n'));
    }
    return breaks;
}

namespace {
std::uint64_t linesAtRate(std::uint64_t size, std::uint64_t sampled, std::uint64_t breaks)
{
    if (sampled == 0)
        return 1;
    return std::uint64_t(double(breaks) / double(sampled) * double(size)) + 1;
}
} // namespace

std::uint64_t estimateLineCount(int fd, std::uint64_t size, LineEnds ends)
{
    constexpr std::uint64_t slice = 64 << 10;
    constexpr std::uint64_t slices = 16;
    const bool whole = size <= slice * slices;
    std::vector<char> buffer(slice);
    std::uint64_t sampled = 0;
    std::uint64_t breaks = 0;
    for (std::uint64_t i = 0; i < (whole ? (size + slice - 1) / slice : slices); ++i) {
        const std::uint64_t at = whole ? i * slice : (size - slice) / (slices - 1) * i;
        const ssize_t got = ::pread(fd, buffer.data(), slice, off_t(at));
        if (got <= 0)
            break;
        breaks += countLineBreaks({buffer.data(), std::size_t(got)}, ends);
        sampled += std::uint64_t(got);
    }
    return linesAtRate(size, sampled, breaks);
}

std::uint64_t inMemoryNeed(std::uint64_t fileBytes, std::uint64_t lines, bool wide)
{
    // Measured on generated word lists: the index, hashes and links, the table and the lists'
    // entries come to about 30 bytes a line at the peak.
    constexpr std::uint64_t perLine = 32;
    constexpr std::uint64_t fixed = std::uint64_t(16) << 20;
    const std::uint64_t text = wide ? fileBytes / 2 * 3 + fileBytes : fileBytes;
    return text + lines * perLine + fixed;
}

namespace {
bool linesFit(std::uint64_t size, std::uint64_t lines, bool wide, std::uint64_t budget)
{
    return lines < std::uint64_t(INT32_MAX) && inMemoryNeed(size, lines, wide) <= budget;
}
} // namespace

bool fitsInMemory(const QString &path, std::uint64_t budget, LineEnds ends)
{
    const FileDescriptor fd(::open(fileNameBytes(path).constData(), O_RDONLY | O_CLOEXEC));
    struct stat st
    {
    };
    if (!fd.isOpen() || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
        return true;
    char mark[encodingMarkBytes] = {};
    const ssize_t got = ::pread(fd.get(), mark, sizeof mark, 0);
    const bool wide
        = ends == LineEnds::Text && got > 0 && isWide(markedEncoding(mark, std::size_t(got)));
    const auto size = std::uint64_t(st.st_size);
    return linesFit(size, estimateLineCount(fd.get(), size, ends), wide, budget);
}

bool streamFitsInMemory(std::uint64_t size, std::uint64_t sampled, std::uint64_t breaks, bool wide,
    std::uint64_t budget)
{
    return linesFit(size, linesAtRate(size, sampled, breaks), wide, budget);
}

} // namespace twinscan::memory
