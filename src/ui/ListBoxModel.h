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

    // Empties the list and shows one line of text in it that is not an item to check.
    void showPlaceholder(const QString &text);

Q_SIGNALS:
    // The user checked or unchecked an item.
    void checkToggled(int row, bool checked);

protected:
    void append(const ListItem &item) override;
    void removeAt(int index) override;
    void clearAll() override;
    void setSelectedAt(int index, bool state) override;

private:
    bool checkable(int row) const { return checkable_ && !(placeholder_ && row == 0); }

    bool checkable_;
    bool placeholder_ = false;
    int shownRows_ = 0; // rows the views have been told about
};

} // namespace twinscan
