#include "ui/UniformRowView.h"

#include <QAccessible>
#include <QStandardItemModel>
#include <gtest/gtest.h>

namespace twinscan {
namespace {

// A screen reader sees each row as a list item: its text (or the model's spoken text), its check
// box, whether it is selected or current.
TEST(RowViewAccessibility, ScreenReadersReadEachRowItsMarkAndWhichIsCurrent)
{
    QStandardItemModel model;
    for (const char *text : {"alpha", "beta", "gamma"})
        model.appendRow(new QStandardItem(QString::fromLatin1(text)));
    model.item(0)->setCheckable(true);
    model.item(1)->setCheckable(true);
    model.item(1)->setCheckState(Qt::Checked);
    model.item(2)->setData(QStringLiteral("line 3: gamma"), Qt::AccessibleTextRole);
    UniformRowView view;
    view.setModel(&model);
    view.setAccessibleName(QStringLiteral("Duplicate lines"));
    view.show();
    view.setCurrentIndex(model.index(0, 0));
    view.selectionModel()->setCurrentIndex(model.index(2, 0), QItemSelectionModel::NoUpdate);

    QAccessibleInterface *list = QAccessible::queryAccessibleInterface(&view);
    EXPECT_EQ(list->role(), QAccessible::List);
    EXPECT_EQ(list->text(QAccessible::Name), QStringLiteral("Duplicate lines"));
    ASSERT_EQ(list->childCount(), 3);
    // text, checkable, checked, selected, focused
    using Row = std::tuple<std::string, bool, bool, bool, bool>;
    const Row rows[] = {{"alpha", true, false, true, false}, {"beta", true, true, false, false},
        {"line 3: gamma", false, false, false, true}};
    for (int row = 0; row < 3; ++row) {
        QAccessibleInterface *item = list->child(row);
        const QAccessible::State s = item->state();
        EXPECT_EQ(Row(item->text(QAccessible::Name).toStdString(), s.checkable, s.checked,
                      s.selected, s.focused),
            rows[row])
            << row;
        EXPECT_EQ(item->role(), QAccessible::ListItem);
        EXPECT_EQ(list->indexOfChild(item), row);
        EXPECT_EQ(item->rect().topLeft(),
            view.viewport()->mapToGlobal(view.visualRect(model.index(row, 0)).topLeft()));
    }
    // A row's check box can be toggled from an assistive tool, unless it is locked.
    const QStringList toggle {QAccessibleActionInterface::toggleAction()};
    const auto toggleRow
        = [&](int row) { list->child(row)->actionInterface()->doAction(toggle[0]); };
    toggleRow(0);
    toggleRow(1);
    model.item(1)->setCheckable(false);
    toggleRow(1);
    EXPECT_EQ(model.item(0)->checkState(), Qt::Checked);
    EXPECT_EQ(model.item(1)->checkState(), Qt::Unchecked);
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(
            list->child(row)->actionInterface()->actionNames(), row == 0 ? toggle : QStringList())
            << row;
    // Rows that come or go leave no item standing for another row.
    const QAccessible::Id first = QAccessible::uniqueId(list->child(0));
    model.removeRow(0);
    EXPECT_EQ(QAccessible::accessibleInterface(first), nullptr);
    EXPECT_EQ(list->child(0)->text(QAccessible::Name), QStringLiteral("beta"));
}

} // namespace
} // namespace twinscan
