#include "ui/ShellService.h"

#include <QApplication>
#include <QDesktopServices>

namespace twinscan {

bool QtShellService::openDocument(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}

void QtShellService::alert(QWidget *window)
{
    QApplication::alert(window);
}

} // namespace twinscan
