#include "ui/ListBoxModel.h"

#include "engine/LineList.h"
#include "ui/ShownText.h"

#include <algorithm>

namespace twinscan {

namespace {
// A screen reader says "line 4: apple" for an entry shown as "[4]", a tab and "apple".
QString spokenEntry(const QString &shown)
{
    const qsizetype close = shown.indexOf(u"]\t");
    if (!shown.startsWith(u'[') || close < 2)
        return shown;
    return ListBoxModel::tr("line %1: %2").arg(shown.mid(1, close - 1), shown.mid(close + 2));
}
} // namespace

ListBoxModel::ListBoxModel(bool checkable, QObject *parent)
    : QAbstractListModel(parent), checkable_(checkable)
{
}

void ListBoxModel::showList(LineList *list)
{
    reset(list, {});
    showNewRows();
}

void ListBoxModel::showPlaceholder(const QString &text)
{
    reset(nullptr, text);
}

void ListBoxModel::reset(LineList *list, const QString &placeholder)
{
    beginResetModel();
    order_.reset();
    list_ = list;
    placeholder_ = placeholder;
    shownRows_ = placeholder.isEmpty() ? 0 : 1;
    endResetModel();
}

void ListBoxModel::showNewRows()
{
    const int total = list_ ? list_->ListCount() : shownRows_;
    if (total <= shownRows_)
        return;
    if (ordered())
        setOrder({}); // rows come in the list's own order
    // The items are stored already; the view learns of them only now and reads them after.
    beginInsertRows({}, shownRows_, total - 1);
    shownRows_ = total;
    endInsertRows();
}

void ListBoxModel::setOrder(BulkArray<std::uint32_t> order)
{
    beginResetModel();
    order_
        = std::size_t(shownRows_) == order.size() ? std::move(order) : BulkArray<std::uint32_t>();
    endResetModel();
}

// In another order the items changed lie anywhere; their rows are found as they are drawn.
void ListBoxModel::repaintChecks(int first, int last)
{
    if (ordered()) {
        first = 0;
        last = shownRows_ - 1;
    }
    last = std::min(last, list_ ? shownRows_ - 1 : -1);
    if (first <= last)
        Q_EMIT dataChanged(index(first), index(last), {Qt::CheckStateRole});
}

int ListBoxModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : shownRows_;
}

bool ListBoxModel::checkable(const QModelIndex &index) const
{
    return checkable_ && list_ && index.isValid() && index.row() < shownRows_;
}

QVariant ListBoxModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= shownRows_)
        return {};
    const int item = itemAt(index.row());
    const QString text = list_ ? list_->List(item) : placeholder_;
    switch (role) {
    case Qt::DisplayRole:
        return shownText(text);
    case Qt::AccessibleTextRole:
        return checkable(index) ? QVariant(spokenEntry(shownText(text))) : QVariant();
    case Qt::CheckStateRole:
        if (checkable(index))
            return list_->Selected(item) ? Qt::Checked : Qt::Unchecked;
        return {};
    default:
        return {};
    }
}

bool ListBoxModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::CheckStateRole || !checkable(index))
        return false;
    const bool checked = value.value<Qt::CheckState>() == Qt::Checked;
    const int item = itemAt(index.row());
    const bool flipped = list_->Selected(item) != checked;
    list_->setSelected(item, checked);
    Q_EMIT dataChanged(index, index, {Qt::CheckStateRole});
    if (flipped)
        Q_EMIT markFlipped(item);
    Q_EMIT checkToggled(index.row(), checked);
    return true;
}

Qt::ItemFlags ListBoxModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags result = QAbstractListModel::flags(index);
    if (checkable(index) && !checksLocked_)
        result |= Qt::ItemIsUserCheckable;
    return result;
}

} // namespace twinscan
