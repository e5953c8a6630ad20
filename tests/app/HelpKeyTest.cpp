#include "support/WindowFixture.h"

#include <QApplication>
#include <QListView>
#include <QTest>

namespace twinscan::test {
namespace {

using HelpKey = WindowFixture;

// The test programs have a copy of the help document beside them, as the program has.
TEST_F(HelpKey, F1OpensTheHelpDocumentEvenFromAListAndOtherKeysDoNothing)
{
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    window->ui().List2->setFocus();

    QTest::keyClick(window->ui().List2, Qt::Key_F2);
    EXPECT_TRUE(fakes.shell.opened.empty());
    QTest::keyClick(window->ui().List2, Qt::Key_F1);
    ASSERT_EQ(fakes.shell.opened.size(), 1u);
    EXPECT_EQ(fakes.shell.opened.front().toLocalFile(),
        QCoreApplication::applicationDirPath() + "/ReadMe.html");
    EXPECT_TRUE(fakes.messages.shown.empty());
}

} // namespace
} // namespace twinscan::test
