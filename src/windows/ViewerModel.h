#pragma once

#include "engine/DuplicateScanner.h"

#include <QAbstractListModel>
#include <QColor>
#include <optional>
#include <vector>

namespace twinscan {

class ViewerSource;

// The viewer's rows, one per line of the file: duplicate lines in red, checked when marked, and
// the lines of the current line's group on a light background. The checks start as the marks and
// only a duplicate line can change its check; what the user changed is one bit per line, so the
// model adds an eighth of a byte per line to the file.
class ViewerModel final : public QAbstractListModel
{
    Q_OBJECT

public:
    explicit ViewerModel(ViewerSource &source, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    bool isRed(int row) const;
    bool isChecked(int row) const;
    // Inverts the check of a red row; other rows stay as they are.
    void toggle(int row);

    // Which of its group's lines a row is, counted from 1, and how many the group has.
    struct GroupPlace
    {
        int number = 0;
        int count = 0;
    };
    std::optional<GroupPlace> groupPlace(int row) const;
    // The next (or previous) line of the row's group, around from its last to its first; from a
    // row without a group, the nearest row ahead (or behind) that has one. -1 when there is none.
    int nextDuplicate(int row, bool forward) const;
    // The group of this row gets the background.
    void setCurrentRow(int row);
    void setGroupBackground(const QColor &color) { groupBackground_ = color; }
    void setDuplicateColor(const QColor &color) { duplicateColor_ = color; }

    // Marks the entry of every checked row that is not marked yet and tells the source once,
    // when anything changed. An unchecked row leaves its mark as it was. The entries are visited
    // in their own order, so that only the small table of toggled rows is read out of order.
    void carryBack();

private:
    void setChecked(int row, bool checked);

    ViewerSource &source_;
    std::vector<bool> toggled_; // by row: the check differs from the mark
    int toggledRows_ = 0;
    EntryGroup currentGroup_;
    QColor groupBackground_ {255, 244, 200};
    QColor duplicateColor_ {255, 0, 0};
};

} // namespace twinscan
