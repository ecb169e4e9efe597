#pragma once
// The open test as a document: the Test with its divisions and questions, and
// the document order (divisions as shown, each with its questions as shown),
// which is the order of saving and exporting. New items go to the end of
// their collections; where they stand in the document is kept here, so after
// editing the collections' own order may differ from the document's.
//
// The structural edits of the editor are plain operations here. Each says
// what it changed, so that a view (the structure tree) can follow it.
#include "model/DocumentOrder.h"
#include "model/NodeKey.h"
#include "model/Test.h"

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace mirvane {

inline constexpr std::string_view kNewDivisionName = "Новый раздел";

struct DocumentChange {
    enum class Kind { None, Added, Removed, Moved };
    Kind What = Kind::None;
    std::string Key;       // the division or question added, removed or moved
    std::string Parent;    // a question's division; empty for a division
    std::size_t Index = 0; // its place among its siblings, from 0: after an add
                           // or a move where it now stands, after a removal
                           // where it stood

    explicit operator bool() const { return What != Kind::None; }
};

// A division (with its questions) or a question taken out of the document,
// with the place it had, so that it can be put back exactly as it was.
struct DetachedItem {
    std::string Key;
    std::string Parent;    // a question's division; empty for a division
    std::size_t Index = 0; // where it stood among its siblings
    std::unique_ptr<Division> TakenDivision;
    std::vector<std::string> QuestionOrder; // a division's questions as they stood
    std::unique_ptr<Question> TakenQuestion;

    explicit operator bool() const { return TakenDivision || TakenQuestion; }
};

class TestDocument {
public:
    // A new test with the defaults.
    TestDocument();
    // A test just read: the document order is the order of its collections.
    explicit TestDocument(std::unique_ptr<Test> test);

    Test& Model() { return *test_; }
    const Test& Model() const { return *test_; }
    const DocumentOrder& Order() const { return order_; }

    // Whether a division or question with the key is in the document.
    bool Contains(std::string_view key) const;
    // The key of the division that holds the question; throws
    // std::out_of_range for a key that names no question.
    const std::string& ParentOf(std::string_view questionKey) const;
    Division& DivisionAt(const std::string& key) { return test_->Divisions.Item(key); }
    const Division& DivisionAt(const std::string& key) const { return test_->Divisions.Item(key); }
    Question& QuestionAt(const std::string& key);
    const Question& QuestionAt(const std::string& key) const;
    // The division's question keys in document order.
    const std::vector<std::string>& QuestionKeys(std::string_view divisionKey) const;

    // Adds "Новый раздел" after the selected division, after the selected
    // question's division, or as the first division when the parameters or
    // the marks are selected.
    DocumentChange AddDivision(std::string_view selectedKey);
    // Adds an empty question as the selected division's last question, or
    // directly after the selected question. The key is drawn first, so it is
    // used up even when the parameters or the marks are selected and nothing
    // is added.
    DocumentChange AddQuestion(std::string_view selectedKey);

    // The node to select when the item goes: a question's next sibling, else
    // its previous one, else its division; a division's next division, else
    // its previous one, else the parameters. Empty for other keys.
    std::string SelectionAfterDelete(std::string_view key) const;
    // Removes the division or question (a division with its questions).
    // Other keys change nothing.
    DocumentChange Delete(std::string_view key);
    // Removes it as Delete does and gives it back with its place; an empty
    // item for other keys.
    DetachedItem Detach(std::string_view key);
    // Puts a detached item back at the place it had; its key must not be in
    // the document (std::invalid_argument).
    DocumentChange Attach(DetachedItem item);

    // A question moves within its division, a division among the divisions;
    // at the first or last place nothing changes.
    DocumentChange MoveUp(std::string_view key) { return Move(key, false); }
    DocumentChange MoveDown(std::string_view key) { return Move(key, true); }

private:
    DocumentOrder::DivisionEntry& Entry(std::string_view divisionKey);
    const DocumentOrder::DivisionEntry& Entry(std::string_view divisionKey) const;
    std::size_t DivisionIndex(std::string_view divisionKey) const;
    DocumentChange Move(std::string_view key, bool down);

    std::unique_ptr<Test> test_;
    DocumentOrder order_;
};

} // namespace mirvane
