#include "ui/MainWindowUi.h"
#include "ui/PictureBox.h"

#include <QAccessible>
#include <QGroupBox>
#include <QListView>
#include <QSet>
#include <QSizeGrip>
#include <QToolButton>
#include <gtest/gtest.h>

namespace twinscan {
namespace {

// A screen reader names each control of the main window, and no two alike.
TEST(MainWindowUi, EveryControlHasAnAccessibleNameOfItsOwn)
{
    QWidget form;
    MainWindowUi ui;
    ui.setupUi(&form);
    QWidget *const controls[] = {ui.frmAction, ui.cmdScan, ui.cmdStop, ui.cmdSave, ui.cmdView,
        ui.cmdSettings, ui.cmdAbout, ui.picProgressbar, ui.frmOrig, ui.lstShow, ui.frmDup, ui.List2,
        ui.picStatusbar, ui.grip};
    QSet<QString> names;
    for (QWidget *control : controls) {
        const QString name
            = QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name).toLower();
        EXPECT_FALSE(name.isEmpty()) << control->objectName().toStdString();
        EXPECT_FALSE(names.contains(name)) << name.toStdString();
        names.insert(name);
    }
}

} // namespace
} // namespace twinscan
