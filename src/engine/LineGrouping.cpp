#include "engine/LineGrouping.h"

#include "engine/LineKey.h"

namespace twinscan {

namespace {
constexpr std::uint32_t progressStride = 1 << 14;
}

LineGrouping::LineGrouping(const LoadedText &text, ScanRules rules)
    : text_(text), rules_(rules), fold_(!rules.caseSensitive), seed_(randomHashSeed())
{
    // At most every line is a group of its own, so the table stays at most four fifths full;
    // linear probing reads neighbouring slots, which cost little once the first is fetched.
    const std::size_t lines = std::size_t(text.lineCount());
    slots_ = BulkArray<Slot>(lines + lines / 4 + 16);
    links_ = BulkArray<std::uint32_t>(lines);
}

bool LineGrouping::run(const ProgressFn &progress)
{
    const auto total = std::uint32_t(text_.lineCount());
    // Step t keys line t, reads the slot of line t - stage, fetches the first line named by
    // the slot of line t - 2 * stage and places line t - 3 * stage.
    for (std::uint32_t t = 0; t < total + 3 * stage; ++t) {
        if (t < total) {
            if (t % progressStride == 0 && !keepGoing(progress, t, total))
                return false;
            key(t);
        }
        if (t >= stage && t - stage < total)
            fetchFirstLineIndex(t - stage);
        if (t >= 2 * stage && t - 2 * stage < total)
            fetchFirstLineBytes(t - 2 * stage);
        if (t >= 3 * stage)
            place(t - 3 * stage);
    }
    return true;
}

BulkArray<std::uint32_t> LineGrouping::takeLinks()
{
    slots_.reset();
    return std::move(links_);
}

void LineGrouping::key(std::uint32_t line)
{
    Pending &p = pending(line);
    const std::string_view bytes = text_.lineBytes(int(line));
    const std::string_view trimmed = trimSpaces(bytes);
    // Blank lines take part only when asked for, whether or not keys are trimmed.
    p.skipped = !rules_.includeEmptyLines && trimmed.empty();
    if (p.skipped)
        return;
    p.key = rules_.trimLines ? trimmed : bytes;
    const KeyHash checked = hashKeyChecked(p.key, fold_, seed_);
    p.hash = checked.hash;
    p.unicode = fold_ && !checked.ascii;
    if (p.unicode) {
        p.encoding = upperCaseInto(p.key, p.upper);
        p.hash = hashKey(p.upper, true, seed_);
    }
    __builtin_prefetch(&slots_[home(p.hash)], 1);
}

void LineGrouping::fetchFirstLineIndex(std::uint32_t line)
{
    Pending &p = pending(line);
    p.candidatePlusOne = 0;
    if (p.skipped)
        return;
    const Slot &slot = slots_[home(p.hash)];
    if (slot.tag != std::uint32_t(p.hash >> 32))
        return;
    p.candidatePlusOne = slot.firstPlusOne & ~unicodeBit;
    if (p.candidatePlusOne) {
        text_.prefetchLine(int(p.candidatePlusOne - 1));
        __builtin_prefetch(&links_[p.candidatePlusOne - 1], 1);
    }
}

void LineGrouping::fetchFirstLineBytes(std::uint32_t line)
{
    const Pending &p = pending(line);
    if (!p.skipped && p.candidatePlusOne)
        __builtin_prefetch(text_.lineBytes(int(p.candidatePlusOne - 1)).data());
}

// Keys compare equal when their upper-cased forms do. An ASCII key is folded on the fly; a key
// with other characters is compared through its upper-cased form, which for the group's first
// line is made again for every comparison rather than kept for every group. A Latin-1 line never
// equals a UTF-8 one: their capitals may share bytes but not letters.
bool LineGrouping::matches(const Pending &p, const Slot &slot)
{
    const std::string_view line = text_.lineBytes(int((slot.firstPlusOne & ~unicodeBit) - 1));
    const std::string_view stored = rules_.trimLines ? trimSpaces(line) : line;
    if (!p.unicode && !(slot.firstPlusOne & unicodeBit))
        return sameKey(p.key, stored, fold_);
    std::string_view theirs = stored;
    if (slot.firstPlusOne & unicodeBit) {
        const TextEncoding ours = p.unicode ? p.encoding : TextEncoding::Utf8;
        if (upperCaseInto(stored, storedUpper_) != ours)
            return false;
        theirs = storedUpper_;
    }
    return sameKey(p.unicode ? std::string_view(p.upper) : p.key, theirs, true);
}

void LineGrouping::place(std::uint32_t line)
{
    Pending &p = pending(line);
    if (p.skipped)
        return;
    const auto tag = std::uint32_t(p.hash >> 32);
    for (std::size_t i = home(p.hash);; i = i + 1 == slots_.size() ? 0 : i + 1) {
        Slot &slot = slots_[i];
        if (slot.firstPlusOne == 0) {
            slot = {tag, (line + 1) | (p.unicode ? unicodeBit : 0)};
            return;
        }
        if (slot.tag == tag && matches(p, slot)) {
            const std::uint32_t first = (slot.firstPlusOne & ~unicodeBit) - 1;
            std::uint32_t &group = links_[first];
            if (group == 0) {
                group = firstLine | 1;
                ++groupCount_;
                ++entryCount_;
            }
            ++group;
            ++entryCount_;
            links_[line] = first + 1;
            return;
        }
    }
}

} // namespace twinscan
