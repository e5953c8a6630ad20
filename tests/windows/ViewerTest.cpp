#include "ui/UniformRowView.h"
#include "ui/WindowPlacement.h"
#include "windows/ViewerSource.h"
#include "windows/frmView.h"

#include <QAbstractItemModelTester>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace twinscan::test {
namespace {

// Lines "0" to "5"; lines 0, 2, 3 and 5 have entries, line 2 is marked in the main window.
struct FakeFile final : ViewerSource
{
    int lineCount() const override { return int(duplicate.size()); }
    QString lineText(int line) const override { return QString::number(line); }
    bool isDuplicate(int line) const override { return duplicate[std::size_t(line)]; }
    bool isMarked(int line) const override { return marked[std::size_t(line)]; }
    int entryCount() const override { return int(entryLines.size()); }
    int lineOfEntry(int entry) const override { return entryLines[std::size_t(entry)]; }
    bool isEntryMarked(int entry) const override { return isMarked(lineOfEntry(entry)); }
    void markEntry(int entry) override { marked[std::size_t(lineOfEntry(entry))] = true; }
    void marksChanged() override { ++notices; }

    std::vector<bool> duplicate {true, false, true, true, false, true};
    std::vector<bool> marked {false, false, true, false, false, false};
    std::vector<int> entryLines {0, 2, 3, 5};
    int notices = 0;
};

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
        EXPECT_EQ(red, file.duplicate) << name;
        model.carryBack();
        EXPECT_EQ(file.marked, marks) << name;
        EXPECT_EQ(file.notices, marks != FakeFile().marked ? 1 : 0) << name;
    }
}

// A double click inverts the check of the row under the pointer, on its text or its check box,
// and of no other row, whichever row was current before.
TEST(Viewer, ADoubleClickTogglesTheRowUnderThePointer)
{
    for (const bool onCheckBox : {false, true}) {
        FakeFile file;
        WindowPlacement placement {1500, 1200, 6000, 4500, windowStateNormal};
        frmView window(file, placement);
        window.show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return window.viewerFilled(); }));
        auto *lw = window.findChild<UniformRowView *>(QStringLiteral("lw"));
        QStyleOptionViewItem option;
        option.initFrom(lw);
        option.rect = lw->visualRect(lw->model()->index(3, 0));
        option.features = QStyleOptionViewItem::HasCheckIndicator;
        const QPoint at = onCheckBox
            ? lw->style()
                  ->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, lw)
                  .center()
            : option.rect.center();
        // A real double click: press, release, double-click press, release.
        QTest::mouseClick(lw->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(lw->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(lw->viewport(), Qt::LeftButton, {}, at);
        window.close();
        EXPECT_EQ(file.marked, std::vector<bool>({0, 0, 1, 1, 0, 0})) << onCheckBox;
    }
}

} // namespace
} // namespace twinscan::test
