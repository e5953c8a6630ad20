#include "support/WindowFixture.h"
#include "ui/MainWindowUi.h"

#include <QListView>
#include <QTest>

namespace twinscan::test {
namespace {

using CommandKeysTest = WindowFixture;

// The keys reach their commands from a list that has the focus, and a busy window refuses them.
TEST_F(CommandKeysTest, CtrlOOpensCtrlSSavesCtrlQClosesUnlessBusy)
{
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    const auto press
        = [this](Qt::Key key) { QTest::keyClick(window->ui().List2, key, Qt::ControlModifier); };
    fakes.dialogs.openAnswers = {writeFile("dups.txt", "a\nb\na\n")};
    press(Qt::Key_O);
    ASSERT_EQ(fakes.dialogs.openRequests.size(), 1u);
    EXPECT_EQ(list2Texts().size(), 2);
    press(Qt::Key_S); // nothing marked: the save says so
    EXPECT_EQ(fakes.messages.shown.size(), 1u);

    duringRun([] { return module().isBusy; },
        [&] {
            press(Qt::Key_O);
            press(Qt::Key_Q);
        });
    scan(writeFile("busy.txt", "b\nb\n"));
    EXPECT_EQ(fakes.dialogs.openRequests.size(), 2u);
    EXPECT_TRUE(window->isVisible());
    press(Qt::Key_Q);
    EXPECT_FALSE(window->isVisible());
}

} // namespace
} // namespace twinscan::test
