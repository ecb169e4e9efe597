// The structural operations on the document, without a window.
#include "TestBuilder.h"
#include "TestSupport.h"

#include "document/TestDocument.h"
#include "testfile/TestFileWriter.h"

#include <gtest/gtest.h>

#include <random>

namespace mirvane::testing {
namespace {

using Keys = std::vector<std::string>;
using Kind = DocumentChange::Kind;

// d1: q2 q3 q4; d5: q6; d7 (empty)
TestDocument Sample()
{
    auto loaded = Load({"T", ")t 30", ")<", "Неуд", ")* 1", "):Первый", ")?", "один", ")?", "два", ")?", "три",
                        ")* 1", "):Второй", ")?", "четыре", ")* 1", "):Третий"});
    return TestDocument(std::move(loaded.test));
}

Keys Divisions(const TestDocument& doc)
{
    Keys keys;
    for (const auto& d : doc.Order().Divisions)
        keys.push_back(d.Key);
    return keys;
}

TEST(TestDocument, AddsDivisionsWhereTheSelectionSays)
{
    TestDocument doc = Sample();
    DocumentChange c = doc.AddDivision("mrk");
    EXPECT_EQ(c.What, Kind::Added);
    EXPECT_EQ(c.Key, "d8");
    EXPECT_EQ(c.Index, 0u);
    EXPECT_EQ(doc.DivisionAt("d8").Name, "Новый раздел");
    EXPECT_EQ(doc.DivisionAt("d8").NQ, 1);
    doc.AddDivision("q3"); // after the question's division, not after the question
    doc.AddDivision("d5");
    doc.AddDivision("par");
    EXPECT_EQ(Divisions(doc), (Keys{"d11", "d8", "d1", "d9", "d5", "d10", "d7"}));
    // New items go to the end of their collection; the document keeps their place.
    EXPECT_EQ(doc.Model().Divisions.Item(doc.Model().Divisions.Count()).Key, "d11");
}

TEST(TestDocument, AddsQuestionsWhereTheSelectionSays)
{
    TestDocument doc = Sample();
    EXPECT_EQ(doc.AddQuestion("d1").Index, 3u);
    const DocumentChange c = doc.AddQuestion("q2");
    EXPECT_EQ(c.Parent, "d1");
    EXPECT_EQ(c.Index, 1u);
    EXPECT_EQ(doc.QuestionKeys("d1"), (Keys{"q2", "q9", "q3", "q4", "q8"}));
    EXPECT_EQ(doc.ParentOf("q9"), "d1");
    EXPECT_TRUE(doc.QuestionAt("q9").Q().empty());
    // The key is drawn before the selection is looked at.
    EXPECT_FALSE(doc.AddQuestion("par"));
    EXPECT_FALSE(doc.AddQuestion("mrk"));
    EXPECT_EQ(doc.AddQuestion("d7").Key, "q12");
}

TEST(TestDocument, DeletesAndSaysWhatToSelectNext)
{
    TestDocument doc = Sample();
    EXPECT_EQ(doc.SelectionAfterDelete("q3"), "q4");
    EXPECT_EQ(doc.SelectionAfterDelete("q4"), "q3");
    EXPECT_EQ(doc.SelectionAfterDelete("q6"), "d5");
    EXPECT_EQ(doc.SelectionAfterDelete("d5"), "d7");
    EXPECT_EQ(doc.SelectionAfterDelete("d7"), "d5");
    EXPECT_EQ(doc.SelectionAfterDelete("mrk"), "");

    const DocumentChange q = doc.Delete("q3");
    EXPECT_EQ(q.What, Kind::Removed);
    EXPECT_EQ(q.Parent, "d1");
    EXPECT_EQ(q.Index, 1u);
    EXPECT_FALSE(doc.Contains("q3"));
    EXPECT_EQ(doc.QuestionKeys("d1"), (Keys{"q2", "q4"}));
    doc.Delete("d1");
    EXPECT_FALSE(doc.Contains("q2"));
    EXPECT_FALSE(doc.Delete("par"));
    doc.Delete("d5");
    EXPECT_EQ(doc.SelectionAfterDelete("d7"), "par"); // the only division
    EXPECT_THROW(doc.Delete("q99"), std::out_of_range);
}

TEST(TestDocument, MovesStayWithinTheirLevel)
{
    TestDocument doc = Sample();
    EXPECT_FALSE(doc.MoveUp("q2"));
    EXPECT_FALSE(doc.MoveDown("q4")); // the last of its division, though another follows
    EXPECT_FALSE(doc.MoveUp("d1"));
    EXPECT_FALSE(doc.MoveDown("d7"));
    EXPECT_FALSE(doc.MoveDown("par"));
    const DocumentChange c = doc.MoveDown("q2");
    EXPECT_EQ(c.What, Kind::Moved);
    EXPECT_EQ(c.Index, 1u);
    EXPECT_EQ(doc.QuestionKeys("d1"), (Keys{"q3", "q2", "q4"}));
    doc.MoveUp("d5");
    EXPECT_EQ(Divisions(doc), (Keys{"d5", "d1", "d7"}));
    EXPECT_EQ(doc.QuestionKeys("d1"), (Keys{"q3", "q2", "q4"}));
    // Only the document order moved; the collections keep theirs.
    EXPECT_EQ(doc.Model().Divisions.Item(1).Key, "d1");
    EXPECT_EQ(doc.Model().Divisions.Item("d1").Questions.Item(1).Key, "q2");
}

// Hundreds of random adds, moves and deletes, checked after every step
// against a plain list; then the file written in document order reads back
// as the same document.
TEST(TestDocument, RandomEditsAgreeWithAListModel)
{
    struct ListDivision {
        std::string key;
        Keys questions;
    };
    TestDocument doc = Sample();
    std::vector<ListDivision> list = {{"d1", {"q2", "q3", "q4"}}, {"d5", {"q6"}}, {"d7", {}}};
    auto find = [&](const std::string& key, int& d, int& q) {
        for (d = 0; d < static_cast<int>(list.size()); ++d) {
            q = -1;
            if (list[d].key == key)
                return;
            for (q = 0; q < static_cast<int>(list[d].questions.size()); ++q)
                if (list[d].questions[q] == key)
                    return;
        }
        d = -1;
    };

    std::mt19937 random(20261207);
    for (int step = 0; step < 600; ++step) {
        Keys all = {"par", "mrk"};
        for (auto& d : list) {
            all.push_back(d.key);
            all.insert(all.end(), d.questions.begin(), d.questions.end());
        }
        const std::string target = all[random() % all.size()];
        const NodeKind kind = KindOf(target);
        const bool item = kind == NodeKind::Division || kind == NodeKind::Question;
        int d = -1, q = -1;
        find(target, d, q);
        switch (random() % 5) {
        case 0: {
            const std::string key = doc.AddDivision(target).Key;
            list.insert(list.begin() + (item ? d + 1 : 0), ListDivision{key, {}});
            break;
        }
        case 1: {
            const DocumentChange c = doc.AddQuestion(target);
            if (kind == NodeKind::Division)
                list[d].questions.push_back(c.Key);
            else if (kind == NodeKind::Question)
                list[d].questions.insert(list[d].questions.begin() + q + 1, c.Key);
            else
                ASSERT_FALSE(c);
            if (c)
                doc.QuestionAt(c.Key).QSet("вопрос " + c.Key);
            break;
        }
        case 2:
            doc.Delete(target);
            if (kind == NodeKind::Division)
                list.erase(list.begin() + d);
            else if (kind == NodeKind::Question)
                list[d].questions.erase(list[d].questions.begin() + q);
            break;
        case 3:
            doc.MoveUp(target);
            if (kind == NodeKind::Division && d > 0)
                std::swap(list[d], list[d - 1]);
            else if (kind == NodeKind::Question && q > 0)
                std::swap(list[d].questions[q], list[d].questions[q - 1]);
            break;
        default:
            doc.MoveDown(target);
            if (kind == NodeKind::Division && d + 1 < static_cast<int>(list.size()))
                std::swap(list[d], list[d + 1]);
            else if (kind == NodeKind::Question && q + 1 < static_cast<int>(list[d].questions.size()))
                std::swap(list[d].questions[q], list[d].questions[q + 1]);
            break;
        }
        const DocumentOrder& order = doc.Order();
        ASSERT_EQ(order.Divisions.size(), list.size()) << step;
        ASSERT_EQ(doc.Model().Divisions.Count(), list.size()) << step;
        for (std::size_t i = 0; i < list.size(); ++i) {
            ASSERT_EQ(order.Divisions[i].Key, list[i].key) << step;
            ASSERT_EQ(order.Divisions[i].QuestionKeys, list[i].questions) << step;
            ASSERT_EQ(doc.DivisionAt(list[i].key).Questions.Count(), list[i].questions.size()) << step;
        }
    }

    auto back = LoadBytes(WriteTestFile(doc.Model(), doc.Order()));
    ASSERT_EQ(back.test->Divisions.Count(), list.size());
    for (std::size_t i = 0; i < list.size(); ++i) {
        const Division& d = back.test->Divisions.Item(i + 1);
        EXPECT_EQ(d.Name, doc.DivisionAt(list[i].key).Name);
        ASSERT_EQ(d.Questions.Count(), list[i].questions.size());
        for (std::size_t j = 0; j < list[i].questions.size(); ++j)
            EXPECT_EQ(d.Questions.Item(j + 1).Q(), doc.QuestionAt(list[i].questions[j]).Q());
    }
}

} // namespace
} // namespace mirvane::testing

namespace mirvane::testing {
namespace {

TEST(TestDocument, DetachedItemsComeBackExactlyWhereTheyWere)
{
    TestDocument doc = Sample();
    const std::string before = WriteTestFile(doc.Model(), doc.Order());
    DetachedItem question = doc.Detach("q3");
    ASSERT_TRUE(question);
    EXPECT_EQ(question.Parent, "d1");
    EXPECT_EQ(question.Index, 1u);
    DetachedItem division = doc.Detach("d1");
    EXPECT_EQ(division.QuestionOrder, (Keys{"q2", "q4"}));
    EXPECT_FALSE(doc.Contains("q2"));
    EXPECT_FALSE(doc.Detach("par"));

    const DocumentChange back = doc.Attach(std::move(division));
    EXPECT_EQ(back.What, Kind::Added);
    EXPECT_EQ(back.Index, 0u);
    doc.Attach(std::move(question));
    EXPECT_EQ(WriteTestFile(doc.Model(), doc.Order()), before);
    EXPECT_EQ(doc.QuestionKeys("d1"), (Keys{"q2", "q3", "q4"}));

    DetachedItem again = doc.Detach("q6");
    doc.AddQuestion("d5");
    again.Index = 5; // a place the division no longer has
    EXPECT_THROW(doc.Attach(std::move(again)), std::out_of_range);
}

} // namespace
} // namespace mirvane::testing
