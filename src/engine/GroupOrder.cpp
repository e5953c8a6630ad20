#include "engine/GroupOrder.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace twinscan {

BulkArray<std::uint32_t> entriesByGroupSize(const LineEntryIndex &groups, std::size_t listed)
{
    // Slots per size, the largest size first: how many entries lie in groups larger than each.
    std::vector<std::size_t> start;
    for (std::size_t entry = 0; entry < listed;) {
        const EntryGroup group = groups.groupOf(int(entry));
        const auto size = std::size_t(std::max(group.size, 1));
        if (start.size() <= size)
            start.resize(size + 1);
        start[size] += size;
        entry = std::size_t(group.first) + size;
    }
    std::size_t before = 0;
    for (std::size_t size = start.size(); size-- > 0;)
        before += std::exchange(start[size], before);
    BulkArray<std::uint32_t> order(listed);
    for (std::size_t entry = 0; entry < listed; ++entry) {
        const EntryGroup group = groups.groupOf(int(entry));
        order[start[std::size_t(std::max(group.size, 1))]++] = std::uint32_t(entry);
    }
    return order;
}

} // namespace twinscan
