#include "ui/GroupSizeDelegate.h"

#include <QPainter>

namespace twinscan {

namespace {
constexpr int padding = 6;
}

GroupSizeDelegate::GroupSizeDelegate(std::function<int(int row)> sizeAt, QObject *parent)
    : QStyledItemDelegate(parent), sizeAt_(std::move(sizeAt))
{
}

QString GroupSizeDelegate::countText(int size)
{
    return QStringLiteral("%1\u00D7").arg(size);
}

// The count sits over the row's right end on the row's own background, so that a long line
// runs under it rather than through it.
void GroupSizeDelegate::paint(
    QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyledItemDelegate::paint(painter, option, index);
    const int size = index.isValid() ? sizeAt_(index.row()) : 0;
    if (size <= 0)
        return;
    const QString text = countText(size);
    const int width = option.fontMetrics.horizontalAdvance(text) + 2 * padding;
    const QRect box(
        option.rect.right() - width + 1, option.rect.top(), width, option.rect.height());
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette::ColorGroup group
        = option.state & QStyle::State_Active ? QPalette::Active : QPalette::Inactive;
    painter->save();
    const QPalette::ColorRole background = selected         ? QPalette::Highlight
        : option.features & QStyleOptionViewItem::Alternate ? QPalette::AlternateBase
                                                            : QPalette::Base;
    painter->fillRect(box, option.palette.brush(group, background));
    painter->setPen(option.palette.color(
        group, selected ? QPalette::HighlightedText : QPalette::PlaceholderText));
    painter->drawText(
        box.adjusted(padding, 0, -padding, 0), Qt::AlignRight | Qt::AlignVCenter, text);
    painter->restore();
}

// Room for the count of the largest group that can be, so that a row's count never covers the
// end of a row that fits the view.
QSize GroupSizeDelegate::sizeHint(
    const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    const int count = index.isValid() ? sizeAt_(index.row()) : 0;
    if (count > 0)
        size.rwidth() += option.fontMetrics.horizontalAdvance(countText(count)) + 2 * padding;
    return size;
}

} // namespace twinscan
