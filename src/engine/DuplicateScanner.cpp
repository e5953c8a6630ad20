#include "engine/DuplicateScanner.h"

#include "engine/LineKey.h"

#include <bit>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace twinscan {

namespace {
constexpr std::uint32_t none = UINT32_MAX;
constexpr int progressStride = 1 << 14;

// The groups found so far: an open-addressing table keyed by the normalised line, and for every
// line the next line of its group, so that a group's members are chained in file order.
class Grouping
{
public:
    Grouping(const LoadedText &text, ScanRules rules)
        : text_(text),
          rules_(rules),
          fold_(!rules.caseSensitive),
          next_(std::size_t(text.lineCount()), none)
    {
        const std::size_t wanted = std::size_t(text.lineCount()) * 3 / 2 + 16;
        slots_.assign(std::bit_ceil(wanted), Slot {});
        mask_ = slots_.size() - 1;
    }

    void add(std::uint32_t line);
    const std::vector<std::uint32_t> &next() const { return next_; }
    void releaseTable() { std::vector<Slot>().swap(slots_); }

    int groupCount = 0;
    int entryCount = 0;

private:
    struct Slot
    {
        std::uint32_t hash = 0;
        std::uint32_t first = none;
        std::uint32_t tail = none;
    };

    std::string_view keyOf(std::uint32_t line, std::string &scratch) const;
    std::string_view storedKey(std::uint32_t first) const;

    const LoadedText &text_;
    ScanRules rules_;
    bool fold_;
    std::vector<std::uint32_t> next_;
    std::vector<Slot> slots_;
    std::size_t mask_ = 0;
    // Upper-cased keys of the groups whose first line is not plain ASCII; ASCII keys are read
    // from the file and folded as they are compared.
    std::unordered_map<std::uint32_t, std::string> materialised_;
    std::string scratch_;
};

std::string_view Grouping::keyOf(std::uint32_t line, std::string &scratch) const
{
    std::string_view key = text_.lineBytes(int(line));
    if (rules_.trimLines)
        key = trimSpaces(key);
    scratch.clear();
    if (fold_ && hasNonAscii(key)) {
        scratch = upperCaseNonAscii(key, text_.encoding());
        return scratch;
    }
    return key;
}

std::string_view Grouping::storedKey(std::uint32_t first) const
{
    const auto found = materialised_.find(first);
    if (found != materialised_.end())
        return found->second;
    std::string unused;
    return keyOf(first, unused);
}

void Grouping::add(std::uint32_t line)
{
    if (!rules_.includeEmptyLines && trimSpaces(text_.lineBytes(int(line))).empty())
        return;
    const std::string_view key = keyOf(line, scratch_);
    const std::uint64_t hash = hashKey(key, fold_);
    const auto tag = std::uint32_t(hash >> 32);
    for (std::size_t i = std::size_t(hash) & mask_;; i = (i + 1) & mask_) {
        Slot &slot = slots_[i];
        if (slot.first == none) {
            slot = {tag, line, line};
            if (!scratch_.empty() && key.data() == scratch_.data())
                materialised_.emplace(line, scratch_);
            return;
        }
        if (slot.hash == tag && sameKey(key, storedKey(slot.first), fold_)) {
            if (slot.first == slot.tail) {
                ++groupCount;
                ++entryCount;
            }
            ++entryCount;
            next_[slot.tail] = line;
            slot.tail = line;
            return;
        }
    }
}
} // namespace

DuplicateScanner::DuplicateScanner(const LoadedText &text, ScanRules rules)
    : text_(text), rules_(rules)
{
}

ScanOutcome DuplicateScanner::run(LineList &duplicates, const ProgressFn &progress)
{
    const auto total = std::uint32_t(text_.lineCount());
    Grouping grouping(text_, rules_);
    for (std::uint32_t line = 0; line < total; ++line) {
        if (line % progressStride == 0 && !keepGoing(progress, line, total))
            return {true, grouping.groupCount, 0};
        grouping.add(line);
    }
    grouping.releaseTable();

    // A line that is not yet listed and has a successor is the first line of a group.
    const auto &next = grouping.next();
    std::vector<bool> listed(total, false);
    int listedEntries = 0;
    int listedGroups = 0;
    for (std::uint32_t line = 0; line < total; ++line) {
        if (listed[line] || next[line] == none)
            continue;
        if (++listedGroups % progressStride == 0 && !keepGoing(progress, total, total))
            return {true, grouping.groupCount, listedEntries};
        for (std::uint32_t member = line; member != none; member = next[member]) {
            duplicates.addEntry(int(member), int(line));
            listed[member] = true;
            ++listedEntries;
        }
    }
    return {false, grouping.groupCount, grouping.entryCount};
}

} // namespace twinscan
