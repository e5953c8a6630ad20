#include "engine/clsListEmu.h"

#include <cstring>
#include <new>
#include <type_traits>

namespace twinscan {

static_assert(std::is_trivially_copyable_v<ListItem>);

void clsListEmu::setUpperLimit(int limit)
{
    slots_.reset();
    slots_ = BulkArray<ListItem>(std::size_t(limit) + 1);
}

void clsListEmu::append(const ListItem &item)
{
    ++count_;
    ListItem &slot = slots_[std::size_t(count_)];
    const bool selected = slot.selected; // the slot keeps its selected state
    slot = item;
    slot.selected = selected;
}

void clsListEmu::removeAt(int index)
{
    ListItem *store = slots_.data();
    const int moved = count_ - 1 - index;
    if (moved > 0)
        std::memmove(store + index + 1, store + index + 2, std::size_t(moved) * sizeof(ListItem));
    --count_;
}

} // namespace twinscan
