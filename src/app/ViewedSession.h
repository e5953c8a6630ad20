#pragma once

#include "app/ScanSession.h"
#include "windows/ViewerSource.h"

namespace twinscan {

// A scan's session as the viewer reads and marks it: the lines of its text, red where a line has
// an entry in the duplicates list, checked where that entry is marked.
class ViewedSession final : public ViewerSource
{
public:
    explicit ViewedSession(ScanSession &session) : session_(session) { }

    const std::shared_ptr<const LoadedText> &text() const override { return session_.text(); }
    int entryOfLine(int line) const override { return session_.entryOfLine(line); }
    bool isMarked(int line) const override { return session_.isLineMarked(line); }
    int entryCount() const override { return session_.entryCount(); }
    int lineOfEntry(int entry) const override { return session_.lineOfEntry(entry); }
    EntryGroup groupOfEntry(int entry) const override { return session_.groupOfEntry(entry); }
    bool isEntryMarked(int entry) const override { return session_.isEntryMarked(entry); }
    void markEntry(int entry) override { session_.setEntryMarked(entry, true); }
    void marksChanged() override { session_.notifyMarksChanged(); }

private:
    ScanSession &session_;
};

} // namespace twinscan
