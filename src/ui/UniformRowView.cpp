#include "ui/UniformRowView.h"

#include "ui/CutRowTips.h"
#include "ui/RowNumberGutter.h"
#include "ui/RowViewAccessibility.h"

#include <QEvent>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <utility>

namespace twinscan {

UniformRowView::UniformRowView(QWidget *parent)
    : QAbstractItemView(parent), header_(new QHeaderView(Qt::Horizontal, this))
{
    header_->setSectionsClickable(false);
    header_->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header_->setStretchLastSection(false);
    // The scroll bar counts rows, not pixels: its range stays small for any number of rows.
    setVerticalScrollMode(ScrollPerItem);
    setHorizontalScrollMode(ScrollPerPixel);
    new CutRowTips(*this);
    measureRows();
    installRowViewAccessibility();
}

void UniformRowView::setModel(QAbstractItemModel *model)
{
    QAbstractItemView::setModel(model);
    header_->setModel(model);
    widestRow_ = 0;
    measureRows();
    updateGeometries();
}

void UniformRowView::reset()
{
    QAbstractItemView::reset();
    widestRow_ = 0;
    measureRows();
    updateGeometries();
}

// Qt's own handling finds the rectangle of a range row by row, which for a change of every mark of
// ten million rows takes seconds; with rows of one height the rows in sight are known at once.
void UniformRowView::dataChanged(
    const QModelIndex &topLeft, const QModelIndex &bottomRight, const QList<int> &roles)
{
    if (topLeft == bottomRight || !topLeft.isValid() || !bottomRight.isValid()) {
        QAbstractItemView::dataChanged(topLeft, bottomRight, roles);
        if (topLeft == bottomRight && (roles.isEmpty() || roles.contains(Qt::CheckStateRole)))
            announceRowCheck(this, topLeft);
        return;
    }
    const int shown = firstVisibleRow();
    const int first = std::max(topLeft.row(), shown);
    const int last = std::min(bottomRight.row(), shown + fullRows());
    if (first <= last)
        viewport()->update(
            0, (first - shown) * rowHeight_, viewport()->width(), (last - first + 1) * rowHeight_);
}

void UniformRowView::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QAbstractItemView::currentChanged(current, previous);
    announceCurrentRow(this, current);
}

void UniformRowView::setRowNumbersShown(bool shown)
{
    if (shown == (gutter_ != nullptr))
        return;
    if (shown)
        gutter_ = new RowNumberGutter(*this);
    else
        delete std::exchange(gutter_, nullptr);
    updateGeometries();
    if (gutter_)
        gutter_->show();
}

int UniformRowView::rowCount() const
{
    return model() ? model()->rowCount(rootIndex()) : 0;
}

int UniformRowView::firstVisibleRow() const
{
    return verticalScrollBar()->value();
}

int UniformRowView::fullRows() const
{
    return std::max(1, viewport()->height() / rowHeight_);
}

int UniformRowView::rowAt(int y) const
{
    return firstVisibleRow() + y / rowHeight_;
}

// The first row's height stands for all; an empty model uses the font's.
void UniformRowView::measureRows()
{
    int height = fontMetrics().height() + 4;
    if (rowCount() > 0) {
        const QModelIndex first = model()->index(0, 0, rootIndex());
        QStyleOptionViewItem option;
        initViewItemOption(&option);
        height = itemDelegateForIndex(first)->sizeHint(option, first).height();
    }
    rowHeight_ = std::max(1, height);
}

QRect UniformRowView::visualRect(const QModelIndex &index) const
{
    if (!index.isValid() || index.parent() != rootIndex() || index.column() != 0)
        return {};
    return {-horizontalOffset(), (index.row() - firstVisibleRow()) * rowHeight_, columnWidth(),
        rowHeight_};
}

int UniformRowView::columnWidth() const
{
    return std::max(viewport()->width(), widestRow_);
}

QStyleOptionViewItem UniformRowView::rowOption(const QModelIndex &index) const
{
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = visualRect(index);
    return option;
}

int UniformRowView::measuredWidth(const QModelIndex &index) const
{
    return itemDelegateForIndex(index)->sizeHint(rowOption(index), index).width();
}

void UniformRowView::scrollTo(const QModelIndex &index, ScrollHint hint)
{
    if (!index.isValid())
        return;
    const int row = index.row();
    const int first = firstVisibleRow();
    const int rows = fullRows();
    switch (hint) {
    case EnsureVisible:
        if (row < first)
            verticalScrollBar()->setValue(row);
        else if (row >= first + rows)
            verticalScrollBar()->setValue(row - rows + 1);
        break;
    case PositionAtTop:
        verticalScrollBar()->setValue(row);
        break;
    case PositionAtBottom:
        verticalScrollBar()->setValue(row - rows + 1);
        break;
    case PositionAtCenter:
        verticalScrollBar()->setValue(row - rows / 2);
        break;
    }
}

QModelIndex UniformRowView::indexAt(const QPoint &point) const
{
    if (point.y() < 0 || point.x() < 0 || point.x() >= viewport()->width())
        return {};
    const int row = rowAt(point.y());
    return row < rowCount() ? model()->index(row, 0, rootIndex()) : QModelIndex();
}

QModelIndex UniformRowView::moveCursor(CursorAction action, Qt::KeyboardModifiers)
{
    const int count = rowCount();
    if (count == 0)
        return {};
    const int current = currentIndex().isValid() ? currentIndex().row() : -1;
    int row = current;
    switch (action) {
    case MoveUp:
    case MovePrevious:
        row = current - 1;
        break;
    case MoveDown:
    case MoveNext:
        row = current + 1;
        break;
    case MovePageUp:
        row = current - fullRows();
        break;
    case MovePageDown:
        row = current + fullRows();
        break;
    case MoveHome:
        row = 0;
        break;
    case MoveEnd:
        row = count - 1;
        break;
    case MoveLeft:
        horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
        break;
    case MoveRight:
        horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        break;
    }
    return model()->index(std::clamp(row, 0, count - 1), 0, rootIndex());
}

int UniformRowView::horizontalOffset() const
{
    return horizontalScrollBar()->value();
}

int UniformRowView::verticalOffset() const
{
    return firstVisibleRow() * rowHeight_;
}

bool UniformRowView::isIndexHidden(const QModelIndex &) const
{
    return false;
}

void UniformRowView::setSelection(const QRect &rect, QItemSelectionModel::SelectionFlags command)
{
    const int count = rowCount();
    if (count == 0)
        return;
    const QRect area = rect.normalized();
    const int top = std::clamp(rowAt(area.top()), 0, count - 1);
    const int bottom = std::clamp(rowAt(area.bottom()), 0, count - 1);
    selectionModel()->select(
        QItemSelection(model()->index(top, 0, rootIndex()), model()->index(bottom, 0, rootIndex())),
        command);
}

QRegion UniformRowView::visualRegionForSelection(const QItemSelection &selection) const
{
    const int first = firstVisibleRow();
    const int last = first + fullRows();
    QRegion region;
    for (const QItemSelectionRange &range : selection) {
        const int top = std::max(range.top(), first);
        const int bottom = std::min(range.bottom(), last);
        if (top <= bottom)
            region += QRect(0, (top - first) * rowHeight_, viewport()->width(),
                (bottom - top + 1) * rowHeight_);
    }
    return region;
}

void UniformRowView::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    const QRect dirty = event->rect();
    const int count = rowCount();
    const int first = std::max(0, rowAt(dirty.top()));
    const int last = std::min(count - 1, rowAt(dirty.bottom()));
    // Rows are measured before any is drawn, so that none is drawn cut short of the widest.
    int widest = widestRow_;
    for (int row = first; row <= last; ++row)
        widest = std::max(widest, measuredWidth(model()->index(row, 0, rootIndex())));
    if (widest > widestRow_) {
        widestRow_ = widest;
        updateGeometries();
    }
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const QStyle::State base = option.state;
    for (int row = first; row <= last; ++row) {
        const QModelIndex index = model()->index(row, 0, rootIndex());
        option.rect = visualRect(index);
        option.state = base;
        if (selectionModel()->isSelected(index))
            option.state |= QStyle::State_Selected;
        if (index == currentIndex() && hasFocus())
            option.state |= QStyle::State_HasFocus;
        itemDelegateForIndex(index)->paint(&painter, option, index);
    }
}

void UniformRowView::updateGeometries()
{
    const int headerHeight = header_->isHidden() ? 0 : header_->sizeHint().height();
    const int gutterWidth = gutter_ ? RowNumberGutter::widthFor(rowCount(), fontMetrics()) : 0;
    setViewportMargins(gutterWidth, headerHeight, 0, 0);
    const QRect area = viewport()->geometry();
    header_->setGeometry(area.left(), area.top() - headerHeight, area.width(), headerHeight);
    if (gutter_)
        gutter_->setGeometry(area.left() - gutterWidth, area.top(), gutterWidth, area.height());
    const int rows = fullRows();
    verticalScrollBar()->setRange(0, std::max(0, rowCount() - rows));
    verticalScrollBar()->setPageStep(rows);
    verticalScrollBar()->setSingleStep(1);
    horizontalScrollBar()->setRange(0, std::max(0, widestRow_ - area.width()));
    horizontalScrollBar()->setPageStep(area.width());
    horizontalScrollBar()->setSingleStep(fontMetrics().averageCharWidth() * 4);
    if (model() && model()->columnCount(rootIndex()) > 0)
        header_->resizeSection(0, columnWidth());
    header_->setOffset(horizontalOffset());
    QAbstractItemView::updateGeometries();
}

void UniformRowView::rowsInserted(const QModelIndex &parent, int start, int end)
{
    QAbstractItemView::rowsInserted(parent, start, end);
    updateGeometries();
}

// The scroll bars moved by rows or pixels; everything in sight is drawn again.
void UniformRowView::scrollContentsBy(int, int)
{
    header_->setOffset(horizontalOffset());
    viewport()->update();
    if (gutter_)
        gutter_->update();
}

void UniformRowView::changeEvent(QEvent *event)
{
    QAbstractItemView::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        widestRow_ = 0;
        measureRows();
        updateGeometries();
    }
}

// A double click on a check box is one click of the box, which its first click has inverted: the
// row is not reported as double-clicked, and the second release does not invert the box again.
void UniformRowView::mouseDoubleClickEvent(QMouseEvent *event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    // The delegate takes a double click only on the check box.
    checkBoxDoubleClicked_ = index.isValid()
        && itemDelegateForIndex(index)->editorEvent(event, model(), rowOption(index), index);
    if (!checkBoxDoubleClicked_)
        QAbstractItemView::mouseDoubleClickEvent(event);
}

void UniformRowView::mouseReleaseEvent(QMouseEvent *event)
{
    if (std::exchange(checkBoxDoubleClicked_, false))
        return;
    QAbstractItemView::mouseReleaseEvent(event);
}

} // namespace twinscan
