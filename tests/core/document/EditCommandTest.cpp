// The document's notices and its edit commands, without a window: a view
// that follows only the notices stays in step with the document, and every
// step taken back and done again gives back the same file.
#include "TestSupport.h"

#include "document/EditCommand.h"
#include "document/FieldValue.h"
#include "document/TestDocument.h"
#include "testfile/TestFileWriter.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>

namespace mirvane::testing {
namespace {

using Keys = std::vector<std::string>;
using Kind = DocumentChange::Kind;

TestDocument Sample()
{
    auto loaded = Load({"T", ")t 30", ")<", "Неуд", ")* 1", "):Первый", ")?", "один", ")! 5", "да", ")?", "два", ")?",
                        "три", ")* 2", "):Второй", ")?", "четыре", ")* 1", "):Третий"});
    return TestDocument(std::move(loaded.test));
}

std::string Written(const TestDocument& doc) { return WriteTestFile(doc.Model(), doc.Order()); }

// A view of the order built from the notices alone.
class Mirror : public DocumentObserver {
public:
    explicit Mirror(TestDocument& doc) : doc_(doc), subscription_(doc.Subscribe(*this))
    {
        for (const auto& d : doc.Order().Divisions)
            divisions_.push_back({d.Key, d.QuestionKeys});
    }

    void DocumentChanged(const DocumentChange& c) override
    {
        changes.push_back(c);
        if (c.What == Kind::Edited)
            return;
        auto questionsOf = [&](const std::string& key) -> Keys& {
            return std::find_if(divisions_.begin(), divisions_.end(), [&](auto& e) { return e.key == key; })->questions;
        };
        if (c.What == Kind::Moved && !c.Parent.empty()) {
            Keys& from = questionsOf(c.FromParent);
            ASSERT_LT(c.From, from.size());
            ASSERT_EQ(from[c.From], c.Key);
            from.erase(from.begin() + static_cast<std::ptrdiff_t>(c.From));
            Keys& to = questionsOf(c.Parent);
            ASSERT_LE(c.Index, to.size());
            to.insert(to.begin() + static_cast<std::ptrdiff_t>(c.Index), c.Key);
            return;
        }
        if (c.Parent.empty()) {
            Move(divisions_, c, [&] { return Entry{c.Key, doc_.QuestionKeys(c.Key)}; });
        } else {
            auto it = std::find_if(divisions_.begin(), divisions_.end(), [&](auto& e) { return e.key == c.Parent; });
            ASSERT_NE(it, divisions_.end()) << c.Parent;
            Move(it->questions, c, [&] { return c.Key; });
        }
    }

    bool AgreesWithDocument() const
    {
        const auto& order = doc_.Order().Divisions;
        if (order.size() != divisions_.size())
            return false;
        for (std::size_t i = 0; i < order.size(); ++i) {
            if (order[i].Key != divisions_[i].key || order[i].QuestionKeys != divisions_[i].questions)
                return false;
        }
        return true;
    }

    std::vector<DocumentChange> changes;

private:
    struct Entry {
        std::string key;
        Keys questions;
    };
    template <typename T, typename Make> static void Move(std::vector<T>& list, const DocumentChange& c, Make make)
    {
        switch (c.What) {
        case Kind::Added:
            ASSERT_LE(c.Index, list.size());
            list.insert(list.begin() + static_cast<std::ptrdiff_t>(c.Index), make());
            break;
        case Kind::Removed:
            ASSERT_LT(c.Index, list.size());
            list.erase(list.begin() + static_cast<std::ptrdiff_t>(c.Index));
            break;
        case Kind::Moved: {
            ASSERT_LT(c.From, list.size());
            ASSERT_LT(c.Index, list.size());
            T moved = std::move(list[c.From]);
            list.erase(list.begin() + static_cast<std::ptrdiff_t>(c.From));
            list.insert(list.begin() + static_cast<std::ptrdiff_t>(c.Index), std::move(moved));
            break;
        }
        default:
            break;
        }
    }

    TestDocument& doc_;
    std::vector<Entry> divisions_;
    DocumentSubscription subscription_;
};

TEST(DocumentNotices, FieldsAnnounceOnlyWhatChanged)
{
    TestDocument doc = Sample();
    Mirror mirror(doc);
    doc.SetTestName("T"); // as it is
    doc.SetDivisionName("d1", "Первый");
    doc.SetScore("q2", 0, 5);
    EXPECT_TRUE(mirror.changes.empty());

    doc.SetDivisionCount("d5", 1);
    doc.SetAnswer("q3", 2, "ответ");
    doc.SetMark(1, "Зачёт", 3);
    ASSERT_EQ(mirror.changes.size(), 3u);
    EXPECT_EQ(mirror.changes[0].Field, DocumentField::DivisionCount);
    EXPECT_EQ(mirror.changes[0].Key, "d5");
    EXPECT_EQ(mirror.changes[1].Field, DocumentField::Answer);
    EXPECT_EQ(mirror.changes[1].Parent, "d1");
    EXPECT_EQ(mirror.changes[1].Slot, 2);
    EXPECT_EQ(mirror.changes[2].Field, DocumentField::Mark);
    EXPECT_EQ(doc.Model().MarkDiscriptionsGet(1), "Зачёт");
    EXPECT_THROW(doc.SetQuestionText("q99", "x"), std::out_of_range);

    // A whole question set at once tells only the fields that differ.
    Question edited = doc.QuestionAt("q6");
    edited.QSet("четыре с половиной");
    edited.AScoreSet(3, 7);
    mirror.changes.clear();
    doc.SetQuestion("q6", edited);
    ASSERT_EQ(mirror.changes.size(), 2u);
    EXPECT_EQ(mirror.changes[0].Field, DocumentField::QuestionText);
    EXPECT_EQ(mirror.changes[1].Field, DocumentField::Score);
}

TEST(DocumentNotices, ASubscriptionEndsWhenDroppedAndMayOutliveTheDocument)
{
    auto doc = std::make_unique<TestDocument>(Sample());
    auto mirror = std::make_unique<Mirror>(*doc);
    Mirror other(*doc);
    doc->AddQuestion("d1");
    mirror.reset(); // stops listening; the other goes on
    doc->Delete("q2");
    EXPECT_EQ(other.changes.size(), 2u);
    EXPECT_TRUE(other.AgreesWithDocument());
    doc.reset(); // the other's subscription outlives it
}

// A field of the target's kind, any slot of it.
FieldPlace RandomPlace(const std::string& key, std::mt19937& random)
{
    const int slot = static_cast<int>(random() % 9);
    switch (KindOf(key)) {
    case NodeKind::Parameters: {
        static const DocumentField fields[] = {DocumentField::TestName, DocumentField::TestTime,
                                               DocumentField::ShowErrors, DocumentField::LogType,
                                               DocumentField::LogFile};
        return {fields[random() % 5], {}, 0};
    }
    case NodeKind::Marks:
        return {DocumentField::Mark, {}, 0};
    case NodeKind::Division:
        return {random() % 2 ? DocumentField::DivisionName : DocumentField::DivisionCount, key, 0};
    default: {
        static const DocumentField fields[] = {DocumentField::QuestionText, DocumentField::Answer,
                                               DocumentField::Score};
        return {fields[random() % 3], key, slot};
    }
    }
}

// A value the field may hold, often one it held before.
FieldValue RandomValue(const FieldPlace& place, int round, std::mt19937& random)
{
    const std::string text = random() % 3 ? "правка " + std::to_string(round % 5) : std::string();
    const auto number = static_cast<std::int16_t>(1 + random() % 3);
    switch (place.Field) {
    case DocumentField::TestName:
    case DocumentField::LogFile:
        return text.empty() ? "ЖУРНАЛ" : text;
    case DocumentField::DivisionName:
    case DocumentField::QuestionText:
    case DocumentField::Answer:
        return text;
    case DocumentField::Mark: {
        MarkTable marks;
        marks[0] = {"Неуд", Test::kFailingMarkScore};
        for (std::size_t i = 1; i < 1 + random() % 4; ++i)
            marks[i] = {"оценка " + std::to_string(i), static_cast<std::int16_t>(number * i)};
        return marks;
    }
    case DocumentField::ShowErrors:
    case DocumentField::LogType:
        return static_cast<std::int16_t>(number - 1);
    default:
        return number;
    }
}

// Adds, pastes, deletes, moves (of one item or of several as one step) and
// field edits (some joined into a typing run), each applied as a command,
// then taken back and done again at random: after every step the notices
// agree with the document, and the file written is the one written at that
// point of the history before.
TEST(EditCommands, RandomStepsUndoneAndRedoneGiveBackTheSameFile)
{
    TestDocument doc = Sample();
    Mirror mirror(doc);
    std::vector<std::unique_ptr<EditCommand>> done;
    std::vector<std::unique_ptr<EditCommand>> undone;
    std::vector<std::string> files = {Written(doc)}; // the file after each step done

    std::mt19937 random(20261208);
    int steps = 0, undos = 0, redos = 0, merged = 0;
    for (int round = 0; round < 1200; ++round) {
        const unsigned choice = random() % 10;
        if (choice < 3 && !done.empty()) {
            done.back()->Revert(doc);
            undone.push_back(std::move(done.back()));
            done.pop_back();
            ++undos;
        } else if (choice < 5 && !undone.empty()) {
            undone.back()->Apply(doc);
            done.push_back(std::move(undone.back()));
            undone.pop_back();
            ++redos;
        } else {
            Keys all = {"par", "mrk"};
            for (const auto& d : doc.Order().Divisions) {
                all.push_back(d.Key);
                all.insert(all.end(), d.QuestionKeys.begin(), d.QuestionKeys.end());
            }
            const std::string target = all[random() % all.size()];
            const bool item = KindOf(target) == NodeKind::Division || KindOf(target) == NodeKind::Question;
            std::unique_ptr<EditCommand> command;
            bool applied = false;
            // Several chosen at once, as a selection in the tree.
            Keys chosen = {target};
            for (unsigned n = random() % 4; n > 0; --n)
                chosen.push_back(all[random() % all.size()]);
            switch (random() % 12) {
            case 0:
                command = std::make_unique<AddItem>(target, NewDivision{});
                break;
            case 1: {
                Question pasted;
                pasted.QSet("вставлен " + std::to_string(round));
                pasted.ASet(0, "ответ");
                pasted.AScoreSet(0, static_cast<std::int16_t>(round % 7));
                command = std::make_unique<AddItem>(target, std::move(pasted));
                break;
            }
            case 2: {
                NewDivision division{"Вставленный " + std::to_string(round), 2, {}};
                division.Questions.resize(random() % 3);
                for (Question& q : division.Questions)
                    q.QSet("в разделе " + std::to_string(round));
                command = std::make_unique<AddItem>(target, std::move(division));
                break;
            }
            case 3:
                if (!item)
                    continue;
                command = std::make_unique<RemoveItem>(target);
                break;
            case 4: { // dragged somewhere, maybe into another division
                const auto& divisions = doc.Order().Divisions;
                if (!item || divisions.empty())
                    continue;
                const auto& into = divisions[random() % divisions.size()];
                const bool question = KindOf(target) == NodeKind::Question;
                const std::size_t places = question ? into.QuestionKeys.size() + 1 : divisions.size();
                command = std::make_unique<MoveItemTo>(target, question ? into.Key : std::string(),
                                                       random() % places);
                break;
            }
            case 5:
            case 6:
            case 7: { // a field edited, sometimes as the next part of a typing run
                auto* last = done.empty() ? nullptr : dynamic_cast<SetField*>(done.back().get());
                const bool typing = last && random() % 3 != 0;
                const FieldPlace place = typing ? last->Place() : RandomPlace(target, random);
                auto edit = std::make_unique<SetField>(place, RandomValue(place, round, random));
                const std::size_t told = mirror.changes.size();
                edit->Apply(doc);
                if (edit->Does() == Kind::Edited) {
                    ASSERT_GT(mirror.changes.size(), told) << round;
                    EXPECT_EQ(mirror.changes.back().Field, edit->Place().Field);
                    EXPECT_EQ(mirror.changes.back().Key, edit->Place().Key);
                }
                if (typing) {
                    ASSERT_TRUE(last->Absorb(*edit));
                    ++merged;
                    files.resize(done.size());
                    if (last->Does() == Kind::None) // typed and taken back
                        done.pop_back();
                    else
                        files.push_back(Written(doc));
                    undone.clear();
                    ASSERT_EQ(Written(doc), files[done.size()]) << round;
                    continue;
                }
                EXPECT_FALSE(last && last->Place() != place && last->Absorb(*edit)) << "another field joins no run";
                command = std::move(edit);
                applied = true;
                break;
            }
            case 8:
                command = RemoveItems(doc, chosen);
                break;
            case 9:
                command = MoveItems(doc, chosen, random() % 2 == 0);
                break;
            case 10: {
                std::vector<PasteItems::Item> items;
                for (std::size_t i = 0; i < chosen.size(); ++i) {
                    Question q;
                    q.QSet("вставлен " + std::to_string(round) + "." + std::to_string(i));
                    if (random() % 2 == 0)
                        items.emplace_back(std::move(q));
                    else
                        items.emplace_back(NewDivision{"Раздел " + std::to_string(round), 1, {q}});
                }
                command = std::make_unique<PasteItems>(target, std::move(items));
                break;
            }
            default:
                command = std::make_unique<MoveItem>(target, random() % 2 == 0);
                break;
            }
            if (!applied)
                command->Apply(doc);
            if (command->Does() == Kind::None) {
                ASSERT_EQ(Written(doc), files[done.size()]) << round; // nothing was done
                continue;
            }
            done.push_back(std::move(command));
            undone.clear();
            files.resize(done.size());
            files.push_back(Written(doc));
            ++steps;
        }
        ASSERT_TRUE(mirror.AgreesWithDocument()) << round;
        ASSERT_EQ(Written(doc), files[done.size()]) << round;
    }
    EXPECT_GT(steps, 300);
    EXPECT_GT(undos, 50);
    EXPECT_GT(redos, 30);
    EXPECT_GT(merged, 25);

    while (!done.empty()) {
        done.back()->Revert(doc);
        done.pop_back();
    }
    EXPECT_EQ(Written(doc), files.front());
    EXPECT_TRUE(mirror.AgreesWithDocument());
}

TEST(EditCommands, AQuestionDraggedIntoAnotherDivisionGoesBackOnUndo)
{
    TestDocument doc = Sample();
    Mirror mirror(doc);
    const std::string before = Written(doc);
    MoveItemTo drag("q2", "d7", 0); // into the empty last division
    drag.Apply(doc);
    EXPECT_EQ(drag.Does(), Kind::Moved);
    EXPECT_EQ(doc.ParentOf("q2"), "d7");
    EXPECT_EQ(doc.QuestionKeys("d1"), (Keys{"q3", "q4"}));
    ASSERT_EQ(mirror.changes.size(), 1u);
    EXPECT_EQ(mirror.changes[0].FromParent, "d1");
    EXPECT_EQ(mirror.changes[0].Parent, "d7");
    EXPECT_TRUE(mirror.AgreesWithDocument());
    drag.Revert(doc);
    EXPECT_EQ(Written(doc), before);
    EXPECT_EQ(doc.DivisionAt("d1").Questions.Count(), 3u);

    EXPECT_FALSE(doc.MoveTo("q2", "d1", 0)); // where it stands
    EXPECT_FALSE(doc.MoveTo("q2", "d1", 3)); // past the end, counted without it
    EXPECT_FALSE(doc.MoveTo("q2", "", 0));   // never a division
    EXPECT_FALSE(doc.MoveTo("d1", "d5", 0)); // nor a division a question
    EXPECT_TRUE(doc.MoveTo("d1", "", 2));
    EXPECT_EQ(doc.Order().Divisions.back().Key, "d1");
}

TEST(EditCommands, WhatFindsNothingToDoIsNoStep)
{
    TestDocument doc = Sample();
    const std::string before = Written(doc);
    AddItem add("par", std::optional<Question>());
    add.Apply(doc);
    EXPECT_EQ(add.Does(), Kind::None);
    EXPECT_EQ(Written(doc), before);
    AddItem division("par", NewDivision{"Вставленный", 3, std::vector<Question>(2)});
    division.Apply(doc);
    EXPECT_EQ(division.Does(), Kind::Added);
    EXPECT_EQ(doc.Order().Divisions.front().Key, division.Key()); // before the first division
    EXPECT_EQ(doc.DivisionAt(division.Key()).NQ, 3);
    EXPECT_EQ(doc.QuestionKeys(division.Key()).size(), 2u);

    MoveItem top(doc.Order().Divisions.front().Key, false);
    top.Apply(doc);
    EXPECT_EQ(top.Does(), Kind::None); // the marks stay above the first division
}

// d1: q2 q3 q4; d5: q6; d7 (empty)
TEST(CommandGroups, SeveralRemovedAsOneStepComeBackInPlace)
{
    TestDocument doc = Sample();
    Mirror mirror(doc);
    const std::string before = Written(doc);
    // The marks, a repeated key and a question of a division that goes too
    // are left out; what stays is in document order.
    const Keys chosen = {"q4", "mrk", "q6", "d5", "q2", "q4"};
    EXPECT_EQ(doc.ItemsAmong(chosen), (Keys{"q2", "q4", "d5"}));
    EXPECT_EQ(doc.SelectionAfterDelete(doc.ItemsAmong(chosen)), "q3");
    EXPECT_EQ(doc.SelectionAfterDelete(Keys{"q3", "q4"}), "q2"); // none after them stays
    EXPECT_EQ(doc.SelectionAfterDelete(Keys{"q2", "q3", "q4"}), "d1");
    EXPECT_EQ(doc.SelectionAfterDelete(Keys{"d1", "d5", "d7"}), "par");

    auto remove = RemoveItems(doc, chosen);
    remove->Apply(doc);
    EXPECT_EQ(remove->Does(), Kind::Removed);
    EXPECT_EQ(remove->Keys(), (Keys{"q2", "q4", "d5"}));
    ASSERT_EQ(doc.Order().Divisions.size(), 2u);
    EXPECT_EQ(doc.QuestionKeys("d1"), (Keys{"q3"}));
    EXPECT_TRUE(mirror.AgreesWithDocument());
    const std::string after = Written(doc);

    remove->Revert(doc);
    EXPECT_EQ(Written(doc), before);
    EXPECT_TRUE(mirror.AgreesWithDocument());
    remove->Apply(doc);
    EXPECT_EQ(Written(doc), after);
}

TEST(CommandGroups, ABlockMovesWholeOrNotAtAll)
{
    TestDocument doc = Sample();
    Mirror mirror(doc);
    const std::string before = Written(doc);
    auto down = MoveItems(doc, {"q3", "q2"}, true);
    down->Apply(doc);
    EXPECT_EQ(down->Does(), Kind::Moved);
    EXPECT_EQ(doc.QuestionKeys("d1"), (Keys{"q4", "q2", "q3"}));
    const std::string moved = Written(doc);

    // At the bottom the block stops whole, and a division's questions move
    // with it rather than within it.
    auto stuck = MoveItems(doc, {"q2", "q3"}, true);
    stuck->Apply(doc);
    EXPECT_EQ(stuck->Does(), Kind::None);
    EXPECT_EQ(Written(doc), moved);
    auto divisions = MoveItems(doc, {"d7", "q3", "d5", "d1"}, false);
    divisions->Apply(doc);
    EXPECT_EQ(divisions->Does(), Kind::None); // d1 is the first division
    auto gapped = MoveItems(doc, {"d7", "q2", "d1"}, true);
    gapped->Apply(doc);
    EXPECT_EQ(gapped->Does(), Kind::None); // d7 is the last

    auto up = MoveItems(doc, {"d5", "d7", "q6"}, false);
    up->Apply(doc);
    EXPECT_EQ(up->Keys(), (Keys{"d5", "d7"}));
    ASSERT_EQ(doc.Order().Divisions.size(), 3u);
    EXPECT_EQ(doc.Order().Divisions[0].Key, "d5");
    EXPECT_EQ(doc.Order().Divisions[1].Key, "d7");
    EXPECT_EQ(doc.QuestionKeys("d5"), (Keys{"q6"}));
    EXPECT_TRUE(mirror.AgreesWithDocument());

    up->Revert(doc);
    EXPECT_EQ(Written(doc), moved);
    down->Revert(doc);
    EXPECT_EQ(Written(doc), before);
    EXPECT_TRUE(mirror.AgreesWithDocument());
}

TEST(CommandGroups, PastedItemsKeepTheirOrderAndKinds)
{
    TestDocument doc = Sample();
    Mirror mirror(doc);
    const std::string before = Written(doc);
    Question first;
    first.QSet("первый вставленный");
    Question second;
    second.QSet("второй вставленный");
    NewDivision division{"Вставленный раздел", 1, std::vector<Question>(1)};
    std::vector<PasteItems::Item> items;
    items.emplace_back(first);
    items.emplace_back(std::move(division));
    items.emplace_back(second);
    PasteItems paste("q3", std::move(items));
    paste.Apply(doc);
    const Keys keys = paste.Keys();
    ASSERT_EQ(keys.size(), 3u);
    // The questions one after the other behind the selected one, the
    // division behind the selected one's division, holding only its own.
    EXPECT_EQ(doc.QuestionKeys("d1"), (Keys{"q2", "q3", keys[0], keys[2], "q4"}));
    EXPECT_EQ(doc.QuestionAt(keys[2]).Q(), "второй вставленный");
    ASSERT_EQ(doc.Order().Divisions.size(), 4u);
    EXPECT_EQ(doc.Order().Divisions[1].Key, keys[1]);
    EXPECT_EQ(doc.QuestionKeys(keys[1]).size(), 1u);
    EXPECT_TRUE(mirror.AgreesWithDocument());
    const std::string after = Written(doc);

    paste.Revert(doc);
    EXPECT_EQ(Written(doc), before);
    paste.Apply(doc);
    EXPECT_EQ(Written(doc), after);

    // With the parameters selected the questions find no place; the
    // division goes first.
    std::vector<PasteItems::Item> more;
    more.emplace_back(Question());
    more.emplace_back(NewDivision{});
    PasteItems onParameters("par", std::move(more));
    onParameters.Apply(doc);
    ASSERT_EQ(onParameters.Keys().size(), 1u);
    EXPECT_EQ(doc.Order().Divisions.front().Key, onParameters.Key());
}

} // namespace
} // namespace mirvane::testing
