#include "editing/ExtendedAttributes.h"

#include "engine/FileStamp.h"
#include "engine/SystemCalls.h"

#include <QByteArray>
#include <QByteArrayList>
#include <cerrno>
#include <sys/xattr.h>

namespace twinscan {

namespace {
// Asks for the size first, then for the bytes; another program may make them grow in between.
template<typename Read> bool readWhole(QByteArray &bytes, Read read)
{
    for (int attempt = 0; attempt < 10; ++attempt) {
        const ssize_t size = read(nullptr, 0);
        if (size < 0)
            return false;
        bytes.resize(size);
        if (size == 0) // asked with no room, the call would only give the size again
            return true;
        const ssize_t got = read(bytes.data(), std::size_t(bytes.size()));
        if (got >= 0) {
            bytes.resize(got);
            return true;
        }
        if (errno != ERANGE)
            return false;
    }
    return false;
}

QString lostText(const QByteArrayList &names, int error)
{
    return QStringLiteral("%1 (%2)").arg(QString::fromUtf8(names.join(", ")), systemReason(error));
}
} // namespace

QString copyExtendedAttributes(int from, int to)
{
    QByteArray list;
    if (!readWhole(list, [from](char *b, std::size_t n) { return ::flistxattr(from, b, n); })) {
        // A file system without them has nothing to keep.
        return errno == ENOTSUP ? QString() : systemReason(errno);
    }
    QByteArrayList lost;
    int error = 0;
    for (const QByteArray &name : list.split('\0')) {
        QByteArray value;
        if (name.isEmpty())
            continue;
        const bool kept
            = readWhole(value,
                  [&](char *b, std::size_t n) { return ::fgetxattr(from, name.constData(), b, n); })
            && sys::fsetxattr(to, name.constData(), value.constData(), std::size_t(value.size()), 0)
                == 0;
        // One that went while it was read is no longer the file's.
        if (!kept && errno != ENODATA) {
            lost << name;
            error = errno;
        }
    }
    return lost.isEmpty() ? QString() : lostText(lost, error);
}

} // namespace twinscan
