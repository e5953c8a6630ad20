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

    int lineCount() const override { return session_.lineCount(); }
    QString lineText(int line) const override { return session_.text()->lineText(line); }
    bool isDuplicate(int line) const override { return session_.entryOfLine(line) >= 0; }
    bool isMarked(int line) const override { return session_.isLineMarked(line); }
    void mark(int line) override { session_.setEntryMarked(session_.entryOfLine(line), true); }
    void marksChanged() override { session_.notifyMarksChanged(); }

private:
    ScanSession &session_;
};

} // namespace twinscan
