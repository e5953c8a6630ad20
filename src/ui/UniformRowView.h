#pragma once

#include <QAbstractItemView>

class QHeaderView;

namespace twinscan {

// A list in report style: one column under a header (which may be hidden), every row as high as
// the first. It keeps nothing per row and lays nothing out in advance, so a model of ten million
// rows opens, scrolls and jumps to its end as fast as one of ten. Rows are drawn by the item
// delegate, check boxes, colours and fonts included. The column is as wide as the view, or as the
// widest row drawn so far: rows are measured as they come into sight, and the view scrolls sideways
// to the widest. A row cut at either side shows its text in a tool tip. Row numbers may be shown
// beside the rows.
class UniformRowView final : public QAbstractItemView
{
    Q_OBJECT

public:
    explicit UniformRowView(QWidget *parent = nullptr);

    void setModel(QAbstractItemModel *model) override;
    QRect visualRect(const QModelIndex &index) const override;
    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;
    QModelIndex indexAt(const QPoint &point) const override;
    void reset() override;
    void dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
        const QList<int> &roles = {}) override;

    QHeaderView *header() const { return header_; }
    int rowHeight() const { return rowHeight_; }
    int firstVisibleRow() const;
    void setRowNumbersShown(bool shown);

protected:
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    int horizontalOffset() const override;
    int verticalOffset() const override;
    bool isIndexHidden(const QModelIndex &index) const override;
    void setSelection(const QRect &rect, QItemSelectionModel::SelectionFlags command) override;
    QRegion visualRegionForSelection(const QItemSelection &selection) const override;
    void paintEvent(QPaintEvent *event) override;
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;
    void rowsInserted(const QModelIndex &parent, int start, int end) override;
    void changeEvent(QEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    int rowCount() const;
    // Rows that fit the viewport whole, at least one.
    int fullRows() const;
    int rowAt(int y) const;
    void measureRows();
    QStyleOptionViewItem rowOption(const QModelIndex &index) const;
    int measuredWidth(const QModelIndex &index) const;
    int columnWidth() const;

    QHeaderView *header_;
    int rowHeight_ = 1;
    int widestRow_ = 0; // of the rows drawn since the model was set or reset
    QWidget *gutter_ = nullptr;
    bool checkBoxDoubleClicked_ = false;
};

} // namespace twinscan
