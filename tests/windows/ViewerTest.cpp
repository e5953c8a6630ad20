#include "../engine/EngineTestSupport.h"
#include "support/ItemViewClicks.h"
#include "ui/ScannedTextCheck.h"
#include "ui/UniformRowView.h"
#include "ui/WindowPlacement.h"
#include "windows/ViewerSource.h"
#include "windows/frmView.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QCheckBox>
#include <QInputDialog>
#include <QLabel>
#include <QPalette>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <utility>

namespace twinscan::test {
namespace {

// Lines "zero" to "five"; lines 0 and 3 are one group, lines 2 and 5 another (entries 0, 1 and 2,
// 3); line 2 is marked in the main window.
struct FakeFile final : ViewerSource
{
    explicit FakeFile(std::string_view bytes = "zero\none\ntwo\nthree\nfour\nfive\n")
        : lines(LoadedText::fromBytes(bytes))
    {
    }
    const std::shared_ptr<const LoadedText> &text() const override { return lines; }
    int entryOfLine(int line) const override
    {
        const auto entry = std::find(entryLines.begin(), entryLines.end(), line);
        return entry == entryLines.end() ? -1 : int(entry - entryLines.begin());
    }
    bool isMarked(int line) const override { return marked[std::size_t(line)]; }
    int entryCount() const override { return int(entryLines.size()); }
    int lineOfEntry(int entry) const override { return entryLines[std::size_t(entry)]; }
    EntryGroup groupOfEntry(int entry) const override { return {entry / 2 * 2, 2}; }
    bool isEntryMarked(int entry) const override { return isMarked(lineOfEntry(entry)); }
    void markEntry(int entry) override { marked[std::size_t(lineOfEntry(entry))] = true; }
    void marksChanged() override { ++notices; }

    std::shared_ptr<const LoadedText> lines;
    std::vector<bool> marked {false, false, true, false, false, false};
    std::vector<int> entryLines {0, 3, 2, 5};
    int notices = 0;
};

const std::vector<bool> redLines {1, 0, 1, 1, 0, 1};

void check(ViewerModel &model, int row, bool on)
{
    model.setData(model.index(row), on ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole);
}

// Duplicate lines are red. Checks start as the marks; a row without an entry takes no check;
// closing marks the checked rows and leaves every other mark as it was, then tells the main window
// once.
TEST(ViewerModel, ChecksOnlyRedRowsAndCarriesOnlyChecksBack)
{
    using Act = std::function<void(ViewerModel &)>;
    const std::tuple<const char *, Act, std::vector<bool>, std::vector<bool>> cases[] = {
        {"three red rows",
            [](ViewerModel &m) { check(m, 0, true), check(m, 3, true), check(m, 5, true); },
            {1, 0, 1, 1, 0, 1}, {1, 0, 1, 1, 0, 1}},
        {"plain rows", [](ViewerModel &m) { check(m, 1, true), m.toggle(4); }, {0, 0, 1, 0, 0, 0},
            {0, 0, 1, 0, 0, 0}},
        {"double click on a marked row", [](ViewerModel &m) { m.toggle(2); }, {0, 0, 0, 0, 0, 0},
            {0, 0, 1, 0, 0, 0}},
        {"checked here, then unchecked", [](ViewerModel &m) { m.toggle(3), check(m, 3, false); },
            {0, 0, 1, 0, 0, 0}, {0, 0, 1, 0, 0, 0}},
    };
    for (const auto &[name, act, checks, marks] : cases) {
        FakeFile file;
        ViewerModel model(file);
        QAbstractItemModelTester tester(
            &model, QAbstractItemModelTester::FailureReportingMode::Fatal);
        act(model);
        std::vector<bool> shown, red;
        for (int row = 0; row < model.rowCount(); ++row) {
            shown.push_back(model.data(model.index(row), Qt::CheckStateRole) == Qt::Checked);
            red.push_back(model.data(model.index(row), Qt::ForegroundRole) == QColor(255, 0, 0));
        }
        EXPECT_EQ(shown, checks) << name;
        EXPECT_EQ(red, redLines) << name;
        model.carryBack();
        EXPECT_EQ(file.marked, marks) << name;
        EXPECT_EQ(file.notices, marks != FakeFile().marked ? 1 : 0) << name;
    }
}

struct OpenViewer
{
    explicit OpenViewer(FakeFile &file) : window(file, placement)
    {
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        EXPECT_TRUE(QTest::qWaitFor([&] { return window.viewerFilled(); }));
        lw = window.findChild<UniformRowView *>(QStringLiteral("lw"));
        EXPECT_EQ(lw->accessibleName(), "File lines"); // what a screen reader calls the list
    }
    void keys(QKeyCombination key)
    {
        QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
    }
    // Ctrl+F and the text to search for.
    void find(const char *text, bool matchCase = false)
    {
        keys(Qt::CTRL | Qt::Key_F);
        window.findChild<QCheckBox *>(QStringLiteral("chkMatchCase"))->setChecked(matchCase);
        QTest::keyClicks(QApplication::focusWidget(), QString::fromUtf8(text));
    }
    void goTo(int line)
    {
        keys(Qt::CTRL | Qt::Key_G);
        auto *dialog = window.findChild<QInputDialog *>(QStringLiteral("dlgGoToLine"));
        dialog->setIntValue(line);
        dialog->accept();
    }
    QString status() const
    {
        return window.findChild<QLabel *>(QStringLiteral("lblStatus"))->text();
    }

    WindowPlacement placement {1500, 1200, 6000, 4500, windowStateNormal};
    frmView window;
    UniformRowView *lw = nullptr;
};

// A double click inverts the check of the row under the pointer, on its text or its check box,
// and of no other row, whichever row was current before.
TEST(Viewer, ADoubleClickTogglesTheRowUnderThePointer)
{
    for (const bool onCheckBox : {false, true}) {
        FakeFile file;
        OpenViewer viewer(file);
        clickRow(*viewer.lw, viewer.lw->model()->index(3, 0), onCheckBox, true);
        viewer.window.close();
        EXPECT_EQ(file.marked, std::vector<bool>({0, 0, 1, 1, 0, 0})) << onCheckBox;
    }
}

// Duplicate lines are red that reads on the list's base: pure red on the light default, a lighter
// red on a dark base.
TEST(Viewer, DuplicateLinesReadOnTheListsBase)
{
    const QPalette light = QApplication::palette();
    QPalette dark = light;
    dark.setColor(QPalette::Base, QColor(0x2b, 0x2b, 0x2b));
    dark.setColor(QPalette::Text, Qt::white);
    for (const auto &[palette, red] :
        {std::pair(light, QColor(0xff, 0, 0)), std::pair(dark, QColor(0xff, 0x55, 0x55))}) {
        QApplication::setPalette(palette);
        FakeFile file;
        OpenViewer viewer(file);
        const QAbstractItemModel &model = *viewer.lw->model();
        EXPECT_EQ(model.data(model.index(0, 0), Qt::ForegroundRole), red)
            << red.name().toStdString();
    }
    QApplication::setPalette(light);
}

// A row's place in its group and the steps through groups come from the entries; the current
// row's group, and only it, gets the background.
TEST(ViewerModel, StepsThroughTheGroupOfTheCurrentRow)
{
    FakeFile file;
    ViewerModel model(file);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    const struct
    {
        int row, number, next, previous;
        std::vector<bool> background;
    } cases[] = {
        {0, 1, 3, 3, {1, 0, 0, 1, 0, 0}},
        {5, 2, 2, 2, {0, 0, 1, 0, 0, 1}},
        {1, 0, 2, 0, {0, 0, 0, 0, 0, 0}}, // no group: the nearest red rows
        {4, 0, 5, 3, {0, 0, 0, 0, 0, 0}},
    };
    for (const auto &c : cases) {
        const auto place = model.groupPlace(c.row);
        EXPECT_EQ(place ? std::pair(place->number, place->count) : std::pair(0, 0),
            c.number ? std::pair(c.number, 2) : std::pair(0, 0))
            << c.row;
        EXPECT_EQ(model.nextDuplicate(c.row, true), c.next) << c.row;
        EXPECT_EQ(model.nextDuplicate(c.row, false), c.previous) << c.row;
        model.setCurrentRow(c.row);
        std::vector<bool> background;
        for (int row = 0; row < model.rowCount(); ++row)
            background.push_back(model.data(model.index(row), Qt::BackgroundRole).isValid());
        EXPECT_EQ(background, c.background) << c.row;
    }
}

// Every way through the viewer's keys ends on its row, with the status naming the line and its
// place in its group.
TEST(Viewer, KeysFindGoToAndStepThroughDuplicates)
{
    const Qt::Key enter = Qt::Key_Return;
    const struct
    {
        const char *search; // after Ctrl+F
        bool matchCase;
        int goTo; // with Ctrl+G
        std::vector<QKeyCombination> keys;
        int row;
        const char *status;
    } cases[] = {
        {"E", false, 0, {Qt::Key_F3, Qt::Key_F3, Qt::SHIFT | Qt::Key_F3}, 1, "Line 2"},
        {"E", false, 0, {enter, enter, Qt::SHIFT | enter}, 1, "Line 2"},
        {"E", true, 0, {Qt::Key_F3}, 0, "\"E\" was not found."},
        {nullptr, false, 5, {}, 4, "Line 5"},
        {nullptr, false, 0, {Qt::CTRL | Qt::Key_Down}, 3, "Line 4 \u00B7 duplicate 2 of 2"},
        {nullptr, false, 6, {Qt::CTRL | Qt::Key_Up}, 2, "Line 3 \u00B7 duplicate 1 of 2"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.status);
        FakeFile file;
        OpenViewer viewer(file);
        if (c.search)
            viewer.find(c.search, c.matchCase);
        if (c.goTo)
            viewer.goTo(c.goTo);
        for (const QKeyCombination key : c.keys)
            viewer.keys(key);
        EXPECT_EQ(viewer.lw->currentIndex().row(), c.row);
        EXPECT_EQ(viewer.status(), QString::fromUtf8(c.status));
    }
}

// Once another program rewrote the file since the scan, the viewer's rows, painted again, show no
// new bytes, and neither a search nor the status pretends that they were searched.
TEST(Viewer, AFileChangedSinceTheScanShowsNoNewBytes)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("viewed.txt"));
    writeBytes(path, "zero\none\ntwo\nthree\nfour\nfive\n");
    FakeFile file;
    file.lines = TextLoader::load(path).text;
    ASSERT_TRUE(file.lines);
    OpenViewer viewer(file);
    overwriteInPlace(path, "ZERO\nONE\nTWO\nTHREE\nFOUR\nFIVE\n");
    viewer.lw->viewport()->repaint();
    const QString changed = changedSinceScanText(ChangedTextUse::Shown);
    EXPECT_EQ(viewer.status(), changed);
    EXPECT_EQ(viewer.lw->model()->data(viewer.lw->model()->index(1, 0)).toString(), "");
    viewer.find("E");
    viewer.keys(Qt::Key_F3);
    EXPECT_EQ(viewer.status(), changed);
    EXPECT_EQ(viewer.lw->currentIndex().row(), 0);
}

// A search of a large file runs between events, shows its progress, and Escape stops it without
// closing the window.
TEST(Viewer, EscapeStopsARunningSearch)
{
    std::string bytes;
    for (int line = 0; line < 1'000'000; ++line)
        bytes += "\xC3\xA9\n";
    FakeFile file(bytes);
    OpenViewer viewer(file);
    viewer.find("zz");
    viewer.keys(Qt::Key_F3);
    EXPECT_TRUE(viewer.window.findChild<QProgressBar *>(QStringLiteral("prgFind"))->isVisible());
    viewer.keys(Qt::Key_Escape);
    EXPECT_EQ(viewer.status(), QStringLiteral("Search stopped."));
    EXPECT_TRUE(viewer.window.isVisible());
}

} // namespace
} // namespace twinscan::test
