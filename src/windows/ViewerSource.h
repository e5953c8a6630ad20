#pragma once

#include <QString>

namespace twinscan {

// The scanned file as the viewer sees it. Lines count from 0; every question is a direct index,
// asked for any of millions of lines while rows are drawn.
class ViewerSource
{
public:
    virtual ~ViewerSource() = default;

    virtual int lineCount() const = 0;
    virtual QString lineText(int line) const = 0;
    // The line has an entry in the duplicates list.
    virtual bool isDuplicate(int line) const = 0;
    // The entry of the line is marked for removal.
    virtual bool isMarked(int line) const = 0;
    // Marks the entry of a duplicate line without telling anyone; marksChanged() follows once.
    virtual void mark(int line) = 0;
    virtual void marksChanged() = 0;
};

} // namespace twinscan
