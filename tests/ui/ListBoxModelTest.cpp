#include "ui/ListBoxModel.h"

#include "engine/LoadedText.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace twinscan {
namespace {

TEST(ListBoxModel, AnnouncesBurstsOfItemsAtTheNextFlush)
{
    ListBoxModel model(true);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    model.setSource(LoadedText::fromBytes("one\ntwo\nthree\n"));
    for (int line = 0; line < 3; ++line)
        model.addEntry(line, 0);

    EXPECT_EQ(model.ListCount(), 3); // the list holds them at once
    EXPECT_EQ(model.rowCount(), 0); // the view learns of them at the flush
    model.flush();
    model.flush();
    EXPECT_EQ(inserted.count(), 1);
    EXPECT_EQ(model.rowCount(), 3);
    EXPECT_EQ(model.data(model.index(2), Qt::DisplayRole).toString(), "[3]\tone");

    model.RemoveItem(0);
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.List(0), "[2]\tone");
    model.Clear();
    EXPECT_EQ(model.rowCount(), 0);
}

// Only the duplicates list has check boxes; a check is its entry's selected state, told at once.
TEST(ListBoxModel, CheckBoxesOnlyInTheDuplicatesList)
{
    ListBoxModel model(true), plain(false);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QSignalSpy toggled(&model, &ListBoxModel::checkToggled);
    for (ListBoxModel *list : {&model, &plain}) {
        list->AddItem("[1]\ta");
        list->flush();
    }
    EXPECT_TRUE(model.flags(model.index(0)) & Qt::ItemIsUserCheckable);
    EXPECT_TRUE(model.setData(model.index(0), Qt::Checked, Qt::CheckStateRole));
    EXPECT_TRUE(model.Selected(0));
    EXPECT_EQ(toggled.count(), 1);
    EXPECT_EQ(model.data(model.index(0), Qt::CheckStateRole), Qt::Checked);
    EXPECT_FALSE(plain.flags(plain.index(0)) & Qt::ItemIsUserCheckable);
}

// Drawing a line of megabytes would freeze the window.
TEST(ListBoxModel, AVeryLongLineIsShownCutButKeptWhole)
{
    ListBoxModel model(false);
    const std::string longLine(1 << 20, 'x');
    model.setSource(LoadedText::fromBytes(longLine + "\n"));
    model.addLine(0);
    model.flush();
    const QString shown = model.data(model.index(0), Qt::DisplayRole).toString();
    EXPECT_LT(shown.size(), 5000);
    EXPECT_TRUE(shown.endsWith(QChar(0x2026)));
    EXPECT_EQ(model.List(0).size(), qsizetype(longLine.size()));
}

} // namespace
} // namespace twinscan
