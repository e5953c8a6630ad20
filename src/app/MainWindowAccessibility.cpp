#include "app/MainWindowAccessibility.h"

#include "app/frmMain.h"

#include <QAccessibleWidget>

namespace twinscan {

namespace {

QAccessibleInterface *mainWindowFactory(const QString &className, QObject *object)
{
    auto *window = qobject_cast<frmMain *>(object);
    if (window && className == QLatin1String(frmMain::staticMetaObject.className()))
        return new QAccessibleWidget(window, QAccessible::Window);
    return nullptr;
}

} // namespace

void installMainWindowAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(mainWindowFactory);
        return true;
    }();
    (void)installed;
}

} // namespace twinscan
