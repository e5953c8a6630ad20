#include "editing/ReplacedPages.h"

#include "editing/InterruptSignals.h"
#include "engine/FileName.h"

#include <QFile>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace twinscan {

namespace {
// Drops the pages and closes the file. Plain system calls, not the save's: whether they work
// changes nothing but how fast the save goes.
void dropPages(int fd)
{
    (void)::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    ::close(fd);
}
} // namespace

void ReplacedPages::drop(const QString &file, int source, bool beside)
{
    const QByteArray name = fileNameBytes(file);
    struct stat named
    {
    }, opened {}, read {};
    // Only a regular file is opened: opening a device or a FIFO may do something of its own.
    if (::stat(name.constData(), &named) != 0 || !S_ISREG(named.st_mode))
        return;
    const int fd = ::open(name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return;
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode) || ::fstat(source, &read) != 0
        || (opened.st_dev == read.st_dev && opened.st_ino == read.st_ino)) {
        ::close(fd);
        return;
    }
    if (!beside)
        return dropPages(fd);
    thread_ = std::jthread([fd] {
        const interrupts::Deferral signalsGoToTheCaller;
        dropPages(fd);
    });
}

} // namespace twinscan
