#include "ui/MainWindowUi.h"

#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace twinscan {
namespace {

// Enter presses Open, Esc presses Stop!, each only while it is shown.
TEST(MainWindowUi, EnterAndEscPressTheDefaultAndCancelButtons)
{
    QWidget form;
    MainWindowUi ui;
    ui.setupUi(&form);
    form.show();
    QSignalSpy opened(ui.cmdScan, &QToolButton::clicked);
    QSignalSpy stopped(ui.cmdStop, &QToolButton::clicked);
    QTest::keyClick(&form, Qt::Key_Escape);
    QTest::keyClick(&form, Qt::Key_Return);
    ui.cmdScan->hide();
    ui.cmdStop->show();
    QTest::keyClick(&form, Qt::Key_Return);
    QTest::keyClick(&form, Qt::Key_Escape);
    EXPECT_EQ(opened.count(), 1);
    EXPECT_EQ(stopped.count(), 1);
}

// Tab walks the action column from the top, then the source list, then the duplicates list.
TEST(MainWindowUi, TabOrder)
{
    QWidget form;
    MainWindowUi ui;
    ui.setupUi(&form);
    QStringList order;
    for (QWidget *w = ui.cmdScan; order.size() < 8; w = w->nextInFocusChain()) {
        if (w->focusPolicy() & Qt::TabFocus)
            order << w->objectName();
    }
    EXPECT_EQ(order.join(u' ').toStdString(),
        "cmdScan cmdStop cmdSave cmdView cmdSettings cmdAbout lstShow List2");
}

} // namespace
} // namespace twinscan
