#include "app/ListInteractions.h"

#include "support/WindowFixture.h"

#include <QAction>
#include <QListView>
#include <QMenu>
#include <QTest>

namespace twinscan::test {
namespace {

class ListInteractionsTest : public WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    const DuplicatesMenu &menu() const { return window->interactions().menu(); }
    // Whether a right click over the first entry brings up the context menu.
    bool menuAfterRightClick()
    {
        QTest::mouseRelease(ui().List2->viewport(), Qt::RightButton, {}, QPoint(5, 5));
        const bool shown = menu().mnuPopup->isVisible();
        menu().mnuPopup->hide();
        return shown;
    }
};

TEST_F(ListInteractionsTest, ContextMenuOnlyOnListedDuplicatesWhenIdle)
{
    EXPECT_FALSE(menuAfterRightClick()) << "nothing scanned yet";
    scan(writeFile("dups.txt", "a\nb\na\n"));
    EXPECT_TRUE(menuAfterRightClick());
    module().isBusy = true;
    EXPECT_FALSE(menuAfterRightClick()) << "busy";
}

// From the same start each rule leaves marks that no other rule would, so a command wired to the
// wrong rule is caught. Groups of three: lines g, g + 11000 and g + 22000.
TEST_F(ListInteractionsTest, LargeFilesAreMarkedFromTheMenuOnTheEmulatedList)
{
    std::string lines;
    for (int line = 0; line < 33000; ++line)
        lines += std::to_string(line % 11000) + "\n";
    scan(writeFile("large.txt", lines));
    const std::pair<QAction *, QString> steps[]
        = {{menu().mnuSelAllButFirst, "011"}, {menu().mnuSelAll, "111"},
            {menu().mnuSelAllButLast, "110"}, {menu().mnuInvert, "001"}, {menu().mnuUnsel, "000"}};
    const LineList &list = *window->session()->lists().List2;
    for (const auto &[command, group] : steps) {
        command->trigger();
        QString marks;
        for (int i = 0; i < list.ListCount(); ++i)
            marks += list.Selected(i) ? u'1' : u'0';
        EXPECT_EQ(marks, group.repeated(11000)) << command->objectName().toStdString();
    }
}

} // namespace
} // namespace twinscan::test
