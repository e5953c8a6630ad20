#include "editing/OpenDescriptor.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace twinscan {

std::optional<int> openDescriptorNamed(const QString &path)
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
    const int fd = stream.isEmpty() ? (match.captured(2) + match.captured(3)).toInt()
                                    : int(streams.indexOf(stream));
    // A name of a descriptor that is not open is only a name, which fails as a missing file would.
    if (::fcntl(fd, F_GETFD) == -1)
        return std::nullopt;
    return fd;
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
