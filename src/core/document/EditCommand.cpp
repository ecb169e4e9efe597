#include "document/EditCommand.h"

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

} // namespace mirvane
