#include "app/Module.h"
#include "app/frmMain.h"
#include "engine/Clock.h"
#include "ui/MessageBoxService.h"
#include "ui/cCommonDialog.h"

#include <QApplication>

using namespace twinscan;

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QtMessageBoxService messages;
    cCommonDialog dialogs;
    SystemClock clock;
    frmMain window(Services {&messages, &dialogs, &clock});
    window.show();
    return app.exec();
}
