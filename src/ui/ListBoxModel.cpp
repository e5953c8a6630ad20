#include "ui/ListBoxModel.h"

#include "ui/ShownText.h"

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

int ListBoxModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : shownRows_;
}

QVariant ListBoxModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= shownRows_)
        return {};
    const ListItem &item = items_[std::size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return shownText(textOf(item));
    case Qt::AccessibleTextRole:
        if (checkable(index.row()))
            return spokenEntry(shownText(textOf(item)));
        return {};
    case Qt::CheckStateRole:
        if (checkable(index.row()))
            return item.selected ? Qt::Checked : Qt::Unchecked;
        return {};
    default:
        return {};
    }
}

bool ListBoxModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::CheckStateRole || !index.isValid() || index.row() >= shownRows_
        || !checkable(index.row()))
        return false;
    const bool checked = value.value<Qt::CheckState>() == Qt::Checked;
    setSelectedAt(index.row(), checked);
    Q_EMIT checkToggled(index.row(), checked);
    return true;
}

Qt::ItemFlags ListBoxModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags result = QAbstractListModel::flags(index);
    if (index.isValid() && checkable(index.row()))
        result |= Qt::ItemIsUserCheckable;
    return result;
}

void ListBoxModel::flush()
{
    const int total = int(items_.size());
    if (total <= shownRows_)
        return;
    // The items are stored already; the view learns of them only now and reads them after.
    beginInsertRows({}, shownRows_, total - 1);
    shownRows_ = total;
    endInsertRows();
}

void ListBoxModel::append(const ListItem &item)
{
    items_.push_back(item);
}

void ListBoxModel::removeAt(int index)
{
    flush();
    beginRemoveRows({}, index, index);
    ItemVectorList::removeAt(index);
    shownRows_ = int(items_.size());
    endRemoveRows();
}

void ListBoxModel::showPlaceholder(const QString &text)
{
    Clear();
    AddItem(text);
    placeholder_ = true;
    flush();
}

void ListBoxModel::clearAll()
{
    placeholder_ = false;
    beginResetModel();
    ItemVectorList::clearAll();
    shownRows_ = 0;
    endResetModel();
}

void ListBoxModel::setSelectedAt(int index, bool state)
{
    ItemVectorList::setSelectedAt(index, state);
    if (index < shownRows_) {
        const QModelIndex changed = this->index(index);
        Q_EMIT dataChanged(changed, changed, {Qt::CheckStateRole});
    }
}

} // namespace twinscan
