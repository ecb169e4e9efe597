#pragma once
// The text form in which questions and divisions travel on the clipboard, also
// between two running editors. A record begins with a marker line, then uses
// the test file's two-character tags; every line ends with CR LF.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mirvane {

class Division;
class Question;

inline constexpr std::string_view kQuestionMarker = "=ВОПРОС=";
inline constexpr std::string_view kDivisionMarker = "=РАЗДЕЛ=";
inline constexpr std::string_view kListMarker = "=СПИСОК=";

// The question with all nine panel slots, empty ones included.
std::string BuildQuestionRecord(const Question& question);

// The division with its questions in the given order: the document's, the
// order the tree shows and the file stores.
std::string BuildDivisionRecord(const Division& division, const std::vector<std::string>& questionKeys);

// Several records as one, in their order: the list marker, then each record
// after a line ")= " + the number of its lines, so that no line inside a
// record is ever taken for the start of the next one.
std::string BuildListRecord(const std::vector<std::string>& records);

// True when the text begins with a marker; such text is never pasted
// into a text box.
bool IsClipboardRecord(std::string_view text);

struct RecordQuestion {
    std::string Q;
    std::array<std::string, 10> Answers;
    std::array<std::int16_t, 10> Scores{};
};

struct ClipboardRecord {
    enum class Kind { None, Question, Division };
    Kind RecordKind = Kind::None;
    // A division record's values; absent when the record has no such line.
    std::optional<std::int16_t> NQ;
    std::optional<std::string> Name;
    // One entry for a question record; the division's questions in order.
    std::vector<RecordQuestion> Questions;
};

// Puts a record's question into the question: its text, and every answer
// slot's text and score as the record has them; only the last slot, which no
// box shows, gets CR LF breaks and a blank before a line beginning with ")".
void FillQuestion(Question& question, const RecordQuestion& part);

// What showing a question in the editing panel and storing it again does to
// it (a pasted question passes through the panel before the next one is
// pasted): every line break made CR LF, texts rewrapped, blank answers emptied, and the score of an answer
// the panel shows no score for set to 0. Slot 9, which the panel never
// shows, stays as it is.
void PassThroughPanel(Question& question);

// Never fails: a bad score is 0, a bad count 1, answers beyond the ten slots
// and content before a division's first ")?" are ignored. Text that is not a
// record gives Kind::None. Lines end at CR LF, and at a lone LF, which other
// programs may leave when they pass the text on.
ClipboardRecord ParseClipboardRecord(std::string_view text);

// The records the text holds: a list's in order (those of a list cut short
// as far as it goes, parts that are no record left out), a single record
// alone, none for other text.
std::vector<ClipboardRecord> ParseClipboardRecords(std::string_view text);

} // namespace mirvane
