#pragma once

#include "editing/MarkingRules.h"
#include "editing/RemovalList.h"
#include "engine/LineBits.h"

#include <QtGlobal>
#include <optional>

namespace twinscan {

// The marks of a scan past memory, which lists no entries to check. Every line of a group is its
// first, its last or one in between, and the marking rules mark or unmark each of the three kinds
// as a whole, so three marks stand for the marks of every line. The kinds follow from the lines
// the scan would remove keeping each group's first and keeping its last: two bits a line.
class PastMemoryMarks
{
public:
    // Which kinds of line are marked: what a marking step changes, and Undo restores.
    struct Kinds
    {
        bool first = false;
        bool between = false;
        bool last = false;
        bool operator==(const Kinds &) const = default;
    };

    PastMemoryMarks() = default;
    PastMemoryMarks(LineBits removedWithFirstKept, LineBits removedWithLastKept,
        qint64 lastLineIndex, qint64 groupCount, qint64 entryCount);

    void apply(MarkRule rule);
    Kinds kinds() const { return kinds_; }
    void setKinds(Kinds kinds) { kinds_ = kinds; }
    qint64 markedCount() const;
    // The marked lines, for the save; empty when memory runs out.
    std::optional<RemovalSet> removals() const;

private:
    LineBits notFirst_;
    LineBits notLast_;
    qint64 lastLineIndex_ = -1;
    qint64 groupCount_ = 0;
    qint64 entryCount_ = 0;
    Kinds kinds_;
};

} // namespace twinscan
