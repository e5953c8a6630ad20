#include "app/DisplayProbe.h"

#include <QFile>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

namespace twinscan {

bool x11DisplayOpens(const QString &display)
{
    xcb_connection_t *connection = xcb_connect(QFile::encodeName(display).constData(), nullptr);
    const bool opens = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return opens;
}

bool waylandDisplayOpens(const QString &name, const QString &runtimeFolder)
{
    const QString path = name.startsWith(u'/') ? name : runtimeFolder + u'/' + name;
    const QByteArray encoded = QFile::encodeName(path);
    sockaddr_un address {};
    if (!name.startsWith(u'/') && runtimeFolder.isEmpty())
        return false;
    if (std::size_t(encoded.size()) >= sizeof address.sun_path)
        return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, encoded.constData(), std::size_t(encoded.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const bool opens
        = ::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0;
    ::close(fd);
    return opens;
}

} // namespace twinscan
