#include "editing/MarkChange.h"

#include <bit>

namespace twinscan {

namespace {
std::size_t wordsFor(int count)
{
    return (std::size_t(count) + 63) / 64;
}
} // namespace

MarkSnapshot::MarkSnapshot(const LineList &list) : words_(wordsFor(list.ListCount()))
{
    count_ = list.ListCount();
    for (int entry = 0; entry < count_; ++entry) {
        if (list.Selected(entry))
            words_[std::size_t(entry) / 64] |= std::uint64_t(1) << (entry % 64);
    }
}

MarkChange MarkChange::since(const MarkSnapshot &before, const LineList &list)
{
    MarkChange change;
    change.count_ = before.count_;
    if (list.ListCount() != before.count_)
        return change; // not the list the snapshot was taken of: nothing to undo
    MarkSnapshot after(list);
    change.bits_ = std::move(after.words_);
    for (std::size_t word = 0; word < change.bits_.size(); ++word) {
        change.bits_[word] ^= before.words_[word];
        change.flips_ += std::popcount(change.bits_[word]);
    }
    // An index takes 4 bytes and a bit an eighth: indexes are smaller below one flip in 32.
    if (std::size_t(change.flips_) * 32 < std::size_t(change.count_)) {
        change.entries_.reserve(std::size_t(change.flips_));
        for (std::size_t entry = 0; entry < std::size_t(change.count_); ++entry) {
            if (change.flipped(entry))
                change.entries_.push_back(std::uint32_t(entry));
        }
        std::vector<std::uint64_t>().swap(change.bits_);
    }
    change.findEnds();
    return change;
}

MarkChange MarkChange::ofEntries(std::vector<std::uint32_t> entries, int count)
{
    MarkChange change;
    change.count_ = count;
    change.flips_ = int(entries.size());
    if (std::size_t(change.flips_) * 32 < std::size_t(count)) {
        change.entries_ = std::move(entries);
    } else {
        change.bits_.resize(wordsFor(count));
        for (const std::uint32_t entry : entries)
            change.bits_[entry / 64] |= std::uint64_t(1) << (entry % 64);
    }
    change.findEnds();
    return change;
}

void MarkChange::findEnds()
{
    if (flips_ == 0)
        return;
    if (!entries_.empty()) {
        first_ = int(entries_.front());
        last_ = int(entries_.back());
        return;
    }
    std::size_t word = 0;
    while (bits_[word] == 0)
        ++word;
    first_ = int(word * 64) + std::countr_zero(bits_[word]);
    word = bits_.size() - 1;
    while (bits_[word] == 0)
        --word;
    last_ = int(word * 64) + 63 - std::countl_zero(bits_[word]);
}

std::size_t MarkChange::bytes() const
{
    return entries_.capacity() * sizeof(std::uint32_t) + bits_.capacity() * sizeof(std::uint64_t);
}

bool MarkChange::applyTo(LineList &list) const
{
    if (list.ListCount() != count_)
        return false;
    if (!bits_.empty()) {
        list.setEachSelected(
            [this](auto items, std::size_t i) { return items[i].selected != flipped(i); });
        return true;
    }
    for (const std::uint32_t entry : entries_)
        list.setSelected(int(entry), !list.Selected(int(entry)));
    return true;
}

} // namespace twinscan
