#pragma once

#include "engine/LineList.h"

#include <utility>
#include <vector>

namespace twinscan {

// A plain list in memory: the hidden working lists of an ordinary file, and the storage behind
// the lists that are shown.
class ItemVectorList : public LineList
{
protected:
    int count() const override { return int(items_.size()); }
    const ListItem &at(int index) const override { return items_[std::size_t(index)]; }
    void append(const ListItem &item) override { items_.push_back(item); }
    std::span<ListItem> appendItems(int count) override
    {
        items_.resize(items_.size() + std::size_t(count));
        return std::span<ListItem>(items_).last(std::size_t(count));
    }
    void removeAt(int index) override { items_.erase(items_.begin() + index); }
    void clearAll() override { items_.clear(); }
    bool setSelectedAt(int index, bool state) override
    {
        return std::exchange(items_[std::size_t(index)].selected, state);
    }
    std::span<ListItem> writableItems() override { return items_; }

    std::vector<ListItem> items_;
};

} // namespace twinscan
