#include "document/EditCommand.h"

#include <algorithm>
#include <utility>

namespace mirvane {

AddItem::AddItem(std::string selectedKey, NewDivision division)
    : selectedKey_(std::move(selectedKey)), division_(true), newDivision_(std::move(division))
{
}

AddItem::AddItem(std::string selectedKey, std::optional<Question> question)
    : selectedKey_(std::move(selectedKey)), division_(false), newQuestion_(std::move(question))
{
}

void AddItem::Apply(TestDocument& document)
{
    if (applied_) {
        document.Attach(std::move(item_));
        return;
    }
    // The first time the keys are drawn, as for any new item.
    const DocumentChange change = division_ ? document.AddDivision(selectedKey_, std::move(newDivision_))
                                            : document.AddQuestion(selectedKey_, std::move(newQuestion_));
    key_ = change.Key;
    applied_ = true;
}

void AddItem::Revert(TestDocument& document) { item_ = document.Detach(key_); }

DocumentChange::Kind AddItem::Does() const
{
    return applied_ && key_.empty() ? DocumentChange::Kind::None : DocumentChange::Kind::Added;
}

void MoveItem::Apply(TestDocument& document)
{
    const DocumentChange change = down_ ? document.MoveDown(key_) : document.MoveUp(key_);
    moved_ = moved_ && change;
}

void MoveItem::Revert(TestDocument& document)
{
    if (moved_)
        down_ ? document.MoveUp(key_) : document.MoveDown(key_);
}

DocumentChange::Kind MoveItem::Does() const
{
    return moved_ ? DocumentChange::Kind::Moved : DocumentChange::Kind::None;
}

void MoveItemTo::Apply(TestDocument& document)
{
    const DocumentChange change = document.MoveTo(key_, division_, index_);
    if (!applied_) {
        applied_ = true;
        moved_ = static_cast<bool>(change);
        fromDivision_ = change.FromParent;
        from_ = change.From;
    }
}

void MoveItemTo::Revert(TestDocument& document)
{
    if (moved_)
        document.MoveTo(key_, fromDivision_, from_);
}

DocumentChange::Kind MoveItemTo::Does() const
{
    return applied_ && !moved_ ? DocumentChange::Kind::None : DocumentChange::Kind::Moved;
}

SetField::SetField(FieldPlace place, FieldValue value) : place_(std::move(place)), new_(std::move(value))
{
    key_ = place_.Key;
}

void SetField::Apply(TestDocument& document)
{
    if (!applied_) {
        old_ = document.Value(place_);
        applied_ = true;
    }
    document.SetValue(place_, new_);
}

void SetField::Revert(TestDocument& document) { document.SetValue(place_, old_); }

DocumentChange::Kind SetField::Does() const
{
    return applied_ && old_ == new_ ? DocumentChange::Kind::None : DocumentChange::Kind::Edited;
}

bool SetField::Absorb(const SetField& later)
{
    if (later.place_ != place_)
        return false;
    new_ = later.new_;
    return true;
}

void CommandGroup::Apply(TestDocument& document)
{
    for (const auto& step : steps_)
        step->Apply(document);
    const std::vector<std::string> keys = Keys();
    key_ = keys.empty() ? std::string() : keys.front();
}

void CommandGroup::Revert(TestDocument& document)
{
    for (auto step = steps_.rbegin(); step != steps_.rend(); ++step)
        (*step)->Revert(document);
}

DocumentChange::Kind CommandGroup::Does() const
{
    for (const auto& step : steps_) {
        if (step->Does() != DocumentChange::Kind::None)
            return step->Does();
    }
    return DocumentChange::Kind::None;
}

std::vector<std::string> CommandGroup::Keys() const
{
    std::vector<std::string> keys;
    for (const auto& step : steps_) {
        if (step->Does() != DocumentChange::Kind::None)
            keys.push_back(step->Key());
    }
    return keys;
}

std::unique_ptr<CommandGroup> RemoveItems(const TestDocument& document, const std::vector<std::string>& keys)
{
    // In document order: each step finds the places before it as they were.
    std::vector<std::unique_ptr<EditCommand>> steps;
    for (std::string& key : document.ItemsAmong(keys))
        steps.push_back(std::make_unique<RemoveItem>(std::move(key)));
    return std::make_unique<CommandGroup>(std::move(steps));
}

std::unique_ptr<CommandGroup> MoveItems(const TestDocument& document, const std::vector<std::string>& keys, bool down)
{
    std::vector<std::string> items = document.ItemsAmong(keys);
    for (const std::string& key : items) {
        const bool division = KindOf(key) == NodeKind::Division;
        const std::size_t count =
            division ? document.Order().Divisions.size() : document.QuestionKeys(document.ParentOf(key)).size();
        std::size_t at = 0;
        if (division) {
            const auto& divisions = document.Order().Divisions;
            at = static_cast<std::size_t>(
                std::find_if(divisions.begin(), divisions.end(), [&](const auto& d) { return d.Key == key; }) -
                divisions.begin());
        } else {
            const auto& siblings = document.QuestionKeys(document.ParentOf(key));
            at = static_cast<std::size_t>(std::find(siblings.begin(), siblings.end(), key) - siblings.begin());
        }
        if (down ? at + 1 >= count : at == 0)
            return std::make_unique<CommandGroup>();
    }
    // The one nearest the edge moves first, so none passes another.
    if (down)
        std::reverse(items.begin(), items.end());
    std::vector<std::unique_ptr<EditCommand>> steps;
    for (std::string& key : items)
        steps.push_back(std::make_unique<MoveItem>(std::move(key), down));
    return std::make_unique<CommandGroup>(std::move(steps));
}

void PasteItems::Apply(TestDocument& document)
{
    if (applied_) {
        CommandGroup::Apply(document);
        return;
    }
    applied_ = true;
    std::string afterDivision = selectedKey_;
    std::string afterQuestion = selectedKey_;
    for (Item& item : items_) {
        const bool division = std::holds_alternative<NewDivision>(item);
        std::string& after = division ? afterDivision : afterQuestion;
        auto step = division ? std::make_unique<AddItem>(after, std::get<NewDivision>(std::move(item)))
                             : std::make_unique<AddItem>(after, std::optional<Question>(std::get<Question>(std::move(item))));
        step->Apply(document);
        if (step->Does() != DocumentChange::Kind::None)
            after = step->Key();
        steps_.push_back(std::move(step));
    }
    items_.clear();
    const std::vector<std::string> keys = Keys();
    key_ = keys.empty() ? std::string() : keys.front();
}

} // namespace mirvane
