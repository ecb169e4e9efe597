#include "editor/StructuralEdits.h"

#include "editor/PanelTransfer.h"
#include "editor/StructureTree.h"
#include "editor/TextBridge.h"
#include "mainwindow/EditPanels.h"
#include "mainwindow/frmMain.h"
#include "model/KeyCounter.h"
#include "platform/Prompter.h"

#include <QLabel>

#include <utility>
#include <vector>

namespace mirvane {

namespace {
const std::string kTemporaryKey = "new";

char KindOf(const std::string& key) { return key.empty() ? '\0' : key[0]; }
} // namespace

void StructuralEdits::SelectAndRun(const std::string& key)
{
    window_.Tree().Select(key);
    window_.tvTreeView_Click();
}

std::string StructuralEdits::AddDivision()
{
    StructureTree& tree = window_.Tree();
    const std::string key = "d" + std::to_string(NextKeyNumber());
    const std::string selected = tree.SelectedKey();
    std::string after;
    switch (KindOf(selected)) {
    case 'd':
        after = selected; // the new division follows it and its questions
        break;
    case 'q':
        after = tree.ParentKey(selected);
        break;
    default:
        after = "mrk"; // the new division becomes the first
        break;
    }
    tree.InsertAfter(after, key, edit_text::kNewDivisionName, TreeImage::Division);

    auto division = std::make_unique<Division>();
    division->Key = key;
    division->Name = ToModel(edit_text::kNewDivisionName);
    window_.State().Document->Divisions.Add(key, std::move(division));
    SelectAndRun(key);
    return key;
}

std::string StructuralEdits::AddQuestion()
{
    StructureTree& tree = window_.Tree();
    // The number is drawn before the node kind is looked at, so it is used up
    // even when nothing is added.
    const std::string key = "q" + std::to_string(NextKeyNumber());
    const std::string selected = tree.SelectedKey();
    std::string owner;
    switch (KindOf(selected)) {
    case 'd':
        tree.AddChild(selected, key, QString(), TreeImage::Question);
        owner = selected;
        break;
    case 'q':
        tree.InsertAfter(selected, key, QString(), TreeImage::Question);
        owner = tree.ParentKey(selected);
        break;
    default:
        return {};
    }
    auto question = std::make_unique<Question>();
    question->Key = key;
    window_.State().Document->Divisions.Item(owner).Questions.Add(key, std::move(question));
    SelectAndRun(key);
    return key;
}

void StructuralEdits::DeleteItem(bool confirm)
{
    switch (KindOf(window_.State().CurrentKey)) {
    case 'q':
        DeleteQuestion(confirm);
        break;
    case 'd':
        DeleteDivision(confirm);
        break;
    default:
        break;
    }
}

void StructuralEdits::DeleteQuestion(bool confirm)
{
    const std::string key = window_.State().CurrentKey;
    if (confirm && window_.Services().prompter->AskYesNo(edit_text::kDeleteQuestion, edit_text::kConfirmCaption) !=
                       Prompter::Answer::Yes)
        return;
    StructureTree& tree = window_.Tree();
    const std::string division = tree.ParentKey(key);
    std::string next = tree.NextSiblingKey(key);
    if (next.empty())
        next = tree.PreviousSiblingKey(key);
    if (next.empty())
        next = division;
    // Stores the panel into the question about to go, then shows the next.
    SelectAndRun(next);
    tree.Remove(key);
    Division& owner = window_.State().Document->Divisions.Item(division);
    owner.Questions.Remove(key);
    if (next == division)
        window_.Panels().LabelFNQ->setText(QuestionCountCaption(static_cast<int>(owner.Questions.Count())));
}

void StructuralEdits::DeleteDivision(bool confirm)
{
    const std::string key = window_.State().CurrentKey;
    if (confirm && window_.Services().prompter->AskYesNo(edit_text::kDeleteDivision, edit_text::kConfirmCaption) !=
                       Prompter::Answer::Yes)
        return;
    StructureTree& tree = window_.Tree();
    std::string next = tree.NextSiblingKey(key);
    if (next.empty()) {
        next = tree.PreviousSiblingKey(key);
        if (next == "mrk")
            next = "par"; // it was the only division
    }
    SelectAndRun(next);
    tree.Remove(key);
    window_.State().Document->Divisions.Remove(key);
}

void StructuralEdits::MoveUp() { Move(false); }

void StructuralEdits::MoveDown() { Move(true); }

void StructuralEdits::Move(bool down)
{
    switch (KindOf(window_.State().CurrentKey)) {
    case 'q':
        MoveQuestion(down);
        break;
    case 'd':
        MoveDivision(down);
        break;
    default:
        break;
    }
}

// A moved node is re-created under the same key: the model needs no change
// and the panel, anchored to the current key, keeps showing the moved item
// with whatever was typed into it.
void StructuralEdits::MoveQuestion(bool down)
{
    StructureTree& tree = window_.Tree();
    const std::string key = window_.State().CurrentKey;
    const std::string neighbour = down ? tree.NextSiblingKey(key) : tree.PreviousSiblingKey(key);
    if (neighbour.empty())
        return; // a question never leaves its division
    if (down)
        tree.InsertAfter(neighbour, kTemporaryKey, QStringLiteral("new"), TreeImage::Question);
    else
        tree.InsertBefore(neighbour, kTemporaryKey, QStringLiteral("new"), TreeImage::Question);
    tree.SetText(kTemporaryKey, tree.Text(key));
    tree.Remove(key);
    tree.SetKey(kTemporaryKey, key);
    tree.Select(key);
    window_.State().CurrentKey = key;
}

void StructuralEdits::MoveDivision(bool down)
{
    StructureTree& tree = window_.Tree();
    const std::string key = window_.State().CurrentKey;
    const std::string neighbour = down ? tree.NextSiblingKey(key) : tree.PreviousSiblingKey(key);
    if (neighbour.empty() || neighbour == "mrk" || neighbour == "par")
        return;
    std::vector<std::pair<std::string, QString>> questions;
    for (int i = 0; i < tree.ChildCount(key); ++i) {
        const std::string child = tree.ChildKey(key, i);
        questions.emplace_back(child, tree.Text(child));
    }
    if (down)
        tree.InsertAfter(neighbour, kTemporaryKey, QStringLiteral("new"), TreeImage::Division);
    else
        tree.InsertBefore(neighbour, kTemporaryKey, QStringLiteral("new"), TreeImage::Division);
    tree.SetText(kTemporaryKey, tree.Text(key));
    tree.Remove(key);
    tree.SetKey(kTemporaryKey, key);
    tree.Select(key);
    window_.State().CurrentKey = key;
    for (const auto& [childKey, text] : questions)
        tree.AddChild(key, childKey, text, TreeImage::Question);
}

} // namespace mirvane
