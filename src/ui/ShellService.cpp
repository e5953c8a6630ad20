#include "ui/ShellService.h"

#include <QDesktopServices>

namespace twinscan {

bool QtShellService::openDocument(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}

} // namespace twinscan
