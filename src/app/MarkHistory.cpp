#include "app/MarkHistory.h"

#include "app/ScanSession.h"

#include <QAction>
#include <QUndoCommand>
#include <new>
#include <optional>
#include <utility>

namespace twinscan {

// A step is pushed once it has been taken, so the push's own redo does nothing.
class MarkHistory::Step : public QUndoCommand
{
public:
    void redo() final
    {
        if (!std::exchange(pushed_, false))
            again();
    }

protected:
    virtual void again() = 0;

private:
    bool pushed_ = true;
};

// The flips of a list's marks, which undo the step as they do it again.
class MarkHistory::ChangeStep final : public Step
{
public:
    ChangeStep(MarkHistory &history, MarkChange change)
        : history_(history), change_(std::move(change))
    {
    }
    void undo() override { history_.apply(change_); }

private:
    void again() override { history_.apply(change_); }
    MarkHistory &history_;
    MarkChange change_;
};

class MarkHistory::KindsStep final : public Step
{
public:
    KindsStep(MarkHistory &history, PastMemoryMarks::Kinds before, PastMemoryMarks::Kinds after)
        : history_(history), before_(before), after_(after)
    {
    }
    void undo() override { history_.applyKinds(before_); }

private:
    void again() override { history_.applyKinds(after_); }
    MarkHistory &history_;
    PastMemoryMarks::Kinds before_;
    PastMemoryMarks::Kinds after_;
};

MarkHistory::MarkHistory(
    std::function<ScanSession *()> session, std::function<void()> restored, QObject *parent)
    : QObject(parent), session_(std::move(session)), restored_(std::move(restored))
{
    stack_.setUndoLimit(stepsKept);
    connect(&stack_, &QUndoStack::canUndoChanged, this, &MarkHistory::updateActions);
    connect(&stack_, &QUndoStack::canRedoChanged, this, &MarkHistory::updateActions);
}

// The steps refer to the history, which must outlive them; the actions may be gone already.
MarkHistory::~MarkHistory()
{
    stack_.disconnect(this);
    stack_.clear();
}

void MarkHistory::record(MarkChange change)
{
    if (change.isEmpty())
        return;
    stack_.push(new ChangeStep(*this, std::move(change)));
    updateActions();
}

void MarkHistory::recordKinds(PastMemoryMarks::Kinds before, PastMemoryMarks::Kinds after)
{
    if (before == after)
        return;
    stack_.push(new KindsStep(*this, before, after));
    updateActions();
}

void MarkHistory::track(const LineList &marks, const std::function<void()> &step)
{
    std::optional<MarkSnapshot> before;
    try {
        before.emplace(marks);
    } catch (const std::bad_alloc &) {
    }
    step();
    try {
        if (before) {
            record(MarkChange::since(*before, marks));
            return;
        }
    } catch (const std::bad_alloc &) {
    }
    clear();
}

void MarkHistory::undo()
{
    if (canUndo())
        stack_.undo();
}

void MarkHistory::redo()
{
    if (canRedo())
        stack_.redo();
}

void MarkHistory::setLocked(bool locked)
{
    locked_ = locked;
    updateActions();
}

void MarkHistory::bind(QAction *undoAction, QAction *redoAction)
{
    undo_ = undoAction;
    redo_ = redoAction;
    connect(undo_, &QAction::triggered, this, &MarkHistory::undo);
    connect(redo_, &QAction::triggered, this, &MarkHistory::redo);
    updateActions();
}

void MarkHistory::apply(const MarkChange &change)
{
    ScanSession *session = session_();
    if (!session || !change.applyTo(*session->lists().List2))
        return;
    session->notifyMarksChanged(change.firstEntry(), change.lastEntry());
    restored_();
}

void MarkHistory::applyKinds(PastMemoryMarks::Kinds kinds)
{
    ScanSession *session = session_();
    if (!session || !session->pastMemory())
        return;
    session->pastMemory()->marks.setKinds(kinds);
    restored_();
}

void MarkHistory::updateActions()
{
    if (undo_)
        undo_->setEnabled(canUndo());
    if (redo_)
        redo_->setEnabled(canRedo());
}

} // namespace twinscan
