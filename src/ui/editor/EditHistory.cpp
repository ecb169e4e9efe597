#include "editor/EditHistory.h"

#include <QUndoStack>

#include <memory>

namespace mirvane {

EditHistory::EditHistory(QObject* parent) : QObject(parent), stack_(new QUndoStack(this)) {}

void EditHistory::Record(QUndoCommand* step)
{
    // The stack takes the step only once its first redo has returned: one
    // that throws is still ours to delete.
    std::unique_ptr<QUndoCommand> owned(step);
    const bool typing = step->id() != -1;
    stack_->push(step); // a typing step may merge into the one before it
    owned.release();
    if (!typing)
        EndTypingRun();
}

void EditHistory::Clear()
{
    stack_->clear();
    EndTypingRun();
}

void EditHistory::Replay(bool undo)
{
    EndTypingRun();
    ++replaying_;
    try {
        undo ? stack_->undo() : stack_->redo();
    } catch (...) {
        --replaying_;
        throw;
    }
    --replaying_;
}

} // namespace mirvane
