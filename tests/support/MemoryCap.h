#pragma once

#include <QFile>
#include <QRegularExpression>
#include <sys/resource.h>

namespace twinscan::test {

// Caps this process's address space a little above what it holds now, as a small machine would,
// until the cap goes out of scope: the next large allocation fails.
class MemoryCap
{
public:
    explicit MemoryCap(qint64 headroom)
    {
        ::getrlimit(RLIMIT_AS, &before_);
        QFile status(QStringLiteral("/proc/self/status"));
        (void)status.open(QIODevice::ReadOnly);
        const auto size = QRegularExpression(QStringLiteral("VmSize:\\s*(\\d+) kB"))
                              .match(QString::fromLatin1(status.readAll()));
        const rlimit cap {
            rlim_t(size.captured(1).toLongLong() * 1024 + headroom), before_.rlim_max};
        ::setrlimit(RLIMIT_AS, &cap);
    }
    ~MemoryCap() { ::setrlimit(RLIMIT_AS, &before_); }
    MemoryCap(const MemoryCap &) = delete;
    MemoryCap &operator=(const MemoryCap &) = delete;

private:
    rlimit before_ {};
};

} // namespace twinscan::test
