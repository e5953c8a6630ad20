#include "ui/UniformRowView.h"

#include "ui/RowNumberGutter.h"
#include "ui/ShownText.h"

#include <QAbstractListModel>
#include <QHelpEvent>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>

namespace twinscan {
namespace {

// Rows "0" to "9999999"; row 500 is long. It counts the indexes made of it.
class Numbers final : public QAbstractListModel
{
public:
    QModelIndex index(int row, int column = 0, const QModelIndex &parent = {}) const override
    {
        ++indexes;
        return QAbstractListModel::index(row, column, parent);
    }
    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : 10'000'000;
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role != Qt::DisplayRole)
            return {};
        return index.row() == 500 ? QString(400, QLatin1Char('w')) : QString::number(index.row());
    }
    mutable int indexes = 0;
};

// A view of 300 by 200 pixels over the numbers, shown and active.
class UniformRowViewTest : public testing::Test
{
protected:
    void SetUp() override
    {
        view.setModel(&model);
        view.resize(300, 200);
        view.show();
        view.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
    }
    Numbers model;
    UniformRowView view;
};

// Each key moves to its row and scrolls it into sight, where a click finds the same row again.
TEST_F(UniformRowViewTest, KeysReachEveryRowOfTenMillionAndTheRowShows)
{
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

// A change of every row (a marking rule over millions of entries) repaints the rows in sight
// without visiting the others.
TEST_F(UniformRowViewTest, AChangeOfEveryRowRepaintsOnlyTheRowsInSight)
{
    const QModelIndex first = model.index(0), last = model.index(9'999'999);
    QCoreApplication::processEvents();
    model.indexes = 0;
    Q_EMIT model.dataChanged(first, last);
    QCoreApplication::processEvents();
    EXPECT_GT(model.indexes, 0) << "nothing repainted";
    EXPECT_LT(model.indexes, 1000);
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
TEST_F(UniformRowViewTest, TheStyleMarksTheCurrentRowOfAFocusedListOnly)
{
    FocusWatcher watcher;
    view.setItemDelegate(&watcher);
    view.setCurrentIndex(model.index(3));
    for (const bool focus : {true, false}) {
        focus ? view.setFocus() : view.clearFocus();
        watcher.focused.clear();
        view.viewport()->repaint();
        EXPECT_EQ(watcher.focused, focus ? std::vector<int> {3} : std::vector<int> {});
    }
}

// The view scrolls sideways as far as the widest row drawn so far, measured when it comes into
// sight; a row cut at the edge shows its text in a tool tip, one that fits shows none.
TEST_F(UniformRowViewTest, ScrollsSidewaysToTheWidestRowSeenAndTipsCutRows)
{
    QCoreApplication::processEvents();
    EXPECT_EQ(view.horizontalScrollBar()->maximum(), 0);
    view.scrollTo(model.index(500), QAbstractItemView::PositionAtTop);
    view.viewport()->repaint();
    EXPECT_GE(view.horizontalScrollBar()->maximum() + view.viewport()->width(),
        view.fontMetrics().horizontalAdvance(QString(400, QLatin1Char('w'))));
    for (const int row : {501, 500}) {
        const QPoint at(20, view.visualRect(model.index(row)).center().y());
        QHelpEvent tip(QEvent::ToolTip, at, view.viewport()->mapToGlobal(at));
        QCoreApplication::sendEvent(view.viewport(), &tip);
        EXPECT_EQ(QToolTip::isVisible(), row == 500) << row;
    }
    EXPECT_TRUE(QToolTip::text().contains(QString(100, QLatin1Char('w'))));
}

// The gutter grows by one digit's width for every digit of the largest row number.
TEST(RowNumberGutter, FitsTheLargestRowNumber)
{
    const QFontMetrics metrics {QFont()};
    const int digit = metrics.horizontalAdvance(QLatin1Char('9'));
    const std::pair<int, int> cases[] = {{0, 1}, {9, 1}, {10, 2}, {9'999'999, 7}, {10'000'000, 8}};
    for (const auto &[rows, digits] : cases)
        EXPECT_EQ(RowNumberGutter::widthFor(rows, metrics) - RowNumberGutter::widthFor(1, metrics),
            (digits - 1) * digit)
            << rows;
}

// A tip is the row's text in lines of 120 characters, escaped, a character of two halves kept
// whole.
TEST(RowToolTip, BreaksTheTextIntoLines)
{
    const auto x = [](int count) { return QString(count, u'x'); };
    const QString face = QString::fromUcs4(U"\U0001F600");
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("a<b & c"), QStringLiteral("a&lt;b &amp; c")},
        {x(250), x(120) + "<br>" + x(120) + "<br>" + x(10)},
        {x(119) + face + "y", x(119) + "<br>" + face + "y"},
    };
    for (const auto &[text, rows] : cases)
        EXPECT_EQ(rowToolTip(text),
            QStringLiteral("<p style='white-space:pre'>") + rows + QStringLiteral("</p>"))
            << text.toStdString();
}

} // namespace
} // namespace twinscan
