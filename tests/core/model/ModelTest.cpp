#include "model/CodePage.h"
#include "model/KeyCounter.h"
#include "model/Misc.h"
#include "model/KeyedCollection.h"
#include "model/Test.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace mirvane {
namespace {

TEST(TestModel, FreshTestHasTheDefaults)
{
    mirvane::Test test;
    EXPECT_EQ(test.TestName, "Экзамен");
    EXPECT_EQ(test.TestTime, 30);
    EXPECT_EQ(test.ShowErrors, 0);
    EXPECT_EQ(test.LogType, 0);
    EXPECT_EQ(test.LogFile, "LOG.TXT");
    EXPECT_EQ(test.Divisions.Count(), 0u);
    EXPECT_EQ(test.MarkDiscriptionsGet(0), "Экзамен не сдан");
    EXPECT_EQ(test.MarkScoresGet(0), 0);
    int inUse = 0;
    for (int i = 0; i < mirvane::Test::kMarkSlots; ++i)
        inUse += test.IsMarkInUse(i) ? 1 : 0;
    EXPECT_EQ(inUse, 1);
}

TEST(TestModel, ResetDropsEverything)
{
    mirvane::Test test;
    test.TestName = "x";
    test.TestTime = 5;
    test.MarkDiscriptionsSet(3, "Хорошо");
    test.MarkScoresSet(3, 7);
    auto d = std::make_unique<Division>();
    d->Key = "d1";
    test.Divisions.Add("d1", std::move(d));
    test.Reset();
    EXPECT_EQ(test.TestName, "Экзамен");
    EXPECT_EQ(test.TestTime, 30);
    EXPECT_EQ(test.MarkDiscriptionsGet(3), "");
    EXPECT_EQ(test.MarkScoresGet(3), 0);
    EXPECT_EQ(test.Divisions.Count(), 0u);
}

TEST(TestModel, NewItemsHaveClassDefaults)
{
    Division d;
    EXPECT_EQ(d.NQ, 1);
    EXPECT_EQ(d.Name, "Раздел");
    EXPECT_TRUE(d.Questions.Empty());
    Question q;
    EXPECT_EQ(q.Q(), "");
    for (int i = 0; i < Question::kAnswerSlots; ++i) {
        EXPECT_EQ(q.AGet(i), "");
        EXPECT_EQ(q.AScoreGet(i), 0);
    }
}

TEST(TestModel, AccessorsOutOfRangeThrowAndChangeNothing)
{
    mirvane::Test test;
    EXPECT_THROW(test.MarkScoresGet(11), std::out_of_range);
    EXPECT_THROW(test.MarkScoresGet(-1), std::out_of_range);
    EXPECT_THROW(test.MarkDiscriptionsSet(11, "x"), std::out_of_range);
    EXPECT_NO_THROW(test.MarkScoresSet(10, 4));
    EXPECT_EQ(test.MarkScoresGet(10), 4);
    Question q;
    EXPECT_THROW(q.AGet(10), std::out_of_range);
    EXPECT_THROW(q.AScoreSet(10, 1), std::out_of_range);
    EXPECT_THROW(q.ASet(-1, "x"), std::out_of_range);
    EXPECT_NO_THROW(q.ASet(9, "x"));
}

TEST(KeyCounter, KeysAreSharedAcrossKindsAndNeverReused)
{
    ResetKeyNumbers();
    EXPECT_EQ(NextKeyNumber(), 1);
    EXPECT_EQ(NextKeyNumber(), 2);
    EXPECT_EQ(NextKeyNumber(), 3);
    // A new document does not reset the counter.
    mirvane::Test test;
    test.Reset();
    EXPECT_EQ(NextKeyNumber(), 4);
}

TEST(KeyedCollection, PositionAndKeyAccess)
{
    KeyedCollection<Question> c;
    for (const char* key : {"q1", "q5", "q3"}) {
        auto q = std::make_unique<Question>();
        q->Key = key;
        c.Add(key, std::move(q));
    }
    EXPECT_EQ(c.Count(), 3u);
    EXPECT_EQ(c.Item(1).Key, "q1");
    EXPECT_EQ(c.Item(3).Key, "q3");
    EXPECT_EQ(c.Item("q5").Key, "q5");
    EXPECT_THROW(c.Item(0), std::out_of_range);
    EXPECT_THROW(c.Item(4), std::out_of_range);
    EXPECT_THROW(c.Item("q2"), std::out_of_range);
    EXPECT_THROW(c.Add("q1", std::make_unique<Question>()), std::invalid_argument);

    c.Remove("q5");
    EXPECT_EQ(c.Count(), 2u);
    EXPECT_EQ(c.Item(2).Key, "q3");
    EXPECT_FALSE(c.Contains("q5"));
    EXPECT_THROW(c.Remove("q5"), std::out_of_range);
}

Question MakeQuestion(std::initializer_list<std::pair<const char*, int>> answers)
{
    Question q;
    int i = 0;
    for (auto [text, score] : answers) {
        q.ASet(i, text);
        q.AScoreSet(i, static_cast<std::int16_t>(score));
        ++i;
    }
    return q;
}

TEST(Question, BestAnswer)
{
    EXPECT_EQ(MakeQuestion({{"a", 0}, {"b", 5}, {"c", 5}}).GetBestAnswer(), 1);
    EXPECT_EQ(MakeQuestion({{"", 0}, {"b", -1}, {"c", -3}}).GetBestAnswer(), 0);
    EXPECT_EQ(MakeQuestion({{"a", 3}, {"  ", 9}, {"c", 4}}).GetBestAnswer(), 2);
    Question q;
    q.ASet(9, "tenth");
    q.AScoreSet(9, 2);
    EXPECT_EQ(q.GetBestAnswer(), 9);
}

TEST(Question, CountLines)
{
    Question q = MakeQuestion({{"a", 0}, {"b", 0}});
    q.QSet("line 1\r\nline 2");
    EXPECT_EQ(q.CountLines(), 4);
    q.ASet(2, "   ");
    EXPECT_EQ(q.CountLines(), 4);
    q.ASet(3, "x\r\ny\r\nz");
    EXPECT_EQ(q.CountLines(), 7);
    Question empty;
    EXPECT_EQ(empty.CountLines(), 1);
    Question many;
    std::string text;
    for (int i = 0; i < 40000; ++i)
        text += "\r\n";
    many.QSet(text);
    EXPECT_EQ(many.CountLines(), 32767);
}

// Presence and line counts are kept as texts are written; whatever the
// sequence of writes, they must equal a count made from the texts themselves.
TEST(Question, KeptFactsMatchTheTexts)
{
    std::uint32_t seed = 99;
    auto next = [&] { return seed = seed * 1664525u + 1013904223u, seed >> 8; };
    const char* pieces[] = {"", " ", "  ", "x", "ответ", "\r\n", "\r", "\n", " \r\n ", "a b"};
    auto randomText = [&] {
        std::string t;
        for (int k = static_cast<int>(next() % 5); k > 0; --k)
            t += pieces[next() % 10];
        return t;
    };
    for (int round = 0; round < 300; ++round) {
        Question q;
        for (int step = 0; step < 30; ++step) {
            const int slot = static_cast<int>(next() % 11) - 1;
            switch (next() % 3) {
            case 0:
                if (slot < 0)
                    q.QSet(randomText());
                else
                    q.ASet(slot, randomText());
                break;
            default: {
                // Lines from a file carry no line break of their own.
                const char* lines[] = {"", " ", "  ", "word", "\xA0\xAB", " x "};
                q.AppendLine(slot, lines[next() % 6], CodePage::Dos());
                break;
            }
            }
            long expected = CountBreaks(q.Q()) + 1;
            for (int i = 0; i < Question::kAnswerSlots; ++i) {
                ASSERT_EQ(q.IsAnswerPresent(i), !IsBlank(q.AGet(i))) << round << " " << step;
                if (!IsBlank(q.AGet(i)))
                    expected += CountBreaks(q.AGet(i)) + 1;
            }
            ASSERT_EQ(q.CountLines(), expected) << round << " " << step;
        }
    }
}

TEST(Question, AppendLineJoinsWithCrLfAndDropsLeadingEmptyLines)
{
    Question q;
    q.AppendLine(Question::kQuestionText, "", CodePage::Dos());
    EXPECT_EQ(q.Q(), "");
    q.AppendLine(Question::kQuestionText, "\x8F\xE0\xA8", CodePage::Dos()); // "При"
    q.AppendLine(Question::kQuestionText, "", CodePage::Dos());
    q.AppendLine(Question::kQuestionText, "b", CodePage::Dos());
    EXPECT_EQ(q.Q(), "При\r\n\r\nb");
    q.AppendLine(3, "   ", CodePage::Dos());
    EXPECT_FALSE(q.IsAnswerPresent(3));
    q.AppendLine(3, "", CodePage::Dos());
    EXPECT_TRUE(q.IsAnswerPresent(3)); // "   " and a line break is not blank
    EXPECT_EQ(q.AGet(3), "   \r\n");
    EXPECT_THROW(q.AppendLine(10, "x", CodePage::Dos()), std::out_of_range);
    EXPECT_THROW(q.AppendLine(-2, "x", CodePage::Dos()), std::out_of_range);
}

} // namespace
} // namespace mirvane
