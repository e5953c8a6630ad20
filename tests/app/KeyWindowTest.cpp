#include "support/ItemViewClicks.h"
#include "support/WindowFixture.h"
#include "ui/GroupSizeDelegate.h"
#include "windows/frmSettings.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>

namespace twinscan::test {
namespace {

class KeyWindow : public WindowFixture
{
protected:
    std::vector<QString> rows() const
    {
        std::vector<QString> texts;
        const ListBoxModel &box = window->List2Box();
        for (int row = 0; row < box.rowCount(); ++row)
            texts.push_back(box.data(box.index(row), Qt::DisplayRole).toString());
        return texts;
    }
    const DuplicatesMenu &menu() const { return window->interactions().menu(); }
};

// The user sets a field key in the dialog; the next scan groups by it, every entry still shows
// its group's first whole line, and the title says what is compared.
TEST_F(KeyWindow, AFieldKeySetInTheDialogGroupsTheNextScan)
{
    QTimer::singleShot(0, [] {
        auto *dialog = qobject_cast<frmSettings *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->findChild<QRadioButton *>("optFields")->setChecked(true);
        dialog->findChild<QLineEdit *>("txtFields")->setText(QStringLiteral("2"));
        dialog->findChild<QComboBox *>("cboSeparator")->setCurrentIndex(1);
        dialog->findChild<QPushButton *>("cmdOk")->click();
    });
    ui().cmdSettings->click();
    scan(writeFile("keyed.csv", "x,1\r\ny,2\r\nz,1\r\nw\r\n"));
    EXPECT_EQ(rows(), (std::vector<QString> {"[1]\tx,1", "[3]\tx,1"}));
    EXPECT_TRUE(window->windowTitle().endsWith(QStringLiteral(" (Comparing field 2 (comma))")))
        << window->windowTitle().toStdString();
}

// The first row of each group draws its group's size: the delegate makes room for it there and
// nowhere else, also once the rows are sorted by count.
TEST_F(KeyWindow, EachGroupsFirstRowShowsItsSize)
{
    scan(writeFile("counts.txt", "a\nb\nb\na\nb\n"));
    const auto width = [this](int row) {
        QStyleOptionViewItem option;
        option.initFrom(ui().List2);
        const QModelIndex index = window->List2Box().index(row);
        return ui().List2->itemDelegate()->sizeHint(option, index).width()
            - QStyledItemDelegate().sizeHint(option, index).width();
    };
    EXPECT_GT(width(0), 0);
    EXPECT_EQ(width(1), 0);
    EXPECT_GT(width(2), 0);
    EXPECT_EQ(width(3), 0);
    menu().mnuSortByCount->trigger();
    EXPECT_EQ(rows().front(), "[2]\tb");
    EXPECT_GT(width(0), 0);
    EXPECT_EQ(width(1), 0);
    EXPECT_GT(width(3), 0);
}

// Sorting by count is a view order: the largest group first, the current entry kept; a check in
// the sorted list marks the entry it shows, the rules still work on groups, and sorting by first
// occurrence brings the list's order back.
TEST_F(KeyWindow, SortByCountIsAViewOrderOnly)
{
    scan(writeFile("sort.txt", "a\nb\nb\nc\na\nb\nc\nc\nc\n"));
    QAbstractItemModelTester tester(
        &window->List2Box(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    const std::vector<QString> fileOrder = rows();
    ui().List2->setCurrentIndex(window->List2Box().index(2)); // the first entry of b
    menu().mnuSortByCount->trigger();
    EXPECT_EQ(rows(),
        (std::vector<QString> {"[4]\tc", "[7]\tc", "[8]\tc", "[9]\tc", "[2]\tb", "[3]\tb", "[6]\tb",
            "[1]\ta", "[5]\ta"}));
    EXPECT_EQ(ui().List2->currentIndex().row(), 4);
    clickRow(*ui().List2, window->List2Box().index(0), false);
    EXPECT_EQ(ui().lstShow->currentIndex().row(), 3); // the row's entry's line, the first c
    clickRow(*ui().List2, window->List2Box().index(1), true);
    EXPECT_TRUE(window->session()->isEntryMarked(6)); // line 7, the second c
    EXPECT_EQ(window->session()->markedCount(), 1);
    menu().mnuSelAllButFirst->trigger();
    EXPECT_EQ(window->session()->markedCount(), 6);
    EXPECT_FALSE(window->session()->isLineMarked(3)); // the first c
    menu().mnuSortByFirst->trigger();
    EXPECT_EQ(rows(), fileOrder);
}

} // namespace
} // namespace twinscan::test
