#include "editing/PastMemoryMarks.h"

#include <utility>

namespace twinscan {

PastMemoryMarks::PastMemoryMarks(LineBits removedWithFirstKept, LineBits removedWithLastKept,
    qint64 lastLineIndex, qint64 groupCount, qint64 entryCount)
    : notFirst_(std::move(removedWithFirstKept)),
      notLast_(std::move(removedWithLastKept)),
      lastLineIndex_(lastLineIndex),
      groupCount_(groupCount),
      entryCount_(entryCount)
{
}

void PastMemoryMarks::apply(MarkRule rule)
{
    switch (rule) {
    case MarkRule::All:
        first_ = between_ = last_ = true;
        break;
    case MarkRule::None:
        first_ = between_ = last_ = false;
        break;
    case MarkRule::Invert:
        first_ = !first_;
        between_ = !between_;
        last_ = !last_;
        break;
    case MarkRule::AllButFirst:
        first_ = false;
        between_ = last_ = true;
        break;
    case MarkRule::AllButLast:
        last_ = false;
        first_ = between_ = true;
        break;
    }
}

qint64 PastMemoryMarks::markedCount() const
{
    // A group has at least two lines: one first, one last, and the rest between.
    return (first_ ? groupCount_ : 0) + (last_ ? groupCount_ : 0)
        + (between_ ? entryCount_ - 2 * groupCount_ : 0);
}

std::optional<RemovalSet> PastMemoryMarks::removals() const
{
    const bool first = first_, between = between_, last = last_;
    std::optional<LineBits> marked = LineBits::combined(
        notFirst_, notLast_, [=](std::uint64_t notFirst, std::uint64_t notLast) {
            return (first ? notLast & ~notFirst : 0) | (between ? notFirst & notLast : 0)
                | (last ? notFirst & ~notLast : 0);
        });
    if (!marked)
        return std::nullopt;
    return RemovalSet(std::move(*marked), lastLineIndex_, markedCount());
}

} // namespace twinscan
