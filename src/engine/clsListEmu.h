#pragma once

#include "engine/BulkMemory.h"
#include "engine/LineList.h"

namespace twinscan {

// A list held in memory without a window, for files too large to show. It keeps the list-box
// semantics callers rely on: item i lives in slot i + 1, removal moves later items with their
// selected states, Clear keeps what the slots hold, and no bounds are checked.
class clsListEmu final : public LineList
{
public:
    clsListEmu() = default;

    // Discards all slots and makes slots 0 .. limit, empty and unselected. The count stays.
    void setUpperLimit(int limit);

protected:
    int count() const override { return count_; }
    const ListItem &at(int index) const override { return slots_[std::size_t(index) + 1]; }
    void append(const ListItem &item) override;
    void removeAt(int index) override;
    void clearAll() override { count_ = 0; }
    void setSelectedAt(int index, bool state) override
    {
        slots_[std::size_t(index) + 1].selected = state;
    }

private:
    // Zero-filled on demand: slots that are never written cost no memory.
    BulkArray<ListItem> slots_;
    int count_ = 0;
};

} // namespace twinscan
