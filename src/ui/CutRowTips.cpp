#include "ui/CutRowTips.h"

#include "ui/ShownText.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QToolTip>

namespace twinscan {

CutRowTips::CutRowTips(QAbstractItemView &view) : QObject(&view), view_(view)
{
    view.viewport()->installEventFilter(this);
}

bool CutRowTips::eventFilter(QObject *watched, QEvent *event)
{
    // The type first: the viewport sends events while the view is being destroyed, when asking the
    // view anything is no longer safe.
    return event->type() == QEvent::ToolTip && watched == view_.viewport()
        && showTip(*static_cast<QHelpEvent *>(event));
}

bool CutRowTips::showTip(const QHelpEvent &event)
{
    const QModelIndex index = view_.indexAt(event.pos());
    if (!index.isValid())
        return false;
    QStyleOptionViewItem option;
    option.initFrom(view_.viewport());
    option.font = view_.font();
    const QRect row = view_.visualRect(index);
    option.rect = row;
    const int width = view_.itemDelegateForIndex(index)->sizeHint(option, index).width();
    if (row.left() >= 0 && row.left() + width <= view_.viewport()->width())
        return false;
    QToolTip::showText(event.globalPos(), rowToolTip(index.data(Qt::DisplayRole).toString()),
        view_.viewport(), row);
    return true;
}

} // namespace twinscan
