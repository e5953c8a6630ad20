#include "editing/OpenDescriptor.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace twinscan {

namespace {
bool closedAtStart[3] = {};

// The number of the descriptor that `path` names, open or not.
std::optional<int> descriptorNumber(const QString &path)
{
    static const QRegularExpression form(
        QStringLiteral("^/(?:dev/(stdin|stdout|stderr)|dev/fd/(\\d{1,9})|proc/(?:self|%1)/fd/"
                       "(\\d{1,9}))$")
            .arg(::getpid()));
    const auto match = form.match(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    if (!match.hasMatch())
        return std::nullopt;
    static const QStringList streams {
        QStringLiteral("stdin"), QStringLiteral("stdout"), QStringLiteral("stderr")};
    const QString stream = match.captured(1);
    return stream.isEmpty() ? (match.captured(2) + match.captured(3)).toInt()
                            : int(streams.indexOf(stream));
}

// Only a descriptor handed down to us open counts. Those the program opens itself (its signal
// pipe, the file it reads, the toolkit's) are all close-on-exec, and writing a job's lines into
// them would lose the lines.
bool isClosed(int fd)
{
    const int flags = ::fcntl(fd, F_GETFD);
    return (fd <= STDERR_FILENO && closedAtStart[fd]) || flags == -1 || (flags & FD_CLOEXEC);
}
} // namespace

std::optional<int> openDescriptorNamed(const QString &path)
{
    const auto fd = descriptorNumber(path);
    return fd && !isClosed(*fd) ? fd : std::nullopt;
}

bool namesClosedDescriptor(const QString &path)
{
    const auto fd = descriptorNumber(path);
    return fd && isClosed(*fd);
}

void noteClosedAtStart(int fd)
{
    closedAtStart[fd] = true;
}

bool namesStandardOutput(const QString &path)
{
    const auto fd = openDescriptorNamed(path);
    struct stat named
    {
    }, out {};
    return fd
        && (*fd == STDOUT_FILENO
            || (::fstat(*fd, &named) == 0 && ::fstat(STDOUT_FILENO, &out) == 0
                && named.st_dev == out.st_dev && named.st_ino == out.st_ino));
}

} // namespace twinscan
