#pragma once

#include "engine/DuplicateScanner.h"
#include "engine/LoadedText.h"

#include <QString>
#include <memory>

namespace twinscan {

// The scanned file as the viewer sees it. Lines count from 0; every question is a direct index,
// asked for any of millions of lines while rows are drawn.
class ViewerSource
{
public:
    virtual ~ViewerSource() = default;

    virtual const std::shared_ptr<const LoadedText> &text() const = 0;
    int lineCount() const { return text()->lineCount(); }
    QString lineText(int line) const { return text()->lineText(line); }
    // The line's entry in the duplicates list, or -1.
    virtual int entryOfLine(int line) const = 0;
    bool isDuplicate(int line) const { return entryOfLine(line) >= 0; }
    // The entry of the line is marked for removal.
    virtual bool isMarked(int line) const = 0;

    // The entries of the duplicates list, each standing for one line, group after group.
    virtual int entryCount() const = 0;
    virtual int lineOfEntry(int entry) const = 0;
    virtual EntryGroup groupOfEntry(int entry) const = 0;
    virtual bool isEntryMarked(int entry) const = 0;
    // Marks an entry without telling anyone; marksChanged() follows once.
    virtual void markEntry(int entry) = 0;
    virtual void marksChanged() = 0;
};

} // namespace twinscan
