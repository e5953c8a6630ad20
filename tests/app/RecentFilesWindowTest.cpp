#include "app/ScanSession.h"
#include "support/WindowFixture.h"

#include <QContextMenuEvent>
#include <QDir>
#include <QMenu>

namespace twinscan::test {
namespace {

using namespace Qt::StringLiterals;

class RecentFilesWindow : public WindowFixture
{
protected:
    // The Open button's menu as a right click opens it, its entries' texts.
    QMenu *openMenu()
    {
        const QPoint at(5, 5);
        QContextMenuEvent click(QContextMenuEvent::Mouse, at, ui().cmdScan->mapToGlobal(at));
        QApplication::sendEvent(ui().cmdScan, &click);
        auto *menu = window->findChild<QMenu *>(u"mnuRecentFiles"_s);
        EXPECT_TRUE(menu && menu->isVisible());
        return menu;
    }
    static QStringList entries(const QMenu &menu)
    {
        QStringList texts;
        for (const QAction *action : menu.actions())
            texts << (action->isEnabled() ? u""_s : u"(disabled) "_s) + action->text();
        return texts;
    }
    // Clicks the entry as the user would; the choice runs once the menu has closed.
    static void choose(QMenu &menu, int entry)
    {
        QTest::mouseClick(
            &menu, Qt::LeftButton, {}, menu.actionGeometry(menu.actions().at(entry)).center());
        QCoreApplication::processEvents();
        EXPECT_FALSE(menu.isVisible());
    }
    QString shown(const QString &name) const { return QDir::toNativeSeparators(path(name)); }
};

// The files opened and saved in the window go on the desktop's list, the opened ones on the menu;
// a file that could not be read counts as neither, nor does the rescan after a save in place.
TEST_F(RecentFilesWindow, OpenedAndSavedFilesAreRecorded)
{
    writeFile("empty.txt", "");
    scan(path("empty.txt"));
    scan(writeFile("a.txt", "x\nx\n"));
    window->List2Box().setData(window->List2Box().index(1), Qt::Checked, Qt::CheckStateRole);
    fakes.dialogs.saveAnswers.push_back(path("out.txt"));
    ASSERT_EQ(window->save(), SaveEnding::Done);
    fakes.dialogs.saveAnswers.push_back(u"/dev/null"_s); // no document to open again
    ASSERT_EQ(window->save(), SaveEnding::Done);
    window->scanDropped(writeFile("b.txt", "y\n"));
    fakes.dialogs.saveAnswers.push_back(path("a.txt"));
    scan(path("a.txt"));
    window->List2Box().setData(window->List2Box().index(1), Qt::Checked, Qt::CheckStateRole);
    ASSERT_EQ(window->save(), SaveEnding::Done); // replaces a.txt and shows it again
    EXPECT_EQ(fakes.recentlyUsed.recorded,
        QStringList({path("a.txt"), path("out.txt"), path("b.txt"), path("a.txt"), path("a.txt")}));
    EXPECT_EQ(module().recentFiles, QStringList({path("a.txt"), path("b.txt")}));

    // A name given on the command line is relative to where Twinscan started.
    const QString before = QDir::currentPath();
    QDir::setCurrent(dir.path());
    window->scanFile(u"./b.txt"_s);
    QDir::setCurrent(before);
    EXPECT_EQ(module().recentFiles, QStringList({path("b.txt"), path("a.txt")}));
}

// An unattended job is nobody's recent work.
TEST_F(RecentFilesWindow, AJobRecordsNothing)
{
    module().batchMode = true;
    module().request.inputFile = writeFile("in.txt", "a\na\n");
    module().request.outputFile = path("out.txt");
    module().request.markRule = u"2"_s;
    EXPECT_EQ(window->scan(), ScanEnding::FoundDuplicates);
    window->markBy(MarkRule::AllButFirst);
    EXPECT_EQ(window->save(), SaveEnding::Done);
    EXPECT_TRUE(fakes.recentlyUsed.recorded.isEmpty());
    EXPECT_TRUE(module().recentFiles.isEmpty());
}

// The menu offers the files most recent first; an entry scans its file as Open does, and a file
// gone since is taken off with a message, the window as it was.
TEST_F(RecentFilesWindow, TheOpenButtonsMenu)
{
    EXPECT_EQ(entries(*openMenu()), QStringList {u"(disabled) No recent files"_s});
    openMenu()->hide();

    scan(writeFile("a.txt", "1\n1\n"));
    scan(writeFile("R&D.txt", "2\n2\n"));
    scan(writeFile("gone.txt", "3\n3\n"));
    QFile::remove(path("gone.txt"));
    QMenu *menu = openMenu();
    EXPECT_EQ(entries(*menu),
        QStringList({u"&1  "_s + shown("gone.txt"), u"&2  "_s + shown("R&&D.txt"),
            u"&3  "_s + shown("a.txt")}));
    choose(*menu, 2);
    ASSERT_TRUE(window->session());
    EXPECT_EQ(window->session()->scannedFile(), path("a.txt"));
    EXPECT_EQ(status().left(13), u"Scanned 2 Lin"_s);
    EXPECT_EQ(
        module().recentFiles, QStringList({path("a.txt"), path("gone.txt"), path("R&D.txt")}));

    choose(*openMenu(), 1);
    EXPECT_EQ(fakes.messages.shown, 1);
    EXPECT_EQ(fakes.messages.lastText,
        shown("gone.txt") + u" no longer exists and was removed from the recent files."_s);
    EXPECT_EQ(module().recentFiles, QStringList({path("a.txt"), path("R&D.txt")}));
    EXPECT_EQ(window->session()->scannedFile(), path("a.txt"));
    EXPECT_TRUE(ui().cmdScan->isEnabled() && !ui().cmdScan->isHidden());
    EXPECT_EQ(entries(*openMenu()),
        QStringList({u"&1  "_s + shown("a.txt"), u"&2  "_s + shown("R&&D.txt")}));
}

} // namespace
} // namespace twinscan::test
