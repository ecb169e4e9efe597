#include "TestBuilder.h"
#include "TestSupport.h"

#include "check/StructureCheck.h"

#include <gtest/gtest.h>

namespace mirvane::testing {
namespace {

using namespace check_text;

void ExpectFinding(const mirvane::Test& test, const std::string& key, std::string_view message)
{
    const CheckFinding f = CheckStructure(test);
    EXPECT_TRUE(f.Found);
    EXPECT_EQ(f.NodeKey, key);
    EXPECT_EQ(f.Message, std::string(message));
}

void ExpectClean(const mirvane::Test& test)
{
    const CheckFinding f = CheckStructure(test);
    EXPECT_FALSE(f.Found) << f.Message;
    EXPECT_EQ(f.NodeKey, "");
    EXPECT_EQ(f.Message, std::string(kNothingFound));
}

TEST(StructureCheckMarks, FreshTestHasTooFewMarks)
{
    mirvane::Test test;
    ExpectFinding(test, "mrk", kTooFewMarks);
}

TEST(StructureCheckMarks, BlankFailingMarkComesFirst)
{
    mirvane::Test test;
    test.MarkDiscriptionsSet(0, "   ");
    ExpectFinding(test, "mrk", kNoFailingMark);
}

TEST(StructureCheckMarks, EqualScoresAndTheFailingMarkScore)
{
    // In a fresh test mark 0 still holds score 0, so a mark at 0 collides.
    mirvane::Test fresh;
    fresh.MarkDiscriptionsSet(1, "Сдан");
    fresh.MarkScoresSet(1, 0);
    ExpectFinding(fresh, "mrk", kEqualMarkScores);

    // After reading a file mark 0 has -32768, and the same mark passes.
    auto read = Load({"T", ")t 30", ")<", "Не сдан", ")> 0", "Сдан"});
    ExpectClean(*read.test);

    mirvane::Test slot10;
    SetPassingMarks(slot10);
    slot10.MarkDiscriptionsSet(10, "лишняя");
    slot10.MarkScoresSet(10, 5);
    ExpectFinding(slot10, "mrk", kEqualMarkScores);
    slot10.MarkDiscriptionsSet(1, "  ");
    ExpectClean(slot10); // a blank mark is not in use, whatever its score
}

TEST(StructureCheckMarks, MarksButNoDivisionsIsClean)
{
    mirvane::Test test;
    SetPassingMarks(test);
    ExpectClean(test);
}

TEST(StructureCheckDivisions, EmptyDivisionBeforeTooFewQuestionsAnywhere)
{
    ResetKeyNumbers();
    mirvane::Test test;
    SetPassingMarks(test);
    Division& first = AddDivisionTo(test, "A", 5);
    AddQuestionTo(first, "q", {{"a", 1}, {"b", 0}});
    Division& empty = AddDivisionTo(test, "B", 1);
    // Rule 4 runs over all divisions before rule 5 looks at the first one.
    ExpectFinding(test, empty.Key, kEmptyDivision);
    AddQuestionTo(empty, "q", {{"a", 1}, {"b", 0}});
    ExpectFinding(test, first.Key, kTooFewQuestions);
}

TEST(StructureCheckDivisions, QuestionCounts)
{
    ResetKeyNumbers();
    mirvane::Test test;
    SetPassingMarks(test);
    Division& d = AddDivisionTo(test, "A", 3);
    for (int i = 0; i < 3; ++i)
        AddQuestionTo(d, "q", {{"a", 1}, {"b", 0}});
    ExpectClean(test);
    d.NQ = 4;
    ExpectFinding(test, d.Key, kTooFewQuestions);
}

TEST(StructureCheckDivisions, AtMost25QuestionsAsked)
{
    ResetKeyNumbers();
    mirvane::Test test;
    SetPassingMarks(test);
    Division& a = AddDivisionTo(test, "A", 13);
    Division& b = AddDivisionTo(test, "B", 13);
    for (int i = 0; i < 13; ++i) {
        AddQuestionTo(a, "q", {{"a", 1}, {"b", 0}});
        AddQuestionTo(b, "q", {{"a", 1}, {"b", 0}});
    }
    ExpectFinding(test, "par", kTooManyAsked);
    EXPECT_EQ(std::string(kTooManyAsked),
              "Попытка задать более 25 вопросов !!!\r\nПопробуйте уменьшить число задаваемых вопросов по разделам.");
    a.NQ = 12;
    ExpectClean(test);
}

TEST(StructureCheckQuestions, EachRuleRunsOverAllQuestionsBeforeTheNext)
{
    ResetKeyNumbers();
    mirvane::Test test;
    SetPassingMarks(test);
    Division& a = AddDivisionTo(test, "A", 1);
    Division& b = AddDivisionTo(test, "B", 1);
    Question& twoBest = AddQuestionTo(a, "q", {{"a", 1}, {"b", 0}, {"c", 1}});
    Question& oneAnswer = AddQuestionTo(b, "q", {{"a", 1}});
    ExpectFinding(test, oneAnswer.Key, kTooFewAnswers);
    oneAnswer.ASet(1, "второй");
    ExpectFinding(test, twoBest.Key, kSeveralBest);
    twoBest.AScoreSet(2, 0);
    ExpectClean(test);

    std::string tall;
    for (int i = 0; i < 15; ++i)
        tall += "строка\r\n";
    tall += "последняя"; // 16 lines, and two answers: 18
    oneAnswer.QSet(tall);
    ExpectFinding(test, oneAnswer.Key, kTooManyLines);
    oneAnswer.QSet(tall.substr(0, tall.rfind("\r\n"))); // 15 lines + 2 = 17
    ExpectClean(test);
}

TEST(StructureCheckQuestions, SlotNineCountsOnlyForLines)
{
    ResetKeyNumbers();
    mirvane::Test test;
    SetPassingMarks(test);
    Division& d = AddDivisionTo(test, "A", 1);
    Question& q = AddQuestionTo(d, "q", {{"a", 1}});
    q.ASet(9, "десятый");
    q.AScoreSet(9, 1);
    ExpectFinding(test, q.Key, kTooFewAnswers);
    q.ASet(1, "b");
    ExpectClean(test); // slot 9 ties slot 0 but is not looked at by rule 8
    std::string lines;
    for (int i = 0; i < 14; ++i)
        lines += "x\r\n";
    q.QSet(lines + "x"); // 15 + two answers + slot 9 = 18
    ExpectFinding(test, q.Key, kTooManyLines);
}

TEST(StructureCheckQuestions, BestScoreRuleStartsAtMinus32000)
{
    ResetKeyNumbers();
    mirvane::Test test;
    SetPassingMarks(test);
    Division& d = AddDivisionTo(test, "A", 1);
    AddQuestionTo(d, "q", {{"a", -32001}, {"b", -32005}});
    ExpectClean(test); // all present answers score below -32000
    Question& q = AddQuestionTo(d, "q", {{"a", 1}, {"b", 0}, {"c", 0}});
    (void)q;
    ExpectClean(test);
}

TEST(StructureCheckQuestions, LargeTestsKeepTheRuleOrder)
{
    // On a large test the first question per rule, and the order of the
    // rules, hold wherever the failing questions lie.
    ResetKeyNumbers();
    mirvane::Test test;
    SetPassingMarks(test);
    std::vector<Question*> all;
    for (int d = 0; d < 40; ++d) {
        Division& division = AddDivisionTo(test, "D", 0);
        for (int i = 0; i < 500; ++i)
            all.push_back(&AddQuestionTo(division, "q", {{"a", 1}, {"b", 0}}));
    }
    ExpectClean(test);
    std::string tall;
    for (int i = 0; i < 20; ++i)
        tall += "x\r\n";
    all[50]->QSet(tall);           // rule 9, early
    all[15000]->AScoreSet(1, 1);   // rule 8, later
    all[12000]->AScoreSet(1, 1);   // rule 8, earlier
    ExpectFinding(test, all[12000]->Key, kSeveralBest);
    all[19000]->ASet(1, "");       // rule 7, last part
    ExpectFinding(test, all[19000]->Key, kTooFewAnswers);
    all[9000]->ASet(0, " ");       // rule 7, earlier part
    ExpectFinding(test, all[9000]->Key, kTooFewAnswers);
    all[9000]->ASet(0, "a");
    all[19000]->ASet(1, "b");
    all[12000]->AScoreSet(1, 0);
    all[15000]->AScoreSet(1, 0);
    ExpectFinding(test, all[50]->Key, kTooManyLines);
}

} // namespace
} // namespace mirvane::testing
