#include "document/FieldValue.h"

#include <stdexcept>

namespace mirvane {

namespace {

[[noreturn]] void NotOfThisItem() { throw std::invalid_argument("the field belongs to another kind of item"); }

} // namespace

NodeKind KindOfField(DocumentField field)
{
    switch (field) {
    case DocumentField::TestName:
    case DocumentField::TestTime:
    case DocumentField::ShowErrors:
    case DocumentField::LogType:
    case DocumentField::LogFile:
        return NodeKind::Parameters;
    case DocumentField::Mark:
        return NodeKind::Marks;
    case DocumentField::DivisionName:
    case DocumentField::DivisionCount:
        return NodeKind::Division;
    case DocumentField::QuestionText:
    case DocumentField::Answer:
    case DocumentField::Score:
        return NodeKind::Question;
    case DocumentField::None:
        break;
    }
    return NodeKind::None;
}

FieldValue ValueIn(const Test& header, const FieldPlace& place)
{
    switch (place.Field) {
    case DocumentField::TestName:
        return header.TestName;
    case DocumentField::TestTime:
        return header.TestTime;
    case DocumentField::ShowErrors:
        return header.ShowErrors;
    case DocumentField::LogType:
        return header.LogType;
    case DocumentField::LogFile:
        return header.LogFile;
    case DocumentField::Mark: {
        MarkTable marks;
        for (int i = 0; i < Test::kMarkSlots; ++i)
            marks[static_cast<std::size_t>(i)] = {header.MarkDiscriptionsGet(i), header.MarkScoresGet(i)};
        return marks;
    }
    default:
        NotOfThisItem();
    }
}

FieldValue ValueIn(const Division& division, const FieldPlace& place)
{
    switch (place.Field) {
    case DocumentField::DivisionName:
        return division.Name;
    case DocumentField::DivisionCount:
        return division.NQ;
    default:
        NotOfThisItem();
    }
}

FieldValue ValueIn(const Question& question, const FieldPlace& place)
{
    switch (place.Field) {
    case DocumentField::QuestionText:
        return std::string(question.Q());
    case DocumentField::Answer:
        return std::string(question.AGet(place.Slot));
    case DocumentField::Score:
        return question.AScoreGet(place.Slot);
    default:
        NotOfThisItem();
    }
}

void PutValue(Test& header, const FieldPlace& place, const FieldValue& value)
{
    switch (place.Field) {
    case DocumentField::TestName:
        header.TestName = std::get<std::string>(value);
        break;
    case DocumentField::TestTime:
        header.TestTime = std::get<std::int16_t>(value);
        break;
    case DocumentField::ShowErrors:
        header.ShowErrors = std::get<std::int16_t>(value);
        break;
    case DocumentField::LogType:
        header.LogType = std::get<std::int16_t>(value);
        break;
    case DocumentField::LogFile:
        header.LogFile = std::get<std::string>(value);
        break;
    case DocumentField::Mark: {
        const MarkTable& marks = std::get<MarkTable>(value);
        for (int i = 0; i < Test::kMarkSlots; ++i) {
            header.MarkDiscriptionsSet(i, marks[static_cast<std::size_t>(i)].Description);
            header.MarkScoresSet(i, marks[static_cast<std::size_t>(i)].Score);
        }
        break;
    }
    default:
        NotOfThisItem();
    }
}

void PutValue(Division& division, const FieldPlace& place, const FieldValue& value)
{
    switch (place.Field) {
    case DocumentField::DivisionName:
        division.Name = std::get<std::string>(value);
        break;
    case DocumentField::DivisionCount:
        division.NQ = std::get<std::int16_t>(value);
        break;
    default:
        NotOfThisItem();
    }
}

void PutValue(Question& question, const FieldPlace& place, const FieldValue& value)
{
    switch (place.Field) {
    case DocumentField::QuestionText:
        question.QSet(std::get<std::string>(value));
        break;
    case DocumentField::Answer:
        question.ASet(place.Slot, std::get<std::string>(value));
        break;
    case DocumentField::Score:
        question.AScoreSet(place.Slot, std::get<std::int16_t>(value));
        break;
    default:
        NotOfThisItem();
    }
}

} // namespace mirvane
