#include "engine/KeyTally.h"

#include <algorithm>

namespace twinscan {

TallyTable::TallyTable(std::size_t slots)
    : slots_(std::max<std::size_t>(slots, 4)), limit_(slots_.size() / 4 * 3)
{
}

Tally &TallyTable::slotOf(const WideHash &hash)
{
    const std::size_t size = slots_.size();
    for (std::size_t i = home(hash);; i = i + 1 == size ? 0 : i + 1) {
        Tally &slot = slots_[i];
        if (slot.count == 0 || slot.hash == hash)
            return slot;
    }
}

void TallyTable::add(const WideHash &hash, std::uint64_t line)
{
    Tally &slot = slotOf(hash);
    if (slot.count == 0) {
        slot = {hash, line, line, 0};
        ++used_;
    }
    slot.last = line;
    ++slot.count;
}

void TallyTable::merge(const Tally &tally)
{
    Tally &slot = slotOf(tally.hash);
    if (slot.count == 0) {
        slot = tally;
        ++used_;
        return;
    }
    slot.first = std::min(slot.first, tally.first);
    slot.last = std::max(slot.last, tally.last);
    slot.count += tally.count;
}

bool TallyTable::grow()
{
    TallyTable bigger(0);
    if (!bigger.slots_.resize(slots_.size() * 2))
        return false;
    bigger.limit_ = bigger.slots_.size() / 4 * 3;
    forEach([&](const Tally &tally) { bigger.merge(tally); });
    *this = std::move(bigger);
    return true;
}

void TallyTable::clear()
{
    std::fill_n(slots_.data(), slots_.size(), Tally {});
    used_ = 0;
}

} // namespace twinscan
