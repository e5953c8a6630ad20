#include "ui/ListBoxModel.h"

#include "engine/ItemVectorList.h"
#include "engine/LoadedText.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace twinscan {
namespace {

using Tester = QAbstractItemModelTester;

// The model shows a list that it does not own; what the list gained reaches the view at the
// next showNewRows, in one insert per burst. Only the duplicates list has check boxes; a check is
// its entry's selected state, told at once, and told as a flip only when it changed the state. A
// placeholder is a row without a check box.
TEST(ListBoxModel, ShowsItsListInBurstsWithCheckBoxesInTheDuplicatesListOnly)
{
    ItemVectorList list;
    list.setSource(LoadedText::fromBytes("one\ntwo\nthree\n"));
    ListBoxModel model(true), plain(false);
    Tester tester(&model, Tester::FailureReportingMode::Fatal);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy toggled(&model, &ListBoxModel::checkToggled);
    QSignalSpy flipped(&model, &ListBoxModel::markFlipped);
    model.showList(&list);
    for (int line = 0; line < 3; ++line)
        list.addEntry(line, 0);

    EXPECT_EQ(model.rowCount(), 0);
    model.showNewRows();
    model.showNewRows();
    EXPECT_EQ(inserted.count(), 1);
    EXPECT_EQ(model.rowCount(), 3);
    EXPECT_EQ(model.data(model.index(2), Qt::DisplayRole).toString(), "[3]\tone");
    EXPECT_TRUE(model.flags(model.index(0)) & Qt::ItemIsUserCheckable);
    EXPECT_TRUE(model.setData(model.index(0), Qt::Checked, Qt::CheckStateRole));
    EXPECT_TRUE(list.Selected(0));
    EXPECT_EQ(toggled.count(), 1);
    EXPECT_EQ(model.data(model.index(0), Qt::CheckStateRole), Qt::Checked);
    EXPECT_TRUE(model.setData(model.index(0), Qt::Checked, Qt::CheckStateRole));
    EXPECT_EQ(flipped.count(), 1) << "checked already";
    plain.showList(&list);
    ASSERT_EQ(plain.rowCount(), 3);
    EXPECT_FALSE(plain.flags(plain.index(0)) & Qt::ItemIsUserCheckable);
    model.showPlaceholder("No preview available...");
    EXPECT_EQ(model.data(model.index(0), Qt::DisplayRole).toString(), "No preview available...");
    EXPECT_FALSE(model.flags(model.index(0)) & Qt::ItemIsUserCheckable);
    model.showList(nullptr);
    EXPECT_EQ(model.rowCount(), 0);
}

// In another order each row shows, checks and unchecks the item the order names; a change of
// marks repaints every row, as they lie anywhere; rows the list gains bring its own order back,
// and an order of the wrong length is not taken.
TEST(ListBoxModel, AnOrderOfRowsMapsEachRowToItsItem)
{
    ItemVectorList list;
    list.setSource(LoadedText::fromBytes("one\ntwo\nthree\n"));
    for (int line = 0; line < 3; ++line)
        list.addEntry(line, line);
    ListBoxModel model(true);
    Tester tester(&model, Tester::FailureReportingMode::Fatal);
    model.showList(&list);
    const auto orderOf = [](std::vector<std::uint32_t> items) {
        BulkArray<std::uint32_t> order(items.size());
        std::copy(items.begin(), items.end(), order.data());
        return order;
    };
    model.setOrder(orderOf({2, 0, 1}));
    ASSERT_TRUE(model.ordered());
    EXPECT_EQ(model.data(model.index(0), Qt::DisplayRole).toString(), "[3]\tthree");
    EXPECT_EQ(model.itemAt(1), 0);
    QSignalSpy flipped(&model, &ListBoxModel::markFlipped);
    EXPECT_TRUE(model.setData(model.index(0), Qt::Checked, Qt::CheckStateRole));
    ASSERT_EQ(flipped.count(), 1);
    EXPECT_EQ(flipped[0][0].toInt(), 2);
    EXPECT_TRUE(list.Selected(2));
    EXPECT_FALSE(list.Selected(0));
    list.setSelected(1, true);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    model.repaintChecks(1, 1);
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed[0][0].toModelIndex().row(), 0);
    EXPECT_EQ(changed[0][1].toModelIndex().row(), 2);
    EXPECT_EQ(model.data(model.index(2), Qt::CheckStateRole), Qt::Checked);
    list.addEntry(0, 0);
    model.showNewRows();
    EXPECT_FALSE(model.ordered());
    EXPECT_EQ(model.data(model.index(0), Qt::DisplayRole).toString(), "[1]\tone");
    model.setOrder(orderOf({1, 0}));
    EXPECT_FALSE(model.ordered());
}

// Drawing a line of megabytes would freeze the window.
TEST(ListBoxModel, AVeryLongLineIsShownCutButKeptWhole)
{
    ItemVectorList list;
    const std::string longLine(1 << 20, 'x');
    list.setSource(LoadedText::fromBytes(longLine + "\n"));
    list.addLine(0);
    ListBoxModel model(false);
    model.showList(&list);
    const QString shown = model.data(model.index(0), Qt::DisplayRole).toString();
    EXPECT_LT(shown.size(), 5000);
    EXPECT_TRUE(shown.endsWith(QChar(0x2026)));
    EXPECT_EQ(list.List(0).size(), qsizetype(longLine.size()));
}

} // namespace
} // namespace twinscan
