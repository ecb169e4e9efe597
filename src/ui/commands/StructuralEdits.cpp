#include "commands/StructuralEdits.h"

#include "document/EditCommand.h"
#include "editor/EditHistory.h"
#include "editor/EditorState.h"
#include "editor/PanelHost.h"
#include "tree/StructureTree.h"
#include "platform/Prompter.h"

#include <QUndoCommand>

#include <memory>
#include <utility>

namespace mirvane {

namespace {

// "удаление вопроса", "вставку раздела": what a step did, in the accusative,
// to follow "Отменить" or "Повторить" in the menu.
QString StepName(const char* verb, NodeKind kind)
{
    return QString::fromUtf8(verb) +
           (kind == NodeKind::Question ? QStringLiteral(" вопроса") : QStringLiteral(" раздела"));
}

// A document command on the edit history: redo applies it, undo reverts it,
// and the editor's selection and panel follow.
class DocumentStep : public QUndoCommand {
public:
    // The first redo tells `done` the key of the item it concerns, or
    // leaves it empty when it did nothing.
    DocumentStep(StructuralEdits& edits, const QString& name, std::unique_ptr<EditCommand> command,
                 std::string& done)
        : edits_(edits), command_(std::move(command)), done_(&done)
    {
        setText(name);
    }
    void redo() override
    {
        edits_.Run(*command_, true);
        const bool nothing = command_->Does() == DocumentChange::Kind::None;
        if (done_ && !nothing)
            *done_ = command_->Key();
        done_ = nullptr;
        setObsolete(nothing); // the stack drops it
    }
    void undo() override { edits_.Run(*command_, false); }

private:
    StructuralEdits& edits_;
    std::unique_ptr<EditCommand> command_;
    std::string* done_;
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

std::string StructuralEdits::Push(const QString& name, std::unique_ptr<EditCommand> command)
{
    std::string key;
    history_.Record(new DocumentStep(*this, name, std::move(command), key));
    return key;
}

std::string StructuralEdits::Added(std::unique_ptr<EditCommand> command, NodeKind kind, const char* stepVerb)
{
    const std::string key = Push(StepName(stepVerb, kind), std::move(command));
    if (!key.empty() && focusAdded_)
        focusAdded_(key);
    return key;
}

std::string StructuralEdits::AddDivision()
{
    return Added(std::make_unique<AddItem>(tree_.SelectedKey(), NewDivision{}), NodeKind::Division, "добавление");
}

std::string StructuralEdits::AddQuestion()
{
    return Added(std::make_unique<AddItem>(tree_.SelectedKey(), std::optional<Question>()), NodeKind::Question,
                 "добавление");
}

std::string StructuralEdits::Paste(std::unique_ptr<AddItem> paste, NodeKind kind)
{
    pasting_ = true;
    std::string key;
    try {
        key = Push(StepName("вставку", kind), std::move(paste));
    } catch (...) {
        pasting_ = false;
        throw;
    }
    pasting_ = false;
    return key;
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
    Push(StepName(stepVerb, kind), std::make_unique<RemoveItem>(key));
}

void StructuralEdits::MoveUp() { Move(false); }

void StructuralEdits::MoveDown() { Move(true); }

void StructuralEdits::Move(bool down)
{
    const std::string key = state_.CurrentKey;
    const NodeKind kind = KindOf(key);
    if (kind != NodeKind::Question && kind != NodeKind::Division)
        return;
    Push(StepName("перемещение", kind), std::make_unique<MoveItem>(key, down));
}

void StructuralEdits::MoveTo(const std::string& key, const std::string& division, std::size_t index)
{
    Push(StepName("перемещение", KindOf(key)), std::make_unique<MoveItemTo>(key, division, index));
}

void StructuralEdits::Run(EditCommand& command, bool apply)
{
    TestDocument& document = *state_.Document;
    DocumentChange::Kind does = command.Does();
    if (!apply && does != DocumentChange::Kind::Moved)
        does = does == DocumentChange::Kind::Added ? DocumentChange::Kind::Removed : DocumentChange::Kind::Added;
    switch (does) {
    case DocumentChange::Kind::Removed: {
        const std::string& key = command.Key();
        const std::string next = document.SelectionAfterDelete(key);
        const std::string parent = KindOf(key) == NodeKind::Question ? document.ParentOf(key) : std::string();
        // Stores the panel into the item about to go, then shows the next one.
        SelectAndRun(next);
        apply ? command.Apply(document) : command.Revert(document);
        if (next == parent)
            host_.Data2Form(); // the division's panel counts its questions without the deleted one
        break;
    }
    case DocumentChange::Kind::Moved:
        // Neither stored nor reloaded when already shown: the panel stays on
        // the moved item with whatever was typed into it.
        Show(command.Key());
        apply ? command.Apply(document) : command.Revert(document);
        if (command.Does() == DocumentChange::Kind::Moved)
            tree_.Select(command.Key());
        break;
    default: { // an item comes (the first apply of an add tells its key only now)
        apply ? command.Apply(document) : command.Revert(document);
        std::string shown = command.Key();
        // A pasted division's questions have passed through the panel but
        // the last, which is shown; the division itself is not.
        if (pasting_ && KindOf(shown) == NodeKind::Division && !document.QuestionKeys(shown).empty())
            shown = document.QuestionKeys(shown).back();
        if (!shown.empty())
            SelectAndRun(shown);
        break;
    }
    }
}

} // namespace mirvane
