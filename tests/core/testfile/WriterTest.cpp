#include "TestSupport.h"

#include "model/DocumentOrder.h"
#include "testfile/TestFileWriter.h"

#include <gtest/gtest.h>

namespace mirvane::testing {
namespace {

std::string Write(const Test& test) { return WriteTestFile(test, DocumentOrder::FromCollections(test)); }

Division& AddDivision(Test& test, const std::string& key, const std::string& name, std::int16_t nq)
{
    auto d = std::make_unique<Division>();
    d->Key = key;
    d->Name = name;
    d->NQ = nq;
    return test.Divisions.Add(key, std::move(d));
}

Question& AddQuestion(Division& division, const std::string& key, const std::string& text)
{
    auto q = std::make_unique<Question>();
    q->Key = key;
    q->QSet(text);
    return division.Questions.Add(key, std::move(q));
}

TEST(Writer, FreshTestIsSevenLinesAndTheTerminator)
{
    mirvane::Test test;
    EXPECT_EQ(Write(test), AnsiToOem("Экзамен\r\n)t 30\r\n)\" 0\r\n)@ 0\r\n)f LOG.TXT\r\n)< \r\nЭкзамен не сдан\r\n):\r\n"));
}

TEST(Writer, EachJournalKindHasItsLine)
{
    mirvane::Test test;
    for (int kind : {1, 2, 0}) {
        test.LogType = static_cast<std::int16_t>(kind);
        const std::string line = ")@ " + std::to_string(kind) + "\r\n";
        EXPECT_NE(Write(test).find(line), std::string::npos) << kind;
        EXPECT_EQ(LoadBytes(Write(test)).test->LogType, kind);
    }
}

TEST(Writer, SettingsMarksAndTheShapeOfAFile)
{
    mirvane::Test test;
    test.TestName = "Физика";
    test.TestTime = 600;
    test.ShowErrors = 5;
    test.LogType = 7;
    test.LogFile = "журнал";
    test.MarkDiscriptionsSet(0, "");
    test.MarkScoresSet(0, 123);
    test.MarkDiscriptionsSet(1, "   ");
    test.MarkScoresSet(1, 9);
    test.MarkDiscriptionsSet(2, " Хорошо ");
    test.MarkScoresSet(2, -4);
    Division& d = AddDivision(test, "d1", "  Механика", 2);
    Question& q1 = AddQuestion(d, "q2", "Первый\r\nвопрос");
    q1.ASet(0, "да");
    q1.AScoreSet(0, 1);
    q1.ASet(1, "  ");
    q1.AScoreSet(1, 8);
    q1.ASet(2, "нет\r\nсовсем");
    q1.AScoreSet(2, -3);
    q1.ASet(9, "десятый");
    AddQuestion(d, "q3", "");
    AddDivision(test, "d4", "Пустой", 0);

    EXPECT_EQ(Write(test), AnsiToOem("Физика\r\n"
                                     ")t 600\r\n"
                                     ")\" 1\r\n"
                                     ")@ 0\r\n"
                                     ")f журнал\r\n"
                                     ")< \r\n"
                                     "\r\n"
                                     ")> -4\r\n"
                                     " Хорошо \r\n"
                                     ")* 2\r\n"
                                     "):  Механика\r\n"
                                     ")?\r\n"
                                     "Первый\r\nвопрос\r\n"
                                     ")! 1\r\nда\r\n"
                                     ")! -3\r\nнет\r\nсовсем\r\n"
                                     ")! 0\r\nдесятый\r\n"
                                     ")?\r\n"
                                     "\r\n"
                                     ")* 0\r\n"
                                     "):Пустой\r\n"
                                     "):\r\n"));
}

TEST(Writer, FollowsTheGivenDocumentOrder)
{
    mirvane::Test test;
    Division& a = AddDivision(test, "d1", "A", 1);
    AddQuestion(a, "q2", "first");
    AddQuestion(a, "q3", "second");
    AddDivision(test, "d4", "B", 1);
    DocumentOrder order;
    order.Divisions.push_back({"d4", {}});
    order.Divisions.push_back({"d1", {"q3", "q2"}});
    const std::string bytes = WriteTestFile(test, order);
    const auto b = bytes.find("):B");
    const auto aPos = bytes.find("):A");
    const auto second = bytes.find("second");
    const auto first = bytes.find("first");
    EXPECT_LT(b, aPos);
    EXPECT_LT(second, first);

    order.Divisions.push_back({"d99", {}});
    EXPECT_THROW(WriteTestFile(test, order), std::out_of_range);
}

TEST(Writer, RoundTripGivesTheTestBack)
{
    mirvane::Test test;
    test.TestName = "Экзамен по химии";
    test.TestTime = 45;
    test.ShowErrors = 1;
    test.LogType = 2;
    test.LogFile = "CHEM.LOG";
    test.MarkDiscriptionsSet(0, "Неуд");
    for (int i = 1; i <= 9; ++i) {
        test.MarkDiscriptionsSet(i, "Оценка " + std::to_string(i));
        test.MarkScoresSet(i, static_cast<std::int16_t>(i * 10 - 50));
    }
    Division& d1 = AddDivision(test, "d1", "  Неорганика ", 3);
    Question& q = AddQuestion(d1, "q2", "Что такое\r\n\r\nвода? ─ ║ №");
    for (int i = 0; i < 9; ++i) {
        q.ASet(i, "ответ " + std::to_string(i) + (i % 2 ? "\r\nвторая строка" : ""));
        q.AScoreSet(i, static_cast<std::int16_t>(i - 4));
    }
    AddQuestion(d1, "q3", "Короткий");
    AddDivision(test, "d4", "Органика", 0);

    const std::string bytes = Write(test);
    auto back = LoadBytes(bytes);
    ASSERT_TRUE(back.isTestFile);
    EXPECT_TRUE(back.messages.empty());
    const mirvane::Test& r = *back.test;
    EXPECT_EQ(r.TestName, test.TestName);
    EXPECT_EQ(r.TestTime, 45);
    EXPECT_EQ(r.ShowErrors, 1);
    EXPECT_EQ(r.LogType, 2);
    EXPECT_EQ(r.LogFile, "CHEM.LOG");
    EXPECT_EQ(r.MarkDiscriptionsGet(0), "Неуд");
    EXPECT_EQ(r.MarkScoresGet(0), -32768);
    for (int i = 1; i <= 9; ++i) {
        EXPECT_EQ(r.MarkDiscriptionsGet(i), test.MarkDiscriptionsGet(i));
        EXPECT_EQ(r.MarkScoresGet(i), test.MarkScoresGet(i));
    }
    ASSERT_EQ(r.Divisions.Count(), 2u);
    EXPECT_EQ(r.Divisions.Item(1).Name, "  Неорганика ");
    EXPECT_EQ(r.Divisions.Item(1).NQ, 3);
    EXPECT_EQ(r.Divisions.Item(2).Name, "Органика");
    EXPECT_EQ(r.Divisions.Item(2).NQ, 0);
    ASSERT_EQ(r.Divisions.Item(1).Questions.Count(), 2u);
    const Question& rq = r.Divisions.Item(1).Questions.Item(1);
    EXPECT_EQ(rq.Q(), q.Q());
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(rq.AGet(i), q.AGet(i));
        EXPECT_EQ(rq.AScoreGet(i), q.AScoreGet(i));
    }
    EXPECT_EQ(r.Divisions.Item(1).Questions.Item(2).Q(), "Короткий");
    // Writing what was read gives the same bytes.
    EXPECT_EQ(Write(r), bytes);
}

TEST(Writer, LeadingEmptyLinesAreLostOnTheWayBack)
{
    mirvane::Test test;
    Division& d = AddDivision(test, "d1", "D", 1);
    Question& q = AddQuestion(d, "q2", "\r\n\r\nтекст");
    q.ASet(0, "\r\nответ");
    auto back = LoadBytes(Write(test));
    const Question& rq = back.test->Divisions.Item(1).Questions.Item(1);
    EXPECT_EQ(rq.Q(), "текст");
    EXPECT_EQ(rq.AGet(0), "ответ");
}

TEST(Writer, EmptyQuestionTextReadsBackEmpty)
{
    mirvane::Test test;
    Division& d = AddDivision(test, "d1", "D", 1);
    AddQuestion(d, "q2", "");
    auto back = LoadBytes(Write(test));
    ASSERT_EQ(back.test->Divisions.Item(1).Questions.Count(), 1u);
    EXPECT_EQ(back.test->Divisions.Item(1).Questions.Item(1).Q(), "");
}

TEST(Writer, CharactersMissingFromTheDosPageBecomeQuestionMarks)
{
    mirvane::Test test;
    test.TestName = "Цена €5";
    EXPECT_EQ(Write(test).substr(0, 9), AnsiToOem("Цена ?5\r\n"));
}

// Pasted or imported one-line fields with line breaks in them: the file still
// reads back without a message, every field whole, breaks as spaces.
TEST(Writer, OneLineFieldsStayOnTheirLineWhateverBreaksTheyHold)
{
    const std::string breaks[] = {"\r\n", "\r", "\n", "\v", "\f", "\xC2\x85", "\xE2\x80\xA8", "\xE2\x80\xA9"};
    for (const std::string& br : breaks) {
        mirvane::Test test;
        test.TestName = "Физика" + br + ")* 9" + br + "часть 2";
        test.LogFile = "log" + br + ")t 5";
        test.MarkDiscriptionsSet(0, "Плохо" + br + "):");
        test.MarkDiscriptionsSet(1, "Хорошо" + br + ")> 3");
        test.MarkScoresSet(1, 7);
        AddQuestion(AddDivision(test, "d1", "Первая" + br + "):Вторая", 1), "q2", "Вопрос");
        auto back = LoadBytes(Write(test));
        SCOPED_TRACE(::testing::PrintToString(br));
        EXPECT_TRUE(back.messages.empty());
        EXPECT_EQ(back.test->TestName, "Физика )* 9 часть 2");
        EXPECT_EQ(back.test->LogFile, "log )t 5");
        EXPECT_EQ(back.test->MarkDiscriptionsGet(0), "Плохо ):");
        EXPECT_EQ(back.test->MarkDiscriptionsGet(1), "Хорошо )> 3");
        EXPECT_EQ(back.test->MarkScoresGet(1), 7);
        ASSERT_EQ(back.test->Divisions.Count(), 1u);
        EXPECT_EQ(back.test->Divisions.Item(1).Name, "Первая ):Вторая");
        EXPECT_EQ(back.test->Divisions.Item(1).Questions.Count(), 1u);
    }
}

} // namespace
} // namespace mirvane::testing
