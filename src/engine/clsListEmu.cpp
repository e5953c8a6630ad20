#include "engine/clsListEmu.h"

#include <cstring>
#include <type_traits>
#include <utility>

namespace twinscan {

static_assert(std::is_trivially_copyable_v<ListItem>);

void clsListEmu::setUpperLimit(int limit)
{
    slots_.reset();
    slots_ = BulkArray<ListItem>(std::size_t(limit) + 1);
    unwrittenLines_ = 0;
    freshSlots_ = true;
}

void clsListEmu::writeOutLines() const
{
    for (int i = 0; i < unwrittenLines_; ++i)
        slots_[std::size_t(i) + 1] = {ListItem::Kind::Line, false, std::uint32_t(i), 0};
    unwrittenLines_ = 0;
    freshSlots_ = false;
}

const ListItem &clsListEmu::at(int index) const
{
    if (index < unwrittenLines_)
        writeOutLines();
    return slots_[std::size_t(index) + 1];
}

ListItem clsListEmu::peek(int index) const
{
    if (index < unwrittenLines_)
        return {ListItem::Kind::Line, false, std::uint32_t(index), 0};
    return slots_[std::size_t(index) + 1];
}

void clsListEmu::append(const ListItem &item)
{
    if (freshSlots_ && unwrittenLines_ == count_ && item.kind == ListItem::Kind::Line
        && item.line == std::uint32_t(count_)) {
        ++unwrittenLines_;
        ++count_;
        return;
    }
    writeOutLines();
    ++count_;
    ListItem &slot = slots_[std::size_t(count_)];
    const bool selected = slot.selected; // the slot keeps its selected state
    slot = item;
    slot.selected = selected;
    if (selected)
        countRestoredSelection();
}

void clsListEmu::appendLines(int first, int count)
{
    if (freshSlots_ && unwrittenLines_ == count_ && first == count_) {
        unwrittenLines_ += count;
        count_ += count;
        return;
    }
    LineList::appendLines(first, count);
}

std::span<ListItem> clsListEmu::appendItems(int count)
{
    writeOutLines();
    const std::span<ListItem> items(slots_.data() + count_ + 1, std::size_t(count));
    count_ += count;
    return items;
}

void clsListEmu::removeAt(int index)
{
    writeOutLines();
    ListItem *store = slots_.data();
    const int moved = count_ - 1 - index;
    if (moved > 0)
        std::memmove(store + index + 1, store + index + 2, std::size_t(moved) * sizeof(ListItem));
    --count_;
}

void clsListEmu::clearAll()
{
    writeOutLines();
    count_ = 0;
}

std::span<ListItem> clsListEmu::writableItems()
{
    writeOutLines();
    if (count_ == 0)
        return {};
    return {slots_.data() + 1, std::size_t(count_)};
}

bool clsListEmu::setSelectedAt(int index, bool state)
{
    writeOutLines();
    return std::exchange(slots_[std::size_t(index) + 1].selected, state);
}

} // namespace twinscan
