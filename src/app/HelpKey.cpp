#include "app/HelpKey.h"

#include "app/Module.h"
#include "app/frmMain.h"
#include "ui/HelpDocument.h"

#include <QShortcut>

namespace twinscan {

void installHelpKey(frmMain &window)
{
    auto *key = new QShortcut(QKeySequence(Qt::Key_F1), &window);
    QObject::connect(key, &QShortcut::activated, &window, [&window] {
        const Services &services = window.services();
        openHelpDocument(&window, *services.shell, *services.messages, module().appTitle);
    });
}

} // namespace twinscan
