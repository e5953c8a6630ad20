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
        kinds_.first = kinds_.between = kinds_.last = true;
        break;
    case MarkRule::None:
        kinds_.first = kinds_.between = kinds_.last = false;
        break;
    case MarkRule::Invert:
        kinds_.first = !kinds_.first;
        kinds_.between = !kinds_.between;
        kinds_.last = !kinds_.last;
        break;
    case MarkRule::AllButFirst:
        kinds_.first = false;
        kinds_.between = kinds_.last = true;
        break;
    case MarkRule::AllButLast:
        kinds_.last = false;
        kinds_.first = kinds_.between = true;
        break;
    }
}

qint64 PastMemoryMarks::markedCount() const
{
    // A group has at least two lines: one first, one last, and the rest between.
    return (kinds_.first ? groupCount_ : 0) + (kinds_.last ? groupCount_ : 0)
        + (kinds_.between ? entryCount_ - 2 * groupCount_ : 0);
}

std::optional<RemovalSet> PastMemoryMarks::removals() const
{
    const bool first = kinds_.first, between = kinds_.between, last = kinds_.last;
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
