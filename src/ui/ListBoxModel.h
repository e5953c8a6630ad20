#pragma once

#include "engine/ItemVectorList.h"

#include <QAbstractListModel>

namespace twinscan {

// A list box's items: a LineList that a QListView shows. Items added in a burst are announced to
// the view at the next flush, so that loading tens of thousands of lines costs one insert signal
// per burst rather than one per line. A checkable model shows the selected state as a check box.
class ListBoxModel final : public QAbstractListModel, public ItemVectorList
{
    Q_OBJECT

public:
    explicit ListBoxModel(bool checkable, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    void flush() override;

Q_SIGNALS:
    // The user checked or unchecked an item.
    void checkToggled(int row, bool checked);

protected:
    void append(const ListItem &item) override;
    void removeAt(int index) override;
    void clearAll() override;
    void setSelectedAt(int index, bool state) override;

private:
    bool checkable_;
    int shownRows_ = 0; // rows the views have been told about
};

} // namespace twinscan
