#pragma once

#include "engine/BulkMemory.h"

#include <QAbstractListModel>
#include <cstdint>

namespace twinscan {

class LineList;

// What a list box of the main window shows: the items of a list that another object owns (the
// scan's session), or one line of text that is not an item. It holds nothing per row. Items the
// list gained are announced to the view at the next showNewRows(), so that loading tens of
// thousands of lines costs one insert signal per burst rather than one per line. A checkable
// model shows an item's selected state as a check box.
class ListBoxModel final : public QAbstractListModel
{
    Q_OBJECT

public:
    explicit ListBoxModel(bool checkable, QObject *parent = nullptr);

    // Shows `list`, or nothing for null; the list must stay until something else is shown.
    void showList(LineList *list);
    void showPlaceholder(const QString &text);
    void showNewRows();
    // The selected states of rows first .. last changed: their check boxes are drawn again.
    void repaintChecks(int first, int last);
    // While locked, the user cannot change a check box: a job is reading the marks.
    void setChecksLocked(bool locked) { checksLocked_ = locked; }
    // Shows the list's items in another order, the item at each row; an empty order shows them
    // in their own. Only the view changes: the items, their marks and their indexes stay.
    void setOrder(BulkArray<std::uint32_t> order);
    bool ordered() const { return order_.size() > 0; }
    // The list's item that a row shows.
    int itemAt(int row) const { return ordered() ? int(order_[std::size_t(row)]) : row; }

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

Q_SIGNALS:
    // The user checked or unchecked an item.
    void checkToggled(int row, bool checked);
    // The user's check changed the selected state of the list's item `item`.
    void markFlipped(int item);

private:
    bool checkable(const QModelIndex &index) const;
    void reset(LineList *list, const QString &placeholder);

    bool checkable_;
    bool checksLocked_ = false;
    LineList *list_ = nullptr;
    QString placeholder_;
    int shownRows_ = 0; // rows the views have been told about
    BulkArray<std::uint32_t> order_;
};

} // namespace twinscan
