#include "document/TestDocument.h"

#include <algorithm>
#include <stdexcept>
#include <tuple>
#include <unordered_set>
#include <utility>

namespace mirvane {

namespace {

std::size_t PlaceOf(const std::vector<std::string>& keys, std::string_view key)
{
    const auto it = std::find(keys.begin(), keys.end(), key);
    if (it == keys.end())
        throw std::out_of_range("no item with key " + std::string(key));
    return static_cast<std::size_t>(it - keys.begin());
}

} // namespace

TestDocument::TestDocument() : TestDocument(std::make_unique<Test>()) {}

TestDocument::TestDocument(std::unique_ptr<Test> test)
    : test_(test ? std::move(test) : std::make_unique<Test>()), order_(DocumentOrder::FromCollections(*test_))
{
}

bool TestDocument::Contains(std::string_view key) const
{
    const std::string k(key);
    switch (KindOf(key)) {
    case NodeKind::Division:
        return test_->Divisions.Contains(k);
    case NodeKind::Question:
        for (const Division& d : test_->Divisions) {
            if (d.Questions.Contains(k))
                return true;
        }
        return false;
    default:
        return false;
    }
}

const std::string& TestDocument::ParentOf(std::string_view questionKey) const
{
    // A look-up in each division's keyed collection: no index of its own to
    // keep in step, and cheap next to anything the editor does with the answer.
    const std::string k(questionKey);
    for (const Division& d : test_->Divisions) {
        if (d.Questions.Contains(k))
            return d.Key;
    }
    throw std::out_of_range("no question with key " + k);
}

Question& TestDocument::QuestionAt(const std::string& key)
{
    return test_->Divisions.Item(ParentOf(key)).Questions.Item(key);
}

const Question& TestDocument::QuestionAt(const std::string& key) const
{
    return test_->Divisions.Item(ParentOf(key)).Questions.Item(key);
}

std::size_t TestDocument::DivisionIndex(std::string_view divisionKey) const
{
    for (std::size_t i = 0; i < order_.Divisions.size(); ++i) {
        if (order_.Divisions[i].Key == divisionKey)
            return i;
    }
    throw std::out_of_range("no division with key " + std::string(divisionKey));
}

DocumentOrder::DivisionEntry& TestDocument::Entry(std::string_view divisionKey)
{
    return order_.Divisions[DivisionIndex(divisionKey)];
}

const DocumentOrder::DivisionEntry& TestDocument::Entry(std::string_view divisionKey) const
{
    return order_.Divisions[DivisionIndex(divisionKey)];
}

const std::vector<std::string>& TestDocument::QuestionKeys(std::string_view divisionKey) const
{
    return Entry(divisionKey).QuestionKeys;
}

DocumentChange TestDocument::AddDivision(std::string_view selectedKey, NewDivision content)
{
    const std::string key = NextKey(NodeKind::Division);
    std::size_t index = 0; // the parameters or the marks: the first division
    switch (KindOf(selectedKey)) {
    case NodeKind::Division:
        index = DivisionIndex(selectedKey) + 1;
        break;
    case NodeKind::Question:
        index = DivisionIndex(ParentOf(selectedKey)) + 1;
        break;
    default:
        break;
    }
    auto division = std::make_unique<Division>();
    division->Key = key;
    division->Name = std::move(content.Name);
    division->NQ = content.Count;
    DocumentOrder::DivisionEntry entry{key, {}};
    for (Question& question : content.Questions) {
        std::string questionKey = NextKey(NodeKind::Question);
        auto taken = std::make_unique<Question>(std::move(question));
        taken->Key = questionKey;
        division->Questions.Add(questionKey, std::move(taken));
        entry.QuestionKeys.push_back(std::move(questionKey));
    }
    test_->Divisions.Add(key, std::move(division));
    order_.Divisions.insert(order_.Divisions.begin() + static_cast<std::ptrdiff_t>(index), std::move(entry));
    return Announce({DocumentChange::Kind::Added, key, {}, index});
}

DocumentChange TestDocument::AddQuestion(std::string_view selectedKey, std::optional<Question> content)
{
    const std::string key = NextKey(NodeKind::Question);
    std::string parent;
    std::size_t index = 0;
    switch (KindOf(selectedKey)) {
    case NodeKind::Division:
        parent = std::string(selectedKey);
        index = Entry(parent).QuestionKeys.size();
        break;
    case NodeKind::Question:
        parent = ParentOf(selectedKey);
        index = PlaceOf(Entry(parent).QuestionKeys, selectedKey) + 1;
        break;
    default:
        return {};
    }
    auto question = content ? std::make_unique<Question>(std::move(*content)) : std::make_unique<Question>();
    question->Key = key;
    test_->Divisions.Item(parent).Questions.Add(key, std::move(question));
    std::vector<std::string>& keys = Entry(parent).QuestionKeys;
    keys.insert(keys.begin() + static_cast<std::ptrdiff_t>(index), key);
    return Announce({DocumentChange::Kind::Added, key, parent, index});
}

std::string TestDocument::SelectionAfterDelete(std::string_view key) const
{
    switch (KindOf(key)) {
    case NodeKind::Question: {
        const std::string& parent = ParentOf(key);
        const std::vector<std::string>& keys = Entry(parent).QuestionKeys;
        const std::size_t i = PlaceOf(keys, key);
        if (i + 1 < keys.size())
            return keys[i + 1];
        return i > 0 ? keys[i - 1] : parent;
    }
    case NodeKind::Division: {
        const std::size_t i = DivisionIndex(key);
        if (i + 1 < order_.Divisions.size())
            return order_.Divisions[i + 1].Key;
        return i > 0 ? order_.Divisions[i - 1].Key : std::string(kParametersKey);
    }
    default:
        return {};
    }
}

std::string TestDocument::SelectionAfterDelete(const std::vector<std::string>& keys) const
{
    if (keys.size() <= 1)
        return keys.empty() ? std::string() : SelectionAfterDelete(keys.front());
    const std::unordered_set<std::string_view> going(keys.begin(), keys.end());
    // The nearest sibling that stays: after `at` first, then before it.
    auto nearest = [&](std::size_t count, std::size_t at, auto keyAt) -> std::string {
        for (std::size_t i = at + 1; i < count; ++i) {
            if (!going.contains(keyAt(i)))
                return keyAt(i);
        }
        for (std::size_t i = at; i-- > 0;) {
            if (!going.contains(keyAt(i)))
                return keyAt(i);
        }
        return {};
    };
    const std::string& first = keys.front();
    switch (KindOf(first)) {
    case NodeKind::Question: {
        const std::string& parent = ParentOf(first);
        const std::vector<std::string>& siblings = Entry(parent).QuestionKeys;
        std::string next = nearest(siblings.size(), PlaceOf(siblings, first),
                                   [&](std::size_t i) -> const std::string& { return siblings[i]; });
        return next.empty() ? parent : next;
    }
    case NodeKind::Division: {
        std::string next = nearest(order_.Divisions.size(), DivisionIndex(first),
                                   [&](std::size_t i) -> const std::string& { return order_.Divisions[i].Key; });
        return next.empty() ? std::string(kParametersKey) : next;
    }
    default:
        return {};
    }
}

std::vector<std::string> TestDocument::ItemsAmong(const std::vector<std::string>& keys) const
{
    std::unordered_set<std::string_view> divisions;
    for (const std::string& key : keys) {
        if (KindOf(key) == NodeKind::Division && test_->Divisions.Contains(key))
            divisions.insert(key);
    }
    // Each item with its place: its division's, then its own among the
    // division's questions (0 for the division itself, which comes first).
    std::vector<std::tuple<std::size_t, std::size_t, std::string_view>> placed;
    std::unordered_set<std::string_view> seen;
    for (const std::string& key : keys) {
        if (!seen.insert(key).second)
            continue;
        if (divisions.contains(key)) {
            placed.emplace_back(DivisionIndex(key), 0, key);
        } else if (KindOf(key) == NodeKind::Question && Contains(key)) {
            const std::string& parent = ParentOf(key);
            if (!divisions.contains(parent))
                placed.emplace_back(DivisionIndex(parent), PlaceOf(Entry(parent).QuestionKeys, key) + 1, key);
        }
    }
    std::sort(placed.begin(), placed.end());
    std::vector<std::string> items;
    items.reserve(placed.size());
    for (const auto& item : placed)
        items.emplace_back(std::get<2>(item));
    return items;
}

DocumentChange TestDocument::Delete(std::string_view key)
{
    const DetachedItem item = Detach(key);
    if (!item)
        return {};
    return {DocumentChange::Kind::Removed, item.Key, item.Parent, item.Index};
}

DetachedItem TestDocument::Detach(std::string_view key)
{
    DetachedItem item;
    item.Key = std::string(key);
    switch (KindOf(key)) {
    case NodeKind::Question: {
        item.Parent = ParentOf(key);
        std::vector<std::string>& keys = Entry(item.Parent).QuestionKeys;
        item.Index = PlaceOf(keys, key);
        keys.erase(keys.begin() + static_cast<std::ptrdiff_t>(item.Index));
        item.TakenQuestion = test_->Divisions.Item(item.Parent).Questions.Take(item.Key);
        break;
    }
    case NodeKind::Division:
        item.Index = DivisionIndex(key);
        item.QuestionOrder = std::move(order_.Divisions[item.Index].QuestionKeys);
        order_.Divisions.erase(order_.Divisions.begin() + static_cast<std::ptrdiff_t>(item.Index));
        item.TakenDivision = test_->Divisions.Take(item.Key);
        break;
    default:
        return item;
    }
    Announce({DocumentChange::Kind::Removed, item.Key, item.Parent, item.Index});
    return item;
}

DocumentChange TestDocument::Attach(DetachedItem item)
{
    if (Contains(item.Key))
        throw std::invalid_argument("the document already holds " + item.Key);
    if (item.TakenDivision) {
        if (item.Index > order_.Divisions.size())
            throw std::out_of_range("no place " + std::to_string(item.Index) + " among the divisions");
        test_->Divisions.Add(item.Key, std::move(item.TakenDivision));
        order_.Divisions.insert(order_.Divisions.begin() + static_cast<std::ptrdiff_t>(item.Index),
                                DocumentOrder::DivisionEntry{item.Key, std::move(item.QuestionOrder)});
        return Announce({DocumentChange::Kind::Added, item.Key, {}, item.Index});
    }
    if (item.TakenQuestion) {
        std::vector<std::string>& keys = Entry(item.Parent).QuestionKeys;
        if (item.Index > keys.size())
            throw std::out_of_range("no place " + std::to_string(item.Index) + " in " + item.Parent);
        test_->Divisions.Item(item.Parent).Questions.Add(item.Key, std::move(item.TakenQuestion));
        keys.insert(keys.begin() + static_cast<std::ptrdiff_t>(item.Index), item.Key);
        return Announce({DocumentChange::Kind::Added, item.Key, item.Parent, item.Index});
    }
    return {};
}

DocumentChange TestDocument::Move(std::string_view key, bool down)
{
    switch (KindOf(key)) {
    case NodeKind::Question: {
        const std::string parent = ParentOf(key);
        std::vector<std::string>& keys = Entry(parent).QuestionKeys;
        const std::size_t i = PlaceOf(keys, key);
        if (down ? i + 1 >= keys.size() : i == 0)
            return {}; // a question never leaves its division
        const std::size_t to = down ? i + 1 : i - 1;
        std::swap(keys[i], keys[to]);
        return Announce({DocumentChange::Kind::Moved, std::string(key), parent, to, i, parent});
    }
    case NodeKind::Division: {
        const std::size_t i = DivisionIndex(key);
        if (down ? i + 1 >= order_.Divisions.size() : i == 0)
            return {}; // the first division does not move above the marks
        const std::size_t to = down ? i + 1 : i - 1;
        std::swap(order_.Divisions[i], order_.Divisions[to]);
        return Announce({DocumentChange::Kind::Moved, std::string(key), {}, to, i});
    }
    default:
        return {};
    }
}

DocumentChange TestDocument::MoveTo(std::string_view key, const std::string& division, std::size_t index)
{
    DocumentChange change;
    change.What = DocumentChange::Kind::Moved;
    change.Key = std::string(key);
    change.Index = index;
    switch (KindOf(key)) {
    case NodeKind::Division: {
        change.From = DivisionIndex(key);
        if (!division.empty() || index >= order_.Divisions.size() || index == change.From)
            return {};
        DocumentOrder::DivisionEntry entry = std::move(order_.Divisions[change.From]);
        order_.Divisions.erase(order_.Divisions.begin() + static_cast<std::ptrdiff_t>(change.From));
        order_.Divisions.insert(order_.Divisions.begin() + static_cast<std::ptrdiff_t>(index), std::move(entry));
        return Announce(std::move(change));
    }
    case NodeKind::Question: {
        if (KindOf(division) != NodeKind::Division || !test_->Divisions.Contains(division))
            return {};
        change.FromParent = ParentOf(key);
        change.Parent = division;
        std::vector<std::string>& from = Entry(change.FromParent).QuestionKeys;
        std::vector<std::string>& to = Entry(division).QuestionKeys;
        change.From = PlaceOf(from, key);
        const bool same = change.FromParent == division;
        if (index > to.size() - (same ? 1 : 0) || (same && index == change.From))
            return {};
        from.erase(from.begin() + static_cast<std::ptrdiff_t>(change.From));
        to.insert(to.begin() + static_cast<std::ptrdiff_t>(index), change.Key);
        if (!same) {
            Division& source = test_->Divisions.Item(change.FromParent);
            test_->Divisions.Item(division).Questions.Add(change.Key, source.Questions.Take(change.Key));
        }
        return Announce(std::move(change));
    }
    default:
        return {};
    }
}

DocumentChange TestDocument::Announce(DocumentChange change)
{
    notices_.Tell(change);
    return change;
}

void TestDocument::Edited(DocumentField field, std::string key, int slot)
{
    DocumentChange change;
    change.What = DocumentChange::Kind::Edited;
    change.Key = std::move(key);
    if (KindOf(change.Key) == NodeKind::Question)
        change.Parent = ParentOf(change.Key);
    change.Field = field;
    change.Slot = slot;
    notices_.Tell(change);
}

namespace {

// Sets `held` and says whether it changed.
template <typename T> bool Changes(T& held, T value)
{
    if (held == value)
        return false;
    held = std::move(value);
    return true;
}

} // namespace

void TestDocument::SetTestName(std::string name)
{
    if (Changes(test_->TestName, std::move(name)))
        Edited(DocumentField::TestName);
}

void TestDocument::SetTestTime(std::int16_t minutes)
{
    if (Changes(test_->TestTime, minutes))
        Edited(DocumentField::TestTime);
}

void TestDocument::SetShowErrors(std::int16_t show)
{
    if (Changes(test_->ShowErrors, show))
        Edited(DocumentField::ShowErrors);
}

void TestDocument::SetLogType(std::int16_t type)
{
    if (Changes(test_->LogType, type))
        Edited(DocumentField::LogType);
}

void TestDocument::SetLogFile(std::string file)
{
    if (Changes(test_->LogFile, std::move(file)))
        Edited(DocumentField::LogFile);
}

void TestDocument::SetMark(int slot, std::string description, std::int16_t score)
{
    if (test_->MarkDiscriptionsGet(slot) == description && test_->MarkScoresGet(slot) == score)
        return;
    test_->MarkDiscriptionsSet(slot, std::move(description));
    test_->MarkScoresSet(slot, score);
    Edited(DocumentField::Mark, {}, slot);
}

void TestDocument::SetDivisionName(const std::string& key, std::string name)
{
    if (Changes(DivisionAt(key).Name, std::move(name)))
        Edited(DocumentField::DivisionName, key);
}

void TestDocument::SetDivisionCount(const std::string& key, std::int16_t count)
{
    if (Changes(DivisionAt(key).NQ, count))
        Edited(DocumentField::DivisionCount, key);
}

void TestDocument::SetQuestionText(const std::string& key, std::string text)
{
    Question& question = QuestionAt(key);
    if (question.Q() == text)
        return;
    question.QSet(std::move(text));
    Edited(DocumentField::QuestionText, key);
}

void TestDocument::SetAnswer(const std::string& key, int slot, std::string text)
{
    Question& question = QuestionAt(key);
    if (question.AGet(slot) == text)
        return;
    question.ASet(slot, std::move(text));
    Edited(DocumentField::Answer, key, slot);
}

void TestDocument::SetScore(const std::string& key, int slot, std::int16_t score)
{
    Question& question = QuestionAt(key);
    if (question.AScoreGet(slot) == score)
        return;
    question.AScoreSet(slot, score);
    Edited(DocumentField::Score, key, slot);
}

void TestDocument::SetHeader(const Test& header)
{
    SetTestName(header.TestName);
    SetTestTime(header.TestTime);
    SetShowErrors(header.ShowErrors);
    SetLogType(header.LogType);
    SetLogFile(header.LogFile);
    for (int i = 0; i < Test::kMarkSlots; ++i)
        SetMark(i, header.MarkDiscriptionsGet(i), header.MarkScoresGet(i));
}

void TestDocument::SetDivisionHead(const std::string& key, const Division& head)
{
    SetDivisionName(key, head.Name);
    SetDivisionCount(key, head.NQ);
}

void TestDocument::SetQuestion(const std::string& key, const Question& question)
{
    SetQuestionText(key, std::string(question.Q()));
    for (int i = 0; i < Question::kAnswerSlots; ++i) {
        SetAnswer(key, i, std::string(question.AGet(i)));
        SetScore(key, i, question.AScoreGet(i));
    }
}

FieldValue TestDocument::Value(const FieldPlace& place) const
{
    switch (KindOfField(place.Field)) {
    case NodeKind::Parameters:
    case NodeKind::Marks:
        return ValueIn(*test_, place);
    case NodeKind::Division:
        return ValueIn(DivisionAt(place.Key), place);
    case NodeKind::Question:
        return ValueIn(QuestionAt(place.Key), place);
    default:
        throw std::invalid_argument("no such field");
    }
}

void TestDocument::SetValue(const FieldPlace& place, const FieldValue& value)
{
    const auto text = [&] { return std::get<std::string>(value); };
    const auto number = [&] { return std::get<std::int16_t>(value); };
    switch (place.Field) {
    case DocumentField::TestName:
        return SetTestName(text());
    case DocumentField::TestTime:
        return SetTestTime(number());
    case DocumentField::ShowErrors:
        return SetShowErrors(number());
    case DocumentField::LogType:
        return SetLogType(number());
    case DocumentField::LogFile:
        return SetLogFile(text());
    case DocumentField::Mark: {
        const MarkTable& marks = std::get<MarkTable>(value);
        for (int i = 0; i < Test::kMarkSlots; ++i)
            SetMark(i, marks[static_cast<std::size_t>(i)].Description, marks[static_cast<std::size_t>(i)].Score);
        return;
    }
    case DocumentField::DivisionName:
        return SetDivisionName(place.Key, text());
    case DocumentField::DivisionCount:
        return SetDivisionCount(place.Key, number());
    case DocumentField::QuestionText:
        return SetQuestionText(place.Key, text());
    case DocumentField::Answer:
        return SetAnswer(place.Key, place.Slot, text());
    case DocumentField::Score:
        return SetScore(place.Key, place.Slot, number());
    case DocumentField::None:
        break;
    }
    throw std::invalid_argument("no such field");
}

} // namespace mirvane
