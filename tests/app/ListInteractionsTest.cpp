#include "app/ListInteractions.h"

#include "../engine/EngineTestSupport.h"
#include "support/ItemViewClicks.h"
#include "support/WindowFixture.h"
#include "ui/ScannedTextCheck.h"
#include "windows/frmView.h"

#include <QAction>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <algorithm>
#include <cctype>
#include <tuple>

namespace twinscan::test {
namespace {

// Apple (line 1) and APPLE (line 3) are one group, both shown as Apple; b (lines 2 and 4) the
// other. Entries: [1] Apple, [3] Apple, [2] b, [4] b.
const std::string twoGroups = "Apple\nb\nAPPLE\nb\n";

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
    QModelIndex entry(int row) const { return window->List2Box().index(row); }
    int current(const QAbstractItemView *list) const { return list->currentIndex().row(); }
    // Whether a right click over the first entry brings up the context menu.
    bool menuAfterRightClick()
    {
        QTest::mouseRelease(ui().List2->viewport(), Qt::RightButton, {}, QPoint(5, 5));
        const bool shown = menu().mnuPopup->isVisible();
        menu().mnuPopup->hide();
        return shown;
    }
};

// The entries behave alike in a small file and in a large one that the window lists: the same
// lines, followed by lines of its own without duplicates.
class ListedEntries : public ListInteractionsTest, public ::testing::WithParamInterface<bool>
{
protected:
    void scanLines(const QString &name, const std::string &lines)
    {
        module().showLargeFileLists = GetParam() ? 1 : 0;
        scan(writeFile(name, GetParam() ? largeFile(lines) : lines));
    }
};
INSTANTIATE_TEST_SUITE_P(SmallAndLargeFiles, ListedEntries, ::testing::Bool());

TEST_P(ListedEntries, ContextMenuOnlyOnListedDuplicatesWhenIdle)
{
    EXPECT_FALSE(menuAfterRightClick()) << "nothing scanned yet";
    scanLines("dups.txt", "a\nb\na\n");
    EXPECT_TRUE(menuAfterRightClick());
    module().isBusy = true;
    EXPECT_FALSE(menuAfterRightClick()) << "busy";
}

// Copies take each entry's own line as read, not the text it shows, offered as plain text (not
// only a variant with a charset, which other programs' text checks miss). Without anything to copy
// the clipboard keeps what it held. Each command's message replaces any earlier one, and the focus
// stays in the list.
TEST_P(ListedEntries, CopyCommands)
{
    scanLines("copy.txt", twoGroups);
    const auto ctrlC = [this] { QTest::keyClick(ui().List2, Qt::Key_C, Qt::ControlModifier); };
    const QString one = "1 line copied to the clipboard";
    const struct
    {
        const char *what;
        bool secondMarked;
        int currentEntry;
        std::function<void()> command;
        QString clipboard;
        QString status;
    } cases[] = {
        {"all", true, 0, [this] { menu().mnuCopyAll->trigger(); }, "Apple\r\nAPPLE\r\nb\r\nb\r\n",
            "4 lines copied to the clipboard"},
        {"selected", true, 0, [this] { menu().mnuCopySelected->trigger(); }, "APPLE\r\n", one},
        {"none marked", false, 0, [this] { menu().mnuCopySelected->trigger(); }, "before", ""},
        {"current", false, 1, [this] { menu().mnuCopyCurrent->trigger(); }, "APPLE", ""},
        {"no current entry", false, -1, [this] { menu().mnuCopyCurrent->trigger(); }, "before", ""},
        {"Ctrl+C, marked", true, 3, ctrlC, "APPLE\r\n", one},
        {"Ctrl+C, none marked", false, 3, ctrlC, "b", ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        window->session()->setEntryMarked(1, c.secondMarked);
        ui().List2->setCurrentIndex(c.currentEntry < 0 ? QModelIndex() : entry(c.currentEntry));
        ui().List2->setFocus();
        QGuiApplication::clipboard()->setText("before");
        window->setStatusText("Error: Can't Open File");
        c.command();
        EXPECT_EQ(QGuiApplication::clipboard()->text(), c.clipboard);
        const QMimeData *offered = QGuiApplication::clipboard()->mimeData();
        EXPECT_TRUE(offered && offered->hasText());
        EXPECT_EQ(status(), c.status);
        EXPECT_TRUE(ui().List2->hasFocus());
    }
}

// Once another program rewrote the scanned file in place or cut it short, every copy command and
// the viewer refuse with a message box and the clipboard keeps what it held; the lists, painted
// again, show no new bytes and say why; only a new scan makes Save and View available again.
TEST_P(ListedEntries, AFileChangedSinceTheScanIsNeitherCopiedNorShown)
{
    const auto ctrlC = [this] { QTest::keyClick(ui().List2, Qt::Key_C, Qt::ControlModifier); };
    const QString copying = changedSinceScanText(ChangedTextUse::Copied);
    const std::tuple<const char *, std::function<void()>, QString> commands[] = {
        {"all", [this] { menu().mnuCopyAll->trigger(); }, copying},
        {"selected", [this] { menu().mnuCopySelected->trigger(); }, copying},
        {"current", [this] { menu().mnuCopyCurrent->trigger(); }, copying},
        {"Ctrl+C", ctrlC, copying},
        {"view", [this] { window->cmdView_Click(); }, changedSinceScanText(ChangedTextUse::Viewed)},
    };
    for (const bool cut : {false, true}) {
        for (const auto &[what, command, refusal] : commands) {
            SCOPED_TRACE(std::string(what) + (cut ? ", cut short" : ", rewritten"));
            scanLines("changed.txt", twoGroups);
            window->session()->setEntryMarked(1, true);
            ui().List2->setCurrentIndex(entry(1));
            std::string now = readFile(path("changed.txt"));
            std::transform(now.begin(), now.end(), now.begin(), ::toupper);
            overwriteInPlace(path("changed.txt"), cut ? now.substr(0, 3) : now);
            QGuiApplication::clipboard()->setText("before");
            fakes.messages.shown = 0;
            command();
            ui().List2->viewport()->repaint(); // says nothing more
            EXPECT_EQ(QGuiApplication::clipboard()->text(), "before");
            EXPECT_EQ(status(), refusal);
            EXPECT_EQ(fakes.messages.shown, 1);
            EXPECT_FALSE(window->saveEnabled() || window->viewEnabled());
            EXPECT_EQ(window->List2Box().data(entry(0), Qt::DisplayRole).toString(), "[1]\t");
        }
        scanLines("changed.txt", twoGroups);
        overwriteInPlace(path("changed.txt"), cut ? "Ap" : "APPLE\nB\nAPPLE\nB\n");
        ui().lstShow->viewport()->repaint();
        EXPECT_EQ(status(), changedSinceScanText(ChangedTextUse::Shown)) << "painted";
        EXPECT_EQ(window->lstShowBox().data(window->lstShowBox().index(0), Qt::DisplayRole), "");
        EXPECT_FALSE(window->saveEnabled() || window->viewEnabled());
    }
    // Cut short while the copy reads the lines.
    scanLines("changed.txt", twoGroups);
    QGuiApplication::clipboard()->setText("before");
    duringRun([this] { return status().startsWith("Copying to the clipboard..."); },
        [this] { overwriteInPlace(path("changed.txt"), "A"); });
    menu().mnuCopyAll->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "before");
    EXPECT_EQ(status(), copying);
}

// While a copy runs, Stop is offered, the check boxes are held and no other copy starts; a
// confirmed stop leaves the clipboard as it was. Save and View come back as they were.
TEST_F(ListInteractionsTest, AStoppedCopyLeavesTheClipboard)
{
    scan(writeFile("stop.txt", twoGroups));
    for (const MessageAnswer answer : {MessageAnswer::Yes, MessageAnswer::No}) {
        SCOPED_TRACE(int(answer));
        QGuiApplication::clipboard()->setText("before");
        ui().List2->setCurrentIndex(entry(1));
        bool held = false;
        duringRun([this] { return status().startsWith("Copying to the clipboard..."); },
            [&] {
                held = !ui().cmdStop->isHidden()
                    && !(window->List2Box().flags(entry(0)) & Qt::ItemIsUserCheckable);
                menu().mnuCopyAll->trigger();
                QTest::keyClick(ui().List2, Qt::Key_C, Qt::ControlModifier);
                window->cmdStop_Click();
            });
        fakes.messages.answers = {answer};
        menu().mnuCopyAll->trigger();
        const bool stopped = answer == MessageAnswer::Yes;
        EXPECT_TRUE(held);
        EXPECT_EQ(QGuiApplication::clipboard()->text(),
            stopped ? "before" : "Apple\r\nAPPLE\r\nb\r\nb\r\n");
        EXPECT_EQ(
            status(), stopped ? "Stopped: nothing was copied." : "4 lines copied to the clipboard");
        EXPECT_TRUE(window->List2Box().flags(entry(0)) & Qt::ItemIsUserCheckable);
        EXPECT_TRUE(window->saveEnabled() && window->viewEnabled());
    }
}

// A click on an entry, on its text or its check box, makes it current and shows its line; Space
// toggles the current entry's check.
TEST_P(ListedEntries, AClickOnAnEntryShowsItsLine)
{
    scanLines("click.txt", twoGroups);
    const struct
    {
        int entry;
        bool onCheckBox;
        int line;
        const char *place; // the message panel's text
    } cases[] = {{1, false, 2, "Line 3 \u00B7 duplicate 2 of 2"},
        {3, true, 3, "Line 4 \u00B7 duplicate 2 of 2"},
        {2, true, 1, "Line 2 \u00B7 duplicate 1 of 2"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.entry);
        clickRow(*ui().List2, entry(c.entry), c.onCheckBox);
        EXPECT_EQ(current(ui().List2), c.entry);
        EXPECT_EQ(current(ui().lstShow), c.line);
        EXPECT_EQ(window->session()->isEntryMarked(c.entry), c.onCheckBox);
        EXPECT_EQ(status(), QString::fromUtf8(c.place));
    }
    QTest::keyClick(ui().List2, Qt::Key_Space); // unchecks the current entry, as its box would
    EXPECT_FALSE(window->session()->isEntryMarked(2));
}

// A check on the second occurrence of a line marks that occurrence's entry. Closing the viewer
// shows the first entry's line, also when that entry was current already, and the marked count.
TEST_P(ListedEntries, ViewerChecksMarkTheirEntries)
{
    scanLines("file.txt", "a\nb\na\nc\na\n");
    ui().List2->setCurrentIndex(entry(0));
    ui().lstShow->setCurrentIndex(window->lstShowBox().index(3));
    bool seen = false;
    QTimer::singleShot(0, window.get(), [&] {
        auto *viewer = static_cast<frmView *>(QApplication::activeModalWidget());
        ASSERT_NE(viewer, nullptr);
        seen = QTest::qWaitFor([&] { return viewer->viewerFilled(); });
        QAbstractItemModel *rows
            = viewer->findChild<QAbstractItemView *>(QStringLiteral("lw"))->model();
        rows->setData(rows->index(2, 0), Qt::Checked, Qt::CheckStateRole);
        viewer->close();
    });
    ui().cmdView->click();
    EXPECT_TRUE(seen);
    EXPECT_FALSE(window->session()->isEntryMarked(0));
    EXPECT_TRUE(window->session()->isEntryMarked(1));
    EXPECT_EQ(current(ui().lstShow), 0);
    EXPECT_EQ(status(), "1 line marked for removal");
}

// Each rule repaints the check boxes whose marks it changed and says how many lines are marked;
// the first entry becomes current without moving the source list.
// From the same start each rule leaves marks that no other rule would, so a command wired to the
// wrong rule is caught too.
TEST_P(ListedEntries, MarkingRulesRepaintTheCheckBoxes)
{
    scanLines("rules.txt", "a\na\na\nb\nb\n");
    const std::tuple<QAction *, QString, QString> steps[]
        = {{menu().mnuSelAllButFirst, "01101", "3 lines marked for removal"},
            {menu().mnuSelAll, "11111", "5 lines marked for removal"},
            {menu().mnuSelAllButLast, "11010", "3 lines marked for removal"},
            {menu().mnuInvert, "00101", "2 lines marked for removal"},
            {menu().mnuUnsel, "00000", "0 lines marked for removal"}};
    QAbstractItemModel &rows = window->List2Box();
    QString before = "00000";
    for (const auto &[command, after, message] : steps) {
        SCOPED_TRACE(command->objectName().toStdString());
        QSignalSpy changed(&rows, &QAbstractItemModel::dataChanged);
        window->setStatusText("Done! (Processing time: 0:00)");
        ui().List2->setCurrentIndex(entry(3));
        command->trigger();
        EXPECT_EQ(current(ui().List2), 0);
        EXPECT_EQ(current(ui().lstShow), 3);
        // What a view shows that repaints only the rows it is told of.
        QString shown, painted = before;
        for (int row = 0; row < 5; ++row)
            shown += rows.index(row, 0).data(Qt::CheckStateRole) == Qt::Checked ? u'1' : u'0';
        for (const QList<QVariant> &s : changed) {
            for (int row = s[0].toModelIndex().row(); row <= s[1].toModelIndex().row(); ++row)
                painted[row] = shown[row];
        }
        EXPECT_EQ(shown, after);
        EXPECT_EQ(painted, after);
        EXPECT_EQ(status(), message);
        before = after;
    }
}

TEST(CountedLines, TheCountIsGroupedByThousands)
{
    EXPECT_EQ(countedLines(1235, "1 line", "%1 lines"), "1,235 lines");
}

// Only the first of a list of files is scanned, and nothing while a job runs.
TEST_F(ListInteractionsTest, ADroppedFileIsScanned)
{
    const QString first = writeFile("first.txt", "d\nd\n");
    const QUrl firstUrl = QUrl::fromLocalFile(first);
    const QUrl second = QUrl::fromLocalFile(writeFile("second.txt", "e\ne\ne\n"));
    const struct
    {
        const char *what;
        QList<QUrl> files;
        bool busy;
        QString scanned;
    } cases[] = {{"plain text", {}, false, ""}, {"while busy", {firstUrl}, true, ""},
        {"two files", {firstUrl, second}, false, first}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        QMimeData data;
        data.setText("text");
        data.setUrls(c.files);
        module().isBusy = c.busy;
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(ui().lstShow->viewport(), &enter);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(ui().lstShow->viewport(), &drop);
        QApplication::processEvents();
        module().isBusy = false;
        EXPECT_EQ(drop.isAccepted(), !c.scanned.isEmpty());
        EXPECT_EQ(window->session() ? window->session()->scannedFile() : QString(), c.scanned);
    }
}

// The standard keys work wherever the focus is in the window; F1 opens the help document.
TEST_F(ListInteractionsTest, CommandKeys)
{
    scan(writeFile("keys.txt", "k\nk\n"));
    const struct
    {
        QKeyCombination key;
        std::function<bool()> done;
    } cases[] = {
        {Qt::CTRL | Qt::Key_O, [this] { return fakes.dialogs.openAnswers.empty(); }},
        {Qt::CTRL | Qt::Key_S, [this] { return fakes.messages.shown == 1; }}, // nothing marked
        {Qt::Key_F1, [this] { return fakes.shell.opened == QStringList {"ReadMe.html"}; }},
        {Qt::CTRL | Qt::Key_Q, [this] { return !window->isVisible(); }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(QKeySequence(c.key).toString().toStdString());
        fakes.dialogs.openAnswers = {""};
        QTest::keyClick(ui().List2, c.key.key(), c.key.keyboardModifiers());
        EXPECT_TRUE(c.done());
    }
}

} // namespace
} // namespace twinscan::test
