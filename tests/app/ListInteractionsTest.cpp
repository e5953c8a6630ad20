#include "app/ListInteractions.h"

#include "support/WindowFixture.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QListView>
#include <QMenu>
#include <QMimeData>
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
    // Whether releasing `button` over the first entry brings up the context menu.
    bool menuAfter(Qt::MouseButton button)
    {
        QTest::mouseRelease(ui().List2->viewport(), button, {}, QPoint(5, 5));
        return menuShown();
    }
    bool menuShown() const
    {
        const bool shown = menu().mnuPopup->isVisible();
        menu().mnuPopup->hide();
        return shown;
    }
    // As a drag from another program arrives: the drop goes only where the drag was accepted.
    bool drop(const QList<QUrl> &urls, const QString &text = {})
    {
        QMimeData data;
        data.setUrls(urls);
        data.setText(text);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(ui().lstShow->viewport(), &enter);
        QDropEvent event(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(ui().lstShow->viewport(), &event);
        QApplication::processEvents();
        return enter.isAccepted();
    }
};

TEST_F(ListInteractionsTest, ContextMenuOnlyForARightClickOnListedDuplicatesWhenIdle)
{
    EXPECT_FALSE(menuAfter(Qt::RightButton)) << "nothing scanned yet";
    scan(writeFile("dups.txt", "a\nb\na\n"));
    EXPECT_FALSE(menuAfter(Qt::LeftButton));
    EXPECT_TRUE(menuAfter(Qt::RightButton) && menu().mnuCopyCurrent->isEnabled());
    QTest::keyClick(ui().List2, Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_TRUE(menuShown()) << "Shift+F10";
    module().isBusy = true;
    EXPECT_FALSE(menuAfter(Qt::RightButton)) << "busy";
}

TEST_F(ListInteractionsTest, CopyCommandsKeepOrEmptyTheClipboard)
{
    module().scanOptions.includeEmptyLines = 1;
    scan(writeFile("apples.txt", "Apple\n\nAPPLE\n\n"));
    const auto copy = [&](QAction *command, int current) {
        QGuiApplication::clipboard()->setText("before");
        ui().List2->setCurrentIndex(window->List2Box().index(current));
        command->trigger();
        return QGuiApplication::clipboard()->text();
    };
    EXPECT_EQ(copy(menu().mnuCopySelected, 0), "before") << "nothing marked";
    EXPECT_EQ(copy(menu().mnuCopyCurrent, 1), "APPLE");
    EXPECT_EQ(copy(menu().mnuCopyCurrent, 2), "") << "an empty line";
    EXPECT_EQ(copy(menu().mnuCopyCurrent, -1), "") << "no current entry";
    scan(writeFile("single.txt", "one\ntwo\n"));
    EXPECT_EQ(copy(menu().mnuCopyAll, -1), "before") << "no duplicates";
}

TEST_F(ListInteractionsTest, ClickingAnEntryShowsItsLineUnlessMarkingMovedIt)
{
    std::string lines;
    for (int line = 1; line <= 200; ++line)
        lines += std::to_string(line == 120 ? 10 : line) + "\n";
    scan(writeFile("lines.txt", lines));
    QTest::mouseClick(ui().List2->viewport(), Qt::LeftButton, {},
        ui().List2->visualRect(window->List2Box().index(1)).center());
    EXPECT_EQ(ui().lstShow->currentIndex().row(), 119);
    window->mnuSelAll_Click(); // makes the entry of line 10 current
    EXPECT_EQ(ui().List2->currentIndex().row(), 0);
    EXPECT_EQ(ui().lstShow->currentIndex().row(), 119);
}

TEST_F(ListInteractionsTest, DroppedFilesScanTheFirstAndOtherDropsDoNothing)
{
    const QString first = writeFile("first.txt", "a\na\n");
    const QString second = writeFile("second.txt", "b\nb\n");
    EXPECT_FALSE(drop({}, first)) << "plain text";
    EXPECT_TRUE(drop({QUrl::fromLocalFile(first), QUrl::fromLocalFile(second)}));
    EXPECT_EQ(window->currentFile, first);
    module().isBusy = true;
    EXPECT_FALSE(drop({QUrl::fromLocalFile(second)})) << "busy";
    EXPECT_EQ(window->currentFile, first);
    module().isBusy = false;
}

// From the same start each rule leaves marks that no other rule would, so a command wired to the
// wrong rule is caught. Groups of three: lines g, g + 11000 and g + 22000.
TEST_F(ListInteractionsTest, LargeFilesAreMarkedFromTheMenuOnTheEmulatedList)
{
    std::string lines;
    for (int line = 0; line < 33000; ++line)
        lines += std::to_string(line % 11000) + "\n";
    scan(writeFile("large.txt", lines));
    QTest::mouseClick(ui().List2->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(ui().lstShow->currentIndex().isValid()) << "the placeholder shows no line";
    EXPECT_TRUE(menuAfter(Qt::RightButton) && !menu().mnuCopyCurrent->isEnabled());
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

// The test programs have a copy of the help document beside them, as the program has.
TEST_F(ListInteractionsTest, F1OpensTheHelpDocumentEvenFromAList)
{
    ui().List2->setFocus();
    QTest::keyClick(ui().List2, Qt::Key_F1);
    ASSERT_EQ(fakes.shell.opened.size(), 1u);
    EXPECT_EQ(fakes.shell.opened.front().toLocalFile(),
        QCoreApplication::applicationDirPath() + "/ReadMe.html");
}

// The keys reach their commands from a list that has the focus; a busy window refuses them.
TEST_F(ListInteractionsTest, CtrlOOpensCtrlSSavesCtrlQClosesUnlessBusy)
{
    const auto press
        = [this](Qt::Key key) { QTest::keyClick(ui().List2, key, Qt::ControlModifier); };
    fakes.dialogs.openAnswers = {writeFile("dups.txt", "a\nb\na\n")};
    press(Qt::Key_O);
    ASSERT_EQ(fakes.dialogs.openRequests.size(), 1u);
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
