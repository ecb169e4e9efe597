#pragma once
// The steps of the edit history as commands on the document: each holds what
// it needs to be done again and taken back (a detached item and its place, a
// move's direction, a field's old and new value), Apply does it and Revert
// takes it back. The first Apply
// does the edit itself, so a step is made by applying it.
#include "document/TestDocument.h"

#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace mirvane {

class EditCommand {
public:
    virtual ~EditCommand() = default;

    virtual void Apply(TestDocument& document) = 0;
    virtual void Revert(TestDocument& document) = 0;

    // What Apply does to `Key()`: an item Added, Removed or Moved, or a field
    // Edited; Revert does the opposite (a move is taken back by a move, an
    // edit by an edit). None when the
    // first Apply found nothing to do: such a step is no step at all.
    virtual DocumentChange::Kind Does() const = 0;
    // The item the step concerns; known after the first Apply.
    const std::string& Key() const { return key_; }

protected:
    std::string key_;
};

// A new division or question where the selection says, empty or with
// content (a pasted record); taken back, it is kept detached until redone.
class AddItem final : public EditCommand {
public:
    // A division with `division`'s head and questions.
    AddItem(std::string selectedKey, NewDivision division);
    // A question, empty or with `question`'s texts and scores.
    AddItem(std::string selectedKey, std::optional<Question> question);

    void Apply(TestDocument& document) override;
    void Revert(TestDocument& document) override;
    DocumentChange::Kind Does() const override;

private:
    std::string selectedKey_;
    bool division_;
    NewDivision newDivision_;
    std::optional<Question> newQuestion_;
    bool applied_ = false;
    DetachedItem item_;
};

// A division with its questions, or a question, taken out and kept.
class RemoveItem final : public EditCommand {
public:
    explicit RemoveItem(std::string key) { key_ = std::move(key); }

    void Apply(TestDocument& document) override { item_ = document.Detach(key_); }
    void Revert(TestDocument& document) override { document.Attach(std::move(item_)); }
    DocumentChange::Kind Does() const override { return DocumentChange::Kind::Removed; }

private:
    DetachedItem item_;
};

// A question one place up or down in its division, a division among the
// divisions.
class MoveItem final : public EditCommand {
public:
    MoveItem(std::string key, bool down) : down_(down) { key_ = std::move(key); }

    void Apply(TestDocument& document) override;
    void Revert(TestDocument& document) override;
    DocumentChange::Kind Does() const override;

private:
    bool down_;
    bool moved_ = true;
};

// A division or a question put at a place of its choice, as dragging does:
// a question into any division.
class MoveItemTo final : public EditCommand {
public:
    // `division`: empty for a division; `index` as TestDocument::MoveTo takes it.
    MoveItemTo(std::string key, std::string division, std::size_t index)
        : division_(std::move(division)), index_(index)
    {
        key_ = std::move(key);
    }

    void Apply(TestDocument& document) override;
    void Revert(TestDocument& document) override;
    DocumentChange::Kind Does() const override;

private:
    std::string division_;
    std::size_t index_;
    bool applied_ = false;
    bool moved_ = false;
    std::string fromDivision_;
    std::size_t from_ = 0;
};

// One field set to a new value through the document's Set operation; the
// value it had is read at the first Apply.
class SetField final : public EditCommand {
public:
    SetField(FieldPlace place, FieldValue value);

    void Apply(TestDocument& document) override;
    void Revert(TestDocument& document) override;
    // Edited; None when the first Apply found the value there already, or
    // the edits taken in came back to the value the field had.
    DocumentChange::Kind Does() const override;

    const FieldPlace& Place() const { return place_; }
    // Takes `later`, an edit of the same field applied after this one, as
    // its own last part: the step then goes from this one's old value to
    // `later`'s new one. False, and nothing changes, for another field.
    bool Absorb(const SetField& later);

private:
    FieldPlace place_;
    FieldValue old_;
    FieldValue new_;
    bool applied_ = false;
};

// Several steps as one: Apply applies them in order, Revert takes them back
// in the opposite order, so each finds the document as it found it before.
// What a selection of several items does with one command.
class CommandGroup : public EditCommand {
public:
    CommandGroup() = default;
    explicit CommandGroup(std::vector<std::unique_ptr<EditCommand>> steps) : steps_(std::move(steps)) {}

    void Apply(TestDocument& document) override;
    void Revert(TestDocument& document) override;
    // What its steps do (all of one kind); None when none did anything.
    DocumentChange::Kind Does() const override;
    // The items the steps concern, in their order, those that did nothing
    // left out; Key() is the first of them.
    std::vector<std::string> Keys() const;

protected:
    std::vector<std::unique_ptr<EditCommand>> steps_;
};

// The items `keys` names (a selection: the parameters, the marks and the
// questions of a division among them are left out), each taken out.
std::unique_ptr<CommandGroup> RemoveItems(const TestDocument& document, const std::vector<std::string>& keys);

// The items `keys` names, each one place up or down among its siblings,
// so that a block keeps its shape. Nothing moves (an empty group) when one
// of them stands at the first place, or the last for down: a block stops
// whole at the edge.
std::unique_ptr<CommandGroup> MoveItems(const TestDocument& document, const std::vector<std::string>& keys, bool down);

// Divisions and questions pasted together, in their order: each division
// after the division pasted before it, each question after the question
// pasted before it; the first of each kind where the selection says, as a
// single paste puts it. A question thus never lands in a division pasted
// with it.
class PasteItems final : public CommandGroup {
public:
    using Item = std::variant<NewDivision, Question>;
    PasteItems(std::string selectedKey, std::vector<Item> items)
        : selectedKey_(std::move(selectedKey)), items_(std::move(items))
    {
    }

    void Apply(TestDocument& document) override;

private:
    std::string selectedKey_;
    std::vector<Item> items_;
    bool applied_ = false;
};

} // namespace mirvane
