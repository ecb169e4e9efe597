#pragma once
// The open test as a document: the Test with its divisions and questions, and
// the document order (divisions as shown, each with its questions as shown),
// which is the order of saving and exporting. New items go to the end of
// their collections; where they stand in the document is kept here, so after
// editing the collections' own order may differ from the document's.
//
// Every change of the test goes through here: the structural operations and
// one Set operation per field. Each change is announced to the document's
// observers, so that a view (the structure tree) follows it without being
// told by whoever made the change.
#include "document/DocumentObserver.h"
#include "document/FieldValue.h"
#include "model/DocumentOrder.h"
#include "model/NodeKey.h"
#include "model/Test.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mirvane {

inline constexpr std::string_view kNewDivisionName = "Новый раздел";

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

// What a new division holds: the defaults, or a pasted division's head and
// questions (in order; their keys are drawn when they are added).
struct NewDivision {
    std::string Name = std::string(kNewDivisionName);
    std::int16_t Count = 1;
    std::vector<Question> Questions;
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
    DocumentChange AddDivision(std::string_view selectedKey, NewDivision content = {});
    // Adds an empty question as the selected division's last question, or
    // directly after the selected question. The key is drawn first, so it is
    // used up even when the parameters or the marks are selected and nothing
    // is added.
    DocumentChange AddQuestion(std::string_view selectedKey, std::optional<Question> content = {});

    // The node to select when the item goes: a question's next sibling, else
    // its previous one, else its division; a division's next division, else
    // its previous one, else the parameters. Empty for other keys.
    std::string SelectionAfterDelete(std::string_view key) const;
    // The same for several items going at once (`keys` as ItemsAmong gives
    // them): the nearest sibling of the first that stays, after it before
    // before it, else its division, else the parameters.
    std::string SelectionAfterDelete(const std::vector<std::string>& keys) const;
    // The divisions and questions among `keys`, in document order and each
    // once: the parameters, the marks and keys the document does not hold
    // are left out, and so is a question whose division is among them (it
    // goes and moves with its division).
    std::vector<std::string> ItemsAmong(const std::vector<std::string>& keys) const;
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
    // Puts the division at `index` among the divisions, or the question at
    // `index` among the questions of `division` (its own or another), the
    // place counted as if it were already taken out. An empty change when it
    // stands there already or the place does not exist; a question never
    // becomes a division, nor a division a question.
    DocumentChange MoveTo(std::string_view key, const std::string& division, std::size_t index);

    // The fields. Each announces an edit when the value differs from the
    // one held; the key must name an item of the field's kind
    // (std::out_of_range), a slot must be one the model has.
    void SetTestName(std::string name);
    void SetTestTime(std::int16_t minutes);
    void SetShowErrors(std::int16_t show);
    void SetLogType(std::int16_t type);
    void SetLogFile(std::string file);
    void SetMark(int slot, std::string description, std::int16_t score);
    void SetDivisionName(const std::string& key, std::string name);
    void SetDivisionCount(const std::string& key, std::int16_t count);
    void SetQuestionText(const std::string& key, std::string text);
    void SetAnswer(const std::string& key, int slot, std::string text);
    void SetScore(const std::string& key, int slot, std::int16_t score);

    // Each field of `header` (title, time, journal, marks), of `head` (a
    // division's name and count) or of `question` set through the Set
    // operations above.
    void SetHeader(const Test& header);
    void SetDivisionHead(const std::string& key, const Division& head);
    void SetQuestion(const std::string& key, const Question& question);

    // Any one field, read or set through its Set operation above; the
    // place's key must name an item of the field's kind (std::out_of_range).
    FieldValue Value(const FieldPlace& place) const;
    void SetValue(const FieldPlace& place, const FieldValue& value);

    // Observers are told of every change from now until the subscription
    // is dropped; a subscription may outlive the document.
    [[nodiscard]] DocumentSubscription Subscribe(DocumentObserver& observer) { return notices_.Subscribe(observer); }

private:
    DocumentOrder::DivisionEntry& Entry(std::string_view divisionKey);
    const DocumentOrder::DivisionEntry& Entry(std::string_view divisionKey) const;
    std::size_t DivisionIndex(std::string_view divisionKey) const;
    DocumentChange Move(std::string_view key, bool down);
    // Announces the change and gives it back.
    DocumentChange Announce(DocumentChange change);
    void Edited(DocumentField field, std::string key = {}, int slot = 0);

    std::unique_ptr<Test> test_;
    DocumentOrder order_;
    DocumentNotices notices_;
};

} // namespace mirvane
