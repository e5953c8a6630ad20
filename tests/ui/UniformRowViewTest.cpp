#include "ui/UniformRowView.h"

#include <QAbstractListModel>
#include <QStyledItemDelegate>
#include <QTest>
#include <gtest/gtest.h>

namespace twinscan {
namespace {

class Numbers final : public QAbstractListModel
{
public:
    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : 10'000'000;
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        return role == Qt::DisplayRole ? QVariant(QString::number(index.row())) : QVariant();
    }
};

// Each key moves to its row and scrolls it into sight, where a click finds the same row again.
TEST(UniformRowView, KeysReachEveryRowOfTenMillionAndTheRowShows)
{
    Numbers model;
    UniformRowView view;
    view.setModel(&model);
    view.resize(300, 200);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    view.setCurrentIndex(model.index(0));
    const int page = view.viewport()->height() / view.rowHeight();
    const std::pair<Qt::Key, int> cases[] = {{Qt::Key_Down, 1}, {Qt::Key_PageDown, 1 + page},
        {Qt::Key_End, 9'999'999}, {Qt::Key_Down, 9'999'999}, {Qt::Key_PageUp, 9'999'999 - page},
        {Qt::Key_Home, 0}, {Qt::Key_Up, 0}};
    for (const auto &[key, row] : cases) {
        QTest::keyClick(&view, key);
        EXPECT_EQ(view.currentIndex().row(), row) << key;
        const QRect shown = view.visualRect(view.currentIndex());
        EXPECT_TRUE(view.viewport()->rect().contains(shown)) << key;
        for (const QPoint &corner : {shown.topLeft(), shown.bottomRight()})
            EXPECT_EQ(view.indexAt(corner), view.currentIndex()) << key;
    }
}

// Notes which rows are painted as the keyboard's focus.
class FocusWatcher final : public QStyledItemDelegate
{
public:
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
        const QModelIndex &index) const override
    {
        if (option.state & QStyle::State_HasFocus)
            focused.push_back(index.row());
        QStyledItemDelegate::paint(painter, option, index);
    }
    mutable std::vector<int> focused;
};

// The style draws its focus mark on the current row, and only while the list has the focus, as
// it does in Qt's own lists.
TEST(UniformRowView, TheStyleMarksTheCurrentRowOfAFocusedListOnly)
{
    Numbers model;
    UniformRowView view;
    FocusWatcher watcher;
    view.setItemDelegate(&watcher);
    view.setModel(&model);
    view.resize(300, 200);
    view.show();
    view.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
    view.setCurrentIndex(model.index(3));
    for (const bool focus : {true, false}) {
        if (focus)
            view.setFocus();
        else
            view.clearFocus();
        watcher.focused.clear();
        view.viewport()->repaint();
        EXPECT_EQ(watcher.focused, focus ? std::vector<int> {3} : std::vector<int> {});
    }
}

} // namespace
} // namespace twinscan
