#include "editing/LinkWalk.h"

#include "engine/FileName.h"
#include "engine/SystemCalls.h"

#include <QByteArrayList>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <unistd.h>

namespace twinscan {

namespace {
constexpr int maxLinks = 40; // as the kernel allows

// A link or a FIFO in a sticky folder that everyone may write counts only when it is the user's
// or the folder owner's.
bool mayUse(int folder, const struct stat &object)
{
    struct stat st
    {
    };
    if (sys::fstat(folder, &st) != 0)
        return false;
    const bool shared = (st.st_mode & (S_ISVTX | S_IWOTH)) == (S_ISVTX | S_IWOTH);
    return !shared || object.st_uid == ::geteuid() || object.st_uid == st.st_uid;
}

// Empty when it cannot be read.
QByteArray linkTarget(int link)
{
    char target[PATH_MAX];
    const ssize_t got = ::readlinkat(link, "", target, sizeof target);
    return got > 0 && got < ssize_t(sizeof target) ? QByteArray(target, got) : QByteArray();
}

int openPath(int folder, const char *name)
{
    return sys::openAt(folder, name, O_PATH | O_NOFOLLOW | O_CLOEXEC);
}

class Walk
{
public:
    explicit Walk(const QString &path)
        : todo_(fileNameBytes(QFileInfo(path).absoluteFilePath()).split('/'))
    {
        walk_.folder = std::make_shared<FileDescriptor>(openPath(AT_FDCWD, "/"));
    }

    LinkWalk run();

private:
    bool step(const QByteArray &part);
    bool follow(FileDescriptor link, const struct stat &st);
    bool refuse(LinkWalk::Refusal refusal, int error = 0)
    {
        walk_.refused = refusal;
        walk_.error = error;
        walk_.folder.reset();
        return false;
    }

    LinkWalk walk_;
    QByteArrayList todo_;
    QByteArray done_; // the folders so far, all of them no links; empty for the root
    int links_ = 0;
};

LinkWalk Walk::run()
{
    if (!walk_.folder->isOpen())
        refuse(LinkWalk::Unopenable, errno);
    while (walk_.refused == LinkWalk::None && !todo_.isEmpty()) {
        const QByteArray part = todo_.takeFirst();
        if (!part.isEmpty() && part != ".")
            step(part);
    }
    if (walk_.refused == LinkWalk::None && walk_.name.isEmpty())
        refuse(LinkWalk::Unopenable, EISDIR); // the path ends in a folder
    else if (walk_.exists && S_ISFIFO(walk_.file.st_mode)
        && !mayUse(walk_.folder->get(), walk_.file))
        refuse(LinkWalk::PlantedFifo);
    walk_.path = fileNameFromBytes(done_.isEmpty() ? QByteArray("/") : done_);
    return std::move(walk_);
}

// One name: a folder to go into, a link to follow, or the file at the end.
bool Walk::step(const QByteArray &part)
{
    const bool last = todo_.isEmpty();
    FileDescriptor object(openPath(walk_.folder->get(), part.constData()));
    struct stat st
    {
    };
    if (!object.isOpen() || sys::fstat(object.get(), &st) != 0) {
        if (!last || errno != ENOENT)
            return refuse(LinkWalk::Unopenable, errno);
        walk_.name = part;
        done_ += '/' + part;
        return true;
    }
    if (S_ISLNK(st.st_mode))
        return follow(std::move(object), st);
    if (part == "..")
        done_.truncate(std::max<qsizetype>(done_.lastIndexOf('/'), 0));
    else
        done_ += '/' + part;
    if (last && part != "..") {
        walk_.name = part;
        walk_.exists = true;
        walk_.file = st;
        return true;
    }
    if (!S_ISDIR(st.st_mode))
        return refuse(LinkWalk::Unopenable, ENOTDIR);
    *walk_.folder = std::move(object);
    walk_.name.clear();
    return true;
}

bool Walk::follow(FileDescriptor link, const struct stat &st)
{
    if (!mayUse(walk_.folder->get(), st))
        return refuse(LinkWalk::PlantedLink);
    const QByteArray target = linkTarget(link.get());
    if (++links_ > maxLinks || target.isEmpty())
        return refuse(LinkWalk::Unreadable);
    walk_.followedLink = true;
    if (target.startsWith('/')) {
        done_.clear();
        walk_.folder->reset(openPath(AT_FDCWD, "/"));
        if (!walk_.folder->isOpen())
            return refuse(LinkWalk::Unopenable, errno);
    }
    todo_ = target.split('/') + todo_;
    return true;
}
} // namespace

LinkWalk walkLinks(const QString &path)
{
    return Walk(path).run();
}

} // namespace twinscan
