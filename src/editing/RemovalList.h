#pragma once

#include "engine/LineBits.h"
#include "engine/LineList.h"

#include <QString>
#include <optional>
#include <vector>

namespace twinscan {

// The 1-based numbers of the lines a save leaves out, looked up in constant time per line: one
// bit a line, so that a file of billions of lines can have its removals at hand.
class RemovalSet
{
public:
    RemovalSet() = default;
    // Room for the lines 1 .. lastLineIndex + 1; other numbers are never removed.
    explicit RemovalSet(qint64 lastLineIndex);
    // The lines a scan past memory removed, by 0-based line, and how many they are.
    RemovalSet(LineBits removed, qint64 lastLineIndex, qint64 count);

    void add(qint64 lineNumber);
    bool contains(qint64 lineNumber) const
    {
        return lineNumber > 0 && lineNumber <= lines_
            && removed_.test(std::uint64_t(lineNumber - 1));
    }
    // The marked entries that gave a number, as listed in the removal list.
    qint64 entryCount() const { return entries_; }
    bool isEmpty() const { return entries_ == 0; }

private:
    LineBits removed_;
    qint64 lines_ = 0;
    qint64 entries_ = 0;
};

// The line number of a duplicate entry's text: the characters between the leading "[" and the
// first "]" with surrounding spaces removed. Empty when they are not a number.
std::optional<int> entryLineNumber(const QString &entryText);

// The line numbers of the marked entries of `duplicates`, for the copy. Entries whose number
// cannot be read are skipped.
RemovalSet collectRemovals(const LineList &duplicates, int lastLineIndex);

} // namespace twinscan
