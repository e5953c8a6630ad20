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

} // namespace
} // namespace twinscan
