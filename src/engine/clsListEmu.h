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
    const ListItem &at(int index) const override;
    ListItem peek(int index) const override;
    bool selectedAt(int index) const override
    {
        return index >= unwrittenLines_ && slots_[std::size_t(index) + 1].selected;
    }
    void append(const ListItem &item) override;
    void appendLines(int first, int count) override;
    std::span<ListItem> appendItems(int count) override;
    void removeAt(int index) override;
    void clearAll() override;
    bool setSelectedAt(int index, bool state) override;
    std::span<ListItem> writableItems() override;

private:
    void writeOutLines() const;

    // Zero-filled on demand: slots that are never written cost no memory.
    mutable BulkArray<ListItem> slots_;
    int count_ = 0;
    // The source list of a large file is line 0, line 1, ... in fresh slots: while it is only
    // that, the items are counted here and their slots written out only when something else
    // happens to the list, which saves twelve bytes a line of a file that may never be shown;
    // reading their texts or states writes nothing.
    mutable int unwrittenLines_ = 0;
    mutable bool freshSlots_ = false;
};

} // namespace twinscan
