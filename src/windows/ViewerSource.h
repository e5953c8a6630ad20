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

    // The entries of the duplicates list, each standing for one line.
    virtual int entryCount() const = 0;
    virtual int lineOfEntry(int entry) const = 0;
    virtual bool isEntryMarked(int entry) const = 0;
    // Marks an entry without telling anyone; marksChanged() follows once.
    virtual void markEntry(int entry) = 0;
    virtual void marksChanged() = 0;
};

} // namespace twinscan
