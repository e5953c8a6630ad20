#include "editing/TemporaryFile.h"

#include "editing/InterruptSignals.h"
#include "engine/FileName.h"
#include "engine/SystemCalls.h"

#include <QFile>
#include <QRandomGenerator>
#include <cerrno>
#include <fcntl.h>

namespace twinscan {

namespace {
QByteArray randomName()
{
    static constexpr char letters[]
        = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QByteArray name(TemporaryFile::prefix);
    for (int i = 0; i < 8; ++i)
        name += letters[QRandomGenerator::system()->bounded(int(sizeof letters - 1))];
    return name + TemporaryFile::suffix;
}

int openFolder(int base, const QByteArray &folder)
{
    // A folder that may be written but not listed can still hold the file; it is then only not
    // synced after the rename.
    const int fd = sys::openAt(base, folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0 || errno != EACCES)
        return fd;
    return sys::openAt(base, folder.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
}
} // namespace

TemporaryFile::~TemporaryFile()
{
    remove();
}

FileDescriptor TemporaryFile::create(const QString &folder)
{
    folder_.reset(openFolder(AT_FDCWD, fileNameBytes(folder)));
    return createIn();
}

FileDescriptor TemporaryFile::create(int folder)
{
    folder_.reset(openFolder(folder, "."));
    return createIn();
}

FileDescriptor TemporaryFile::createIn()
{
    if (!folder_.isOpen())
        return {};
    FileDescriptor fd(sys::openAt(folder_.get(), ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
    if (fd.isOpen()) {
        unnamed_.reset(::fcntl(fd.get(), F_DUPFD_CLOEXEC, 0));
        return unnamed_.isOpen() ? std::move(fd) : FileDescriptor();
    }
    // The ways a file system says it has no unnamed files.
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
        return {};
    return createNamed();
}

FileDescriptor TemporaryFile::createNamed()
{
    // Eight of 62 characters: a clash with another run's name is a rare retry.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray name = randomName();
        FileDescriptor fd(sys::openAt(folder_.get(), name.constData(),
            O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (fd.isOpen()) {
            name_ = name;
            live_ = true;
            interrupts::registerTemporary(folder_.get(), name_.constData());
            return fd;
        }
        if (errno != EEXIST)
            return {};
    }
    return {};
}

// The file gets a unique name of its own first, as a link cannot replace a file; the rename then
// puts it in place. /proc links it for anyone; without /proc only the privileged may.
bool TemporaryFile::linkIn()
{
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(unnamed_.get());
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray name = randomName();
        int linked = sys::linkAt(
            AT_FDCWD, self.constData(), folder_.get(), name.constData(), AT_SYMLINK_FOLLOW);
        if (linked != 0 && errno == ENOENT)
            linked
                = sys::linkAt(unnamed_.get(), "", folder_.get(), name.constData(), AT_EMPTY_PATH);
        if (linked == 0) {
            name_ = name;
            live_ = true;
            // Linux reports a write lost on the way to the disk at any close of the file.
            return unnamed_.close();
        }
        if (errno != EEXIST)
            return false;
    }
    return false;
}

bool TemporaryFile::commit(const QString &name)
{
    if (unnamed_.isOpen() && !linkIn())
        return false;
    // Unregistered first: after the rename the name may belong to someone else's new file.
    interrupts::unregisterTemporary();
    if (sys::renameAt(
            folder_.get(), name_.constData(), folder_.get(), fileNameBytes(name).constData())
        != 0) {
        interrupts::registerTemporary(folder_.get(), name_.constData());
        return false;
    }
    live_ = false;
    // The rename is durable once the folder is; a failure here loses nothing written.
    (void)sys::fsync(folder_.get());
    return true;
}

bool TemporaryFile::giveName()
{
    return !unnamed_.isOpen() || linkIn();
}

FileDescriptor TemporaryFile::openForReading() const
{
    return FileDescriptor(
        sys::openAt(folder_.get(), name_.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
}

QByteArray TemporaryFile::keep()
{
    interrupts::unregisterTemporary();
    live_ = false;
    return name_;
}

bool TemporaryFile::remove()
{
    unnamed_.reset(); // a file without a name goes with its last descriptor
    if (!live_)
        return true;
    interrupts::unregisterTemporary();
    const int removed = sys::unlinkAt(folder_.get(), name_.constData());
    // A signal's handler may have removed it already.
    if (removed != 0 && errno != ENOENT)
        return false;
    live_ = false;
    return true;
}

} // namespace twinscan
