#pragma once
// One field of the test as a value: where it is (the field, its node, the
// slot of an answer or a score) and what it holds. The edit history keeps a
// field's old and new value this way, the panel stores into copies with it.
#include "document/DocumentObserver.h"
#include "model/NodeKey.h"
#include "model/Test.h"

#include <array>
#include <cstdint>
#include <string>
#include <variant>

namespace mirvane {

struct FieldPlace {
    DocumentField Field = DocumentField::None;
    std::string Key; // the division or question; empty for the test's own fields
    int Slot = 0;    // an answer's or a score's, from 0

    bool operator==(const FieldPlace&) const = default;
};

// The marks are one field: storing them drops the blank rows and closes the
// gaps, so a change of one row may move the others.
struct MarkRow {
    std::string Description;
    std::int16_t Score = 0;

    bool operator==(const MarkRow&) const = default;
};
using MarkTable = std::array<MarkRow, Test::kMarkSlots>;

// A text, a number (the time, the journal settings, a count, a score) or the
// marks' table, as the field's kind has it.
using FieldValue = std::variant<std::string, std::int16_t, MarkTable>;

// The kind of node a field belongs to: the parameters, the marks, a division
// or a question.
NodeKind KindOfField(DocumentField field);

// The field's value in the item it belongs to; the key of the place is not
// looked at. A slot the model lacks throws std::out_of_range, a field of
// another item's kind std::invalid_argument.
FieldValue ValueIn(const Test& header, const FieldPlace& place);
FieldValue ValueIn(const Division& division, const FieldPlace& place);
FieldValue ValueIn(const Question& question, const FieldPlace& place);

// Puts the value into the item, without telling anyone: for copies of what
// the document holds. A value of another type than the field's throws
// std::bad_variant_access.
void PutValue(Test& header, const FieldPlace& place, const FieldValue& value);
void PutValue(Division& division, const FieldPlace& place, const FieldValue& value);
void PutValue(Question& question, const FieldPlace& place, const FieldValue& value);

} // namespace mirvane
