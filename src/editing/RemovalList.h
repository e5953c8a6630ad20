#pragma once

#include "engine/LineList.h"

#include <QString>
#include <optional>
#include <vector>

namespace twinscan {

// The 1-based numbers of the lines a save leaves out, looked up in constant time per line.
class RemovalSet
{
public:
    RemovalSet() = default;
    // Room for the lines 1 .. lastLineIndex + 1; other numbers are never removed.
    explicit RemovalSet(int lastLineIndex);

    void add(int lineNumber);
    bool contains(qint64 lineNumber) const
    {
        return lineNumber > 0 && lineNumber < qint64(removed_.size())
            && removed_[std::size_t(lineNumber)];
    }
    // The marked entries that gave a number, as listed in the removal list.
    int entryCount() const { return entries_; }
    bool isEmpty() const { return entries_ == 0; }

private:
    std::vector<bool> removed_;
    int entries_ = 0;
};

// The line number of a duplicate entry's text: the characters between the leading "[" and the
// first "]" with surrounding spaces removed. Empty when they are not a number.
std::optional<int> entryLineNumber(const QString &entryText);

// The line numbers of the marked entries of `duplicates`, for the copy. Entries whose number
// cannot be read are skipped.
RemovalSet collectRemovals(const LineList &duplicates, int lastLineIndex);

} // namespace twinscan
