#pragma once

#include "editing/MarkChange.h"
#include "editing/PastMemoryMarks.h"

#include <QObject>
#include <QPointer>
#include <QUndoStack>
#include <functional>

class QAction;

namespace twinscan {

class ScanSession;

// The marking steps taken on the current scan's results (a check box, a marking rule, the
// viewer's checks), which Undo takes back and Redo does again. The window that owns the marks
// keeps it and empties it whenever the results go.
class MarkHistory final : public QObject
{
    Q_OBJECT

public:
    // `session` gives whose marks the steps changed, none between scans; `restored` is told once
    // an undo or a redo has changed them.
    MarkHistory(std::function<ScanSession *()> session, std::function<void()> restored,
        QObject *parent = nullptr);
    ~MarkHistory() override;

    // A step that has changed the marks already; one that changed none is not kept. A new step
    // drops what could have been redone.
    void record(MarkChange change);
    // Runs `step`, which changes `marks`, and records what it changed. Without the memory to tell
    // that, the step still runs and every step is forgotten: none could be undone exactly.
    void track(const LineList &marks, const std::function<void()> &step);
    // A step on the marks of a scan past memory, which mark kinds of line, not entries.
    void recordKinds(PastMemoryMarks::Kinds before, PastMemoryMarks::Kinds after);
    void clear() { stack_.clear(); }
    void undo();
    void redo();
    bool canUndo() const { return !locked_ && stack_.canUndo(); }
    bool canRedo() const { return !locked_ && stack_.canRedo(); }
    // While a job reads the marks, nothing is undone or redone.
    void setLocked(bool locked);
    // The actions trigger undo and redo, enabled while there is something to undo or redo.
    void bind(QAction *undoAction, QAction *redoAction);

    // Each step of a list of millions of entries may keep a bit per entry; the oldest go first.
    static constexpr int stepsKept = 100;

private:
    class Step;
    class ChangeStep;
    class KindsStep;
    void apply(const MarkChange &change);
    void applyKinds(PastMemoryMarks::Kinds kinds);
    void updateActions();

    std::function<ScanSession *()> session_;
    std::function<void()> restored_;
    QUndoStack stack_;
    bool locked_ = false;
    QPointer<QAction> undo_;
    QPointer<QAction> redo_;
};

} // namespace twinscan
