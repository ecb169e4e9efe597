#include "commands/StructuralEdits.h"

#include "document/EditCommand.h"
#include "editor/EditHistory.h"
#include "editor/EditorState.h"
#include "editor/PanelHost.h"
#include "tree/StructureTree.h"
#include "platform/Prompter.h"

#include <QUndoCommand>

#include <algorithm>
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

// The same for several items at once, of any kind.
QString SeveralStepName(const char* verb) { return QString::fromUtf8(verb) + QStringLiteral(" выбранных элементов"); }

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
    return Pasted(StepName("вставку", kind), std::move(paste));
}

std::string StructuralEdits::PasteSeveral(std::unique_ptr<PasteItems> paste)
{
    return Pasted(QStringLiteral("вставку элементов"), std::move(paste));
}

std::string StructuralEdits::Pasted(const QString& name, std::unique_ptr<EditCommand> paste)
{
    pasting_ = true;
    std::string key;
    try {
        key = Push(name, std::move(paste));
    } catch (...) {
        pasting_ = false;
        throw;
    }
    pasting_ = false;
    return key;
}

std::vector<std::string> StructuralEdits::ItemsToEdit() const
{
    std::vector<std::string> selected = tree_.SelectedKeys();
    // A node Ctrl-clicked out of the selection stays the one the panel
    // shows, but the commands act on what is still selected.
    if (selected.size() > 1 || (selected.size() == 1 && selected.front() != state_.CurrentKey))
        return state_.Document->ItemsAmong(selected);
    const NodeKind kind = KindOf(state_.CurrentKey);
    if (kind != NodeKind::Question && kind != NodeKind::Division)
        return {};
    return {state_.CurrentKey};
}

void StructuralEdits::DeleteItem()
{
    const std::vector<std::string> items = ItemsToEdit();
    if (items.empty())
        return;
    QString question = edit_text::DeleteSeveral(items.size());
    if (items.size() == 1)
        question = KindOf(items.front()) == NodeKind::Question ? edit_text::kDeleteQuestion : edit_text::kDeleteDivision;
    if (prompter_.AskYesNo(question, edit_text::kConfirmCaption) != Prompter::Answer::Yes)
        return;
    Remove("удаление");
}

void StructuralEdits::CutItem() { Remove("вырезание"); }

void StructuralEdits::Remove(const char* stepVerb)
{
    const std::vector<std::string> items = ItemsToEdit();
    if (items.size() == 1)
        Push(StepName(stepVerb, KindOf(items.front())), std::make_unique<RemoveItem>(items.front()));
    else if (!items.empty())
        Push(SeveralStepName(stepVerb), RemoveItems(*state_.Document, items));
}

void StructuralEdits::MoveUp() { Move(false); }

void StructuralEdits::MoveDown() { Move(true); }

void StructuralEdits::Move(bool down)
{
    const std::vector<std::string> items = ItemsToEdit();
    if (items.size() == 1)
        Push(StepName("перемещение", KindOf(items.front())), std::make_unique<MoveItem>(items.front(), down));
    else if (!items.empty())
        Push(SeveralStepName("перемещение"), MoveItems(*state_.Document, items, down));
}

void StructuralEdits::MoveTo(const std::string& key, const std::string& division, std::size_t index)
{
    Push(StepName("перемещение", KindOf(key)), std::make_unique<MoveItemTo>(key, division, index));
}

void StructuralEdits::Run(EditCommand& command, bool apply)
{
    TestDocument& document = *state_.Document;
    // Several items at once are handled as one; those that come or were
    // moved stay selected together.
    auto* group = dynamic_cast<CommandGroup*>(&command);
    auto keys = [&] { return group ? group->Keys() : std::vector<std::string>{command.Key()}; };
    auto run = [&] { apply ? command.Apply(document) : command.Revert(document); };
    DocumentChange::Kind does = command.Does();
    if (!apply && does != DocumentChange::Kind::Moved)
        does = does == DocumentChange::Kind::Added ? DocumentChange::Kind::Removed : DocumentChange::Kind::Added;
    switch (does) {
    case DocumentChange::Kind::Removed: {
        const std::vector<std::string> going = keys();
        const std::string next = document.SelectionAfterDelete(going);
        const bool emptied = KindOf(next) == NodeKind::Division &&
                             std::any_of(going.begin(), going.end(), [&](const std::string& key) {
                                 return KindOf(key) == NodeKind::Question && document.ParentOf(key) == next;
                             });
        // Stores the panel into the item about to go, then shows the next one.
        SelectAndRun(next);
        run();
        if (emptied)
            host_.Data2Form(); // the division's panel counts its questions without the deleted ones
        break;
    }
    case DocumentChange::Kind::Moved: {
        const std::vector<std::string> moved = keys();
        const bool shownMoves = std::find(moved.begin(), moved.end(), state_.CurrentKey) != moved.end();
        const std::string shown = shownMoves ? state_.CurrentKey : moved.front();
        // Neither stored nor reloaded when already shown: the panel stays on
        // the moved item with whatever was typed into it.
        Show(shown);
        run();
        if (command.Does() == DocumentChange::Kind::Moved) {
            tree_.Select(shown);
            if (group)
                tree_.SelectAlso(moved);
        }
        break;
    }
    default: { // an item comes (the first apply of an add tells its key only now)
        run();
        const std::vector<std::string> came = keys();
        if (came.empty())
            break;
        std::string shown = pasting_ ? came.back() : came.front();
        // A pasted division's questions have passed through the panel but
        // the last, which is shown; the division itself is not.
        if (pasting_ && KindOf(shown) == NodeKind::Division && !document.QuestionKeys(shown).empty())
            shown = document.QuestionKeys(shown).back();
        if (!shown.empty())
            SelectAndRun(shown);
        if (group)
            tree_.SelectAlso(came);
        break;
    }
    }
}

} // namespace mirvane
