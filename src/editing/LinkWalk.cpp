#include "editing/LinkWalk.h"

#include <QByteArrayList>
#include <QFile>
#include <QFileInfo>
#include <climits>
#include <sys/stat.h>
#include <unistd.h>

namespace twinscan {

namespace {
constexpr int maxLinks = 40; // as the kernel allows

bool mayFollow(const QByteArray &folder, const struct stat &link)
{
    struct stat st
    {
    };
    if (::stat(folder.isEmpty() ? "/" : folder.constData(), &st) != 0)
        return false;
    const bool shared = (st.st_mode & (S_ISVTX | S_IWOTH)) == (S_ISVTX | S_IWOTH);
    return !shared || link.st_uid == ::geteuid() || link.st_uid == st.st_uid;
}

// Empty when it cannot be read, say when it went between two looks.
QByteArray linkTarget(const QByteArray &link)
{
    char target[PATH_MAX];
    const ssize_t got = ::readlink(link.constData(), target, sizeof target);
    return got > 0 && got < ssize_t(sizeof target) ? QByteArray(target, got) : QByteArray();
}
} // namespace

LinkWalk walkLinks(const QString &path)
{
    LinkWalk walk;
    QByteArray done; // the folders so far, all of them no links; empty for the root
    QByteArrayList todo = QFile::encodeName(QFileInfo(path).absoluteFilePath()).split('/');
    for (int links = 0; !todo.isEmpty();) {
        const QByteArray part = todo.takeFirst();
        if (part.isEmpty() || part == ".")
            continue;
        if (part == "..") {
            done.truncate(std::max<qsizetype>(done.lastIndexOf('/'), 0));
            continue;
        }
        const QByteArray next = done + '/' + part;
        struct stat st
        {
        };
        if (::lstat(next.constData(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            done = next;
            continue;
        }
        if (!mayFollow(done, st)) {
            walk.refused = LinkWalk::PlantedLink;
            return walk;
        }
        const QByteArray target = linkTarget(next);
        if (++links > maxLinks || target.isEmpty()) {
            walk.refused = LinkWalk::Unreadable;
            return walk;
        }
        walk.followedLink = true;
        if (target.startsWith('/'))
            done.clear();
        todo = target.split('/') + todo;
    }
    walk.path = QFile::decodeName(done.isEmpty() ? QByteArray("/") : done);
    return walk;
}

} // namespace twinscan
