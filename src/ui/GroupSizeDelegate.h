#pragma once

#include <QStyledItemDelegate>
#include <functional>

namespace twinscan {

// Draws a row as the plain delegate does and, at the right edge of the first row of each group of
// duplicates, how many lines the group holds ("3×"). The count is the view's alone: the rows'
// texts stay the list's items.
class GroupSizeDelegate final : public QStyledItemDelegate
{
    Q_OBJECT

public:
    // `sizeAt(row)` is the size of the group that row begins, or 0 for a row that begins none.
    GroupSizeDelegate(std::function<int(int row)> sizeAt, QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
        const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    static QString countText(int size);

private:
    std::function<int(int row)> sizeAt_;
};

} // namespace twinscan
