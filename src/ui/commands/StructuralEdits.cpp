#include "commands/StructuralEdits.h"

#include "editor/EditHistory.h"
#include "editor/EditorState.h"
#include "editor/PanelHost.h"
#include "tree/StructureTree.h"
#include "platform/Prompter.h"

#include <QUndoCommand>

#include <utility>

namespace mirvane {

namespace {

// "удаление вопроса", "вставку раздела": what a step did, in the accusative,
// to follow "Отменить" or "Повторить" in the menu.
QString StepName(const char* verb, const std::string& key)
{
    return QString::fromUtf8(verb) +
           (KindOf(key) == NodeKind::Question ? QStringLiteral(" вопроса") : QStringLiteral(" раздела"));
}

// A step recorded after the change was made: the first redo does nothing.
class DoneStep : public QUndoCommand {
public:
    DoneStep(StructuralEdits& edits, const QString& name) : edits_(edits) { setText(name); }
    void redo() final
    {
        if (done_)
            Redo();
        done_ = true;
    }

protected:
    virtual void Redo() = 0;
    StructuralEdits& edits_;

private:
    bool done_ = false;
};

// An item that came into the document: undo takes it out and keeps it.
class ItemAdded : public DoneStep {
public:
    ItemAdded(StructuralEdits& edits, const QString& name, std::string key)
        : DoneStep(edits, name), key_(std::move(key))
    {
    }
    void undo() override { item_ = edits_.TakeOut(key_); }

protected:
    void Redo() override { edits_.PutBack(std::move(item_)); }

private:
    std::string key_;
    DetachedItem item_;
};

// An item that went: the step keeps it until undo puts it back.
class ItemRemoved : public DoneStep {
public:
    ItemRemoved(StructuralEdits& edits, const QString& name, DetachedItem item)
        : DoneStep(edits, name), key_(item.Key), item_(std::move(item))
    {
    }
    void undo() override { edits_.PutBack(std::move(item_)); }

protected:
    void Redo() override { item_ = edits_.TakeOut(key_); }

private:
    std::string key_;
    DetachedItem item_;
};

class ItemMoved : public DoneStep {
public:
    ItemMoved(StructuralEdits& edits, const QString& name, std::string key, bool down)
        : DoneStep(edits, name), key_(std::move(key)), down_(down)
    {
    }
    void undo() override { edits_.MoveItem(key_, !down_); }

protected:
    void Redo() override { edits_.MoveItem(key_, down_); }

private:
    std::string key_;
    bool down_;
};

} // namespace

void StructuralEdits::SelectAndRun(const std::string& key)
{
    tree_.Select(key);
    host_.ShowSelectedNode();
}

void StructuralEdits::Show(const std::string& key)
{
    if (state_.CurrentKey != key || tree_.SelectedKey() != key)
        SelectAndRun(key);
}

std::string StructuralEdits::Added(const DocumentChange& change, const char* stepVerb)
{
    if (!change)
        return {};
    tree_.Apply(change, *state_.Document);
    // The old panel is stored, then the new item's panel is shown.
    SelectAndRun(change.Key);
    history_.Record(new ItemAdded(*this, StepName(stepVerb, change.Key), change.Key));
    if (focusAdded_)
        focusAdded_(change.Key);
    return change.Key;
}

std::string StructuralEdits::AddDivision()
{
    return Added(state_.Document->AddDivision(tree_.SelectedKey()), "добавление");
}

std::string StructuralEdits::AddQuestion()
{
    return Added(state_.Document->AddQuestion(tree_.SelectedKey()), "добавление");
}

void StructuralEdits::RecordPasted(const std::string& key)
{
    history_.Record(new ItemAdded(*this, StepName("вставку", key), key));
}

void StructuralEdits::DeleteItem()
{
    const NodeKind kind = KindOf(state_.CurrentKey);
    if (kind != NodeKind::Question && kind != NodeKind::Division)
        return;
    const QString& question = kind == NodeKind::Question ? edit_text::kDeleteQuestion : edit_text::kDeleteDivision;
    if (prompter_.AskYesNo(question, edit_text::kConfirmCaption) != Prompter::Answer::Yes)
        return;
    Remove("удаление");
}

void StructuralEdits::CutItem() { Remove("вырезание"); }

void StructuralEdits::Remove(const char* stepVerb)
{
    const std::string key = state_.CurrentKey;
    const NodeKind kind = KindOf(key);
    if (kind != NodeKind::Question && kind != NodeKind::Division)
        return;
    history_.Record(new ItemRemoved(*this, StepName(stepVerb, key), TakeOut(key)));
}

DetachedItem StructuralEdits::TakeOut(const std::string& key)
{
    TestDocument& document = *state_.Document;
    const std::string next = document.SelectionAfterDelete(key);
    // Stores the panel into the item about to go, then shows the next one.
    SelectAndRun(next);
    DetachedItem item = document.Detach(key);
    tree_.Apply({DocumentChange::Kind::Removed, item.Key, item.Parent, item.Index}, document);
    if (next == item.Parent)
        host_.Data2Form(); // the division's panel counts its questions without the deleted one
    return item;
}

void StructuralEdits::PutBack(DetachedItem item)
{
    TestDocument& document = *state_.Document;
    const DocumentChange change = document.Attach(std::move(item));
    tree_.Apply(change, document);
    SelectAndRun(change.Key);
}

void StructuralEdits::MoveUp()
{
    if (Move(false))
        history_.Record(new ItemMoved(*this, StepName("перемещение", state_.CurrentKey), state_.CurrentKey, false));
}

void StructuralEdits::MoveDown()
{
    if (Move(true))
        history_.Record(new ItemMoved(*this, StepName("перемещение", state_.CurrentKey), state_.CurrentKey, true));
}

void StructuralEdits::MoveItem(const std::string& key, bool down)
{
    Show(key);
    Move(down);
}

bool StructuralEdits::Move(bool down)
{
    const std::string key = state_.CurrentKey;
    TestDocument& document = *state_.Document;
    const DocumentChange change = down ? document.MoveDown(key) : document.MoveUp(key);
    if (!change)
        return false;
    // Neither stored nor reloaded: the panel stays on the moved item.
    tree_.Apply(change, document);
    tree_.Select(key);
    return true;
}

} // namespace mirvane
