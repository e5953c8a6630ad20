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
#include <functional>
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
    // Opens the viewer, checks its rows `rows` and closes it; false when it never filled.
    bool checkInViewer(const std::vector<int> &rows)
    {
        bool seen = false;
        QTimer::singleShot(0, window.get(), [&] {
            auto *viewer = static_cast<frmView *>(QApplication::activeModalWidget());
            ASSERT_NE(viewer, nullptr);
            seen = QTest::qWaitFor([&] { return viewer->viewerFilled(); });
            QAbstractItemModel *lines
                = viewer->findChild<QAbstractItemView *>(QStringLiteral("lw"))->model();
            for (const int row : rows)
                lines->setData(lines->index(row, 0), Qt::Checked, Qt::CheckStateRole);
            viewer->close();
        });
        ui().cmdView->click();
        return seen;
    }
    // The marks of the first `count` entries, one digit each, as a view that repaints only the
    // rows it is told of shows them after `step`, which starts from `before`.
    QString marksPaintedBy(const std::function<void()> &step, QString before)
    {
        QAbstractItemModel &rows = window->List2Box();
        QSignalSpy changed(&rows, &QAbstractItemModel::dataChanged);
        step();
        for (const QList<QVariant> &s : changed) {
            for (int row = s[0].toModelIndex().row();
                 row <= std::min(s[1].toModelIndex().row(), int(before.size()) - 1); ++row)
                before[row]
                    = rows.index(row, 0).data(Qt::CheckStateRole) == Qt::Checked ? u'1' : u'0';
        }
        return before;
    }
    QString marks(int count) const
    {
        QString shown;
        for (int row = 0; row < count; ++row)
            shown += window->session()->isEntryMarked(row) ? u'1' : u'0';
        return shown;
    }
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
    EXPECT_TRUE(checkInViewer({2}));
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
    QString before = "00000";
    for (const auto &[command, after, message] : steps) {
        SCOPED_TRACE(command->objectName().toStdString());
        window->setStatusText("Done! (Processing time: 0:00)");
        ui().List2->setCurrentIndex(entry(3));
        QAction *rule = command; // clang 14 cannot capture a structured binding
        EXPECT_EQ(marksPaintedBy([rule] { rule->trigger(); }, before), after);
        EXPECT_EQ(marks(5), after);
        EXPECT_EQ(current(ui().List2), 0);
        EXPECT_EQ(current(ui().lstShow), 3);
        EXPECT_EQ(status(), message);
        before = after;
    }
}

// Undo takes back the last marking step, whatever took it (a check box, a rule, the viewer's
// checks), and Redo takes it again, each repainting what it changed and saying how many lines are
// marked. A new step drops what could have been redone; a new scan forgets every step.
TEST_P(ListedEntries, UndoAndRedoTheMarkingSteps)
{
    scanLines("undo.txt", "a\na\na\nb\nb\n");
    const auto click
        = [this](int row) { return [this, row] { clickRow(*ui().List2, entry(row), true); }; };
    const auto rule = [](QAction *command) { return [command] { command->trigger(); }; };
    const std::pair<std::function<void()>, QString> steps[] = {
        {click(1), "01000"},
        {rule(menu().mnuSelAllButFirst), "01101"},
        {rule(menu().mnuInvert), "10010"},
        {click(0), "00010"},
        {[this] {
             EXPECT_TRUE(checkInViewer({0, 4}));
         },
            "10011"},
        {rule(menu().mnuSelAll), "11111"},
        {rule(menu().mnuUnsel), "00000"},
        {rule(menu().mnuSelAllButLast), "11010"},
    };
    EXPECT_FALSE(ui().actUndo->isEnabled()) << "nothing done yet";
    std::vector<QString> states {"00000"};
    for (const auto &[step, after] : steps) {
        step();
        ASSERT_EQ(marks(5), after);
        states.push_back(after);
    }
    EXPECT_FALSE(ui().actRedo->isEnabled());
    const auto marked = [](const QString &state) {
        return countedLines(
            int(state.count(u'1')), "1 line marked for removal", "%1 lines marked for removal");
    };
    for (std::size_t i = states.size() - 1; i > 0; --i) {
        SCOPED_TRACE(testing::Message() << "undo step " << i);
        EXPECT_TRUE(ui().actUndo->isEnabled());
        EXPECT_EQ(marksPaintedBy([this] { ui().actUndo->trigger(); }, states[i]), states[i - 1]);
        EXPECT_EQ(marks(5), states[i - 1]);
        EXPECT_EQ(status(), marked(states[i - 1]));
    }
    EXPECT_FALSE(ui().actUndo->isEnabled()) << "every step undone";
    for (std::size_t i = 1; i < states.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "redo step " << i);
        EXPECT_TRUE(ui().actRedo->isEnabled());
        EXPECT_EQ(marksPaintedBy([this] { ui().actRedo->trigger(); }, states[i - 1]), states[i]);
        EXPECT_EQ(status(), marked(states[i]));
    }
    ui().actUndo->trigger();
    ui().actUndo->trigger();
    ASSERT_EQ(marks(5), "11111");
    menu().mnuInvert->trigger();
    EXPECT_FALSE(ui().actRedo->isEnabled()) << "a new step drops the redo";
    ui().actRedo->trigger();
    EXPECT_EQ(marks(5), "00000");
    ui().actUndo->trigger();
    EXPECT_EQ(marks(5), "11111");
    ui().actUndo->trigger();
    EXPECT_EQ(marks(5), "10011") << "the step before the undone ones";
    {
        BusyScope busy(window->jobs()); // a save reads the marks
        busy.showBusy();
        EXPECT_FALSE(ui().actUndo->isEnabled()) << "busy";
        window->markHistory().undo();
        EXPECT_EQ(marks(5), "10011") << "busy";
    }
    EXPECT_TRUE(ui().actUndo->isEnabled());
    scanLines("undo.txt", "a\na\na\nb\nb\n");
    EXPECT_FALSE(ui().actUndo->isEnabled()) << "a new scan";
    menu().mnuUnsel->trigger();
    EXPECT_FALSE(ui().actUndo->isEnabled()) << "a step that changed nothing";
    for (int step = 0; step <= MarkHistory::stepsKept; ++step)
        menu().mnuInvert->trigger();
    for (int step = 0; step <= MarkHistory::stepsKept; ++step)
        ui().actUndo->trigger();
    EXPECT_EQ(marks(5), "11111") << "the oldest step is forgotten";
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

// The standard keys work wherever the focus is in the window; F1 opens the help document, Ctrl+Z
// undoes a marking step and Ctrl+Shift+Z redoes it.
TEST_F(ListInteractionsTest, CommandKeys)
{
    scan(writeFile("keys.txt", "k\nk\n"));
    const struct
    {
        QKeyCombination key;
        std::function<bool()> done;
        std::function<void()> first = [] {};
    } cases[] = {
        {Qt::CTRL | Qt::Key_O, [this] { return fakes.dialogs.openAnswers.empty(); }},
        {Qt::CTRL | Qt::Key_S, [this] { return fakes.messages.shown == 1; }}, // nothing marked
        {Qt::Key_F1, [this] { return fakes.shell.opened == QStringList {"ReadMe.html"}; }},
        {Qt::CTRL | Qt::Key_Z, [this] { return window->session()->markedCount() == 0; },
            [this] { window->interactions().menu().mnuSelAll->trigger(); }},
        {Qt::CTRL | Qt::SHIFT | Qt::Key_Z,
            [this] { return window->session()->markedCount() == 2; }},
        {Qt::CTRL | Qt::Key_Q, [this] { return !window->isVisible(); }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(QKeySequence(c.key).toString().toStdString());
        fakes.dialogs.openAnswers = {""};
        c.first();
        QTest::keyClick(ui().List2, c.key.key(), c.key.keyboardModifiers());
        EXPECT_TRUE(c.done());
    }
}

} // namespace
} // namespace twinscan::test
