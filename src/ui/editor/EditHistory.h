#pragma once
// The document's one history of changes, for undo and redo: structural edits
// (adding, deleting, moving, cutting and pasting divisions and questions) and
// every edit of a panel field. Each step is a command on the document: its
// first redo makes the change, later undos and redos take it back and do it
// again.
//
// Typing in one field of one node is one step until the typing run ends: at
// a selection change, an undo or a redo, or any other step.
#include <QObject>
#include <QString>

#include <memory>

class QUndoCommand;
class QUndoStack;

namespace mirvane {

class EditHistory : public QObject {
    Q_OBJECT
public:
    explicit EditHistory(QObject* parent);

    QUndoStack& Stack() { return *stack_; }

    // Makes the step's change (its first redo) and records it.
    void Record(QUndoCommand* step);
    // Forgets every step: a new or opened document starts a new history.
    void Clear();

    void Undo() { Replay(true); }
    void Redo() { Replay(false); }
    // True while a step is undone or redone: what it changes is not a new step.
    bool Replaying() const { return replaying_ > 0; }

    // The typing run a field edit belongs to; consecutive edits merge only
    // within one run.
    int TypingRun() const { return typingRun_; }
    void EndTypingRun() { ++typingRun_; }

private:
    void Replay(bool undo);

    QUndoStack* stack_;
    int replaying_ = 0;
    int typingRun_ = 0;
};

} // namespace mirvane
