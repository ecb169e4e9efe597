#include "editor/StructuralEdits.h"

#include "editor/EditorState.h"
#include "editor/PanelHost.h"
#include "editor/StructureTree.h"
#include "platform/Prompter.h"

namespace mirvane {

void StructuralEdits::SelectAndRun(const std::string& key)
{
    tree_.Select(key);
    host_.tvTreeView_Click();
}

std::string StructuralEdits::Added(const DocumentChange& change)
{
    if (!change)
        return {};
    tree_.Apply(change, *state_.Document);
    // The old panel is stored, then the new item's panel is shown.
    SelectAndRun(change.Key);
    return change.Key;
}

std::string StructuralEdits::AddDivision() { return Added(state_.Document->AddDivision(tree_.SelectedKey())); }

std::string StructuralEdits::AddQuestion() { return Added(state_.Document->AddQuestion(tree_.SelectedKey())); }

void StructuralEdits::DeleteItem(bool confirm)
{
    const std::string key = state_.CurrentKey;
    const NodeKind kind = KindOf(key);
    if (kind != NodeKind::Question && kind != NodeKind::Division)
        return;
    if (confirm) {
        const QString& question = kind == NodeKind::Question ? edit_text::kDeleteQuestion : edit_text::kDeleteDivision;
        if (prompter_.AskYesNo(question, edit_text::kConfirmCaption) != Prompter::Answer::Yes)
            return;
    }
    TestDocument& document = *state_.Document;
    const std::string next = document.SelectionAfterDelete(key);
    // Stores the panel into the item about to go, then shows the next one.
    SelectAndRun(next);
    const DocumentChange change = document.Delete(key);
    tree_.Apply(change, document);
    if (next == change.Parent)
        host_.Data2Form(); // the division's panel counts its questions without the deleted one
}

void StructuralEdits::MoveUp() { Move(false); }

void StructuralEdits::MoveDown() { Move(true); }

void StructuralEdits::Move(bool down)
{
    const std::string key = state_.CurrentKey;
    TestDocument& document = *state_.Document;
    const DocumentChange change = down ? document.MoveDown(key) : document.MoveUp(key);
    if (!change)
        return;
    // Neither stored nor reloaded: the panel stays on the moved item.
    tree_.Apply(change, document);
    tree_.Select(key);
}

} // namespace mirvane
