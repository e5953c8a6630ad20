#include "windows/ViewerModel.h"

#include "ui/ShownText.h"
#include "windows/ViewerSource.h"

#include <QColor>

namespace twinscan {

ViewerModel::ViewerModel(ViewerSource &source, QObject *parent)
    : QAbstractListModel(parent), source_(source), toggled_(std::size_t(source.lineCount()))
{
}

int ViewerModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : source_.lineCount();
}

QVariant ViewerModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return shownText(source_.lineText(index.row()));
    case Qt::ForegroundRole:
        return isRed(index.row()) ? QVariant(duplicateColor_) : QVariant();
    case Qt::CheckStateRole:
        return isChecked(index.row()) ? Qt::Checked : Qt::Unchecked;
    case Qt::BackgroundRole: {
        const int entry = source_.entryOfLine(index.row());
        const bool inGroup
            = entry >= currentGroup_.first && entry < currentGroup_.first + currentGroup_.size;
        return inGroup ? QVariant(groupBackground_) : QVariant();
    }
    default:
        return {};
    }
}

// A row that is not red refuses a check: only duplicate lines can be marked.
bool ViewerModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::CheckStateRole
        || !checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return false;
    const bool checked = value.value<Qt::CheckState>() == Qt::Checked;
    if (checked && !isRed(index.row()))
        return false;
    setChecked(index.row(), checked);
    return true;
}

Qt::ItemFlags ViewerModel::flags(const QModelIndex &index) const
{
    const Qt::ItemFlags base = QAbstractListModel::flags(index);
    return index.isValid() ? base | Qt::ItemIsUserCheckable : base;
}

QVariant ViewerModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (section == 0 && orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return tr("Line");
    return {};
}

bool ViewerModel::isRed(int row) const
{
    return source_.isDuplicate(row);
}

bool ViewerModel::isChecked(int row) const
{
    return source_.isMarked(row) != toggled_[std::size_t(row)];
}

void ViewerModel::toggle(int row)
{
    if (isRed(row))
        setChecked(row, !isChecked(row));
}

std::optional<ViewerModel::GroupPlace> ViewerModel::groupPlace(int row) const
{
    const int entry = source_.entryOfLine(row);
    if (entry < 0)
        return std::nullopt;
    const EntryGroup group = source_.groupOfEntry(entry);
    return GroupPlace {entry - group.first + 1, group.size};
}

int ViewerModel::nextDuplicate(int row, bool forward) const
{
    const int entry = source_.entryOfLine(row);
    if (entry >= 0) {
        // A group's entries follow one another in file order.
        const EntryGroup group = source_.groupOfEntry(entry);
        const int offset = entry - group.first + (forward ? 1 : group.size - 1);
        return source_.lineOfEntry(group.first + offset % group.size);
    }
    const int step = forward ? 1 : -1;
    for (int line = row + step; line >= 0 && line < rowCount(); line += step) {
        if (isRed(line))
            return line;
    }
    return -1;
}

void ViewerModel::setCurrentRow(int row)
{
    const int entry = source_.entryOfLine(row);
    const EntryGroup group = entry >= 0 ? source_.groupOfEntry(entry) : EntryGroup {};
    if (group.first == currentGroup_.first)
        return;
    currentGroup_ = group;
    // One notice for all rows: the view redraws what is in sight, whatever the group's size.
    Q_EMIT dataChanged(index(0), index(rowCount() - 1), {Qt::BackgroundRole});
}

void ViewerModel::setChecked(int row, bool checked)
{
    if (checked == isChecked(row))
        return;
    toggled_[std::size_t(row)].flip();
    toggledRows_ += toggled_[std::size_t(row)] ? 1 : -1;
    const QModelIndex changed = index(row);
    Q_EMIT dataChanged(changed, changed, {Qt::CheckStateRole});
}

void ViewerModel::carryBack()
{
    bool changed = false;
    const int entries = toggledRows_ > 0 ? source_.entryCount() : 0;
    for (int entry = 0; entry < entries; ++entry) {
        // A toggled row whose entry is not marked is one the user checked here.
        if (toggled_[std::size_t(source_.lineOfEntry(entry))] && !source_.isEntryMarked(entry)) {
            source_.markEntry(entry);
            changed = true;
        }
    }
    if (changed)
        source_.marksChanged();
}

} // namespace twinscan
