#include "TestBuilder.h"

#include "check/TestFindings.h"
#include "check/TestSummary.h"

#include <gtest/gtest.h>

#include <map>

namespace mirvane::testing {
namespace {

// "place: text" of every warning of `kind`.
std::vector<std::string> Warnings(const mirvane::Test& test, WarningKind kind, const WarningSwitches& on = {})
{
    std::vector<std::string> found;
    for (const Finding& f : FindAll(test, on)) {
        if (f.Warning == kind)
            found.push_back(NodePlace(f.Node) + ": " + FindingText(f, nullptr));
    }
    return found;
}

using Texts = std::vector<std::string>;

TEST(Warnings, SameQuestionIgnoresBlanksAndCaseButNotWords)
{
    mirvane::Test test;
    SetPassingMarks(test);
    Division& first = AddDivisionTo(test);
    AddQuestionTo(first, "Столица Франции?", {{"Париж", 1}, {"Лион", 0}});
    AddQuestionTo(first, "Сколько будет 2+2?\r\nОтвет дайте ЧИСЛОМ", {{"4", 1}, {"5", 0}});
    Division& second = AddDivisionTo(test);
    AddQuestionTo(second, "сколько  будет 2 + 2? ответ дайте числом ", {{"4", 1}, {"5", 0}});
    AddQuestionTo(second, "Сколько будет 2+3? Ответ дайте числом", {{"5", 1}, {"4", 0}});
    AddQuestionTo(second, "ЁЖ ИЛИ ЯЩЕРИЦА?", {{"ёж", 1}, {"ящерица", 0}});
    AddQuestionTo(second, "Ёж или ящерица?", {{"ёж", 1}, {"ящерица", 0}});
    // Long texts that begin alike and differ only at the end.
    const std::string opening = "Выберите верное утверждение о законах Ньютона и о движении тел вблизи Земли: ";
    AddQuestionTo(second, opening + "первое", {{"да", 1}, {"нет", 0}});
    AddQuestionTo(second, opening + "второе", {{"да", 1}, {"нет", 0}});
    AddQuestionTo(second, opening + "ВТОРОЕ", {{"да", 1}, {"нет", 0}});
    EXPECT_EQ(Warnings(test, WarningKind::SameQuestion),
              (Texts{"division 2, question 1: тот же вопрос, что вопрос 2 раздела 1",
                     "division 2, question 4: тот же вопрос, что вопрос 3 раздела 2",
                     "division 2, question 7: тот же вопрос, что вопрос 6 раздела 2"}));
}

// Among many questions, texts that begin alike for longer than a line and
// differ near the end, each met several times in other blanks and case.
TEST(Warnings, EachRepeatAmongManyQuestionsNamesTheFirstOfItsText)
{
    mirvane::Test test;
    SetPassingMarks(test);
    Division& d = AddDivisionTo(test);
    const std::string opening = "Какое из утверждений о равноускоренном движении тела, брошенного под углом к горизонту, верно";
    const std::map<int, std::string> repeated = {
        {10, opening + ": первое"},
        {50, "  " + opening + ":\r\nПЕРВОЕ"},
        {70, opening + ": второе"},
        {120, opening + ":\tперво е"},
        {150, opening + ": ВТОРОЕ "},
        {160, opening + ": третье"},
    };
    for (int i = 1; i <= 200; ++i) {
        const auto text = repeated.find(i);
        AddQuestionTo(d, text != repeated.end() ? text->second : "Вопрос номер " + std::to_string(i),
                      {{"да", 1}, {"нет", 0}});
    }
    EXPECT_EQ(Warnings(test, WarningKind::SameQuestion),
              (Texts{"division 1, question 50: тот же вопрос, что вопрос 10 раздела 1",
                     "division 1, question 120: тот же вопрос, что вопрос 10 раздела 1",
                     "division 1, question 150: тот же вопрос, что вопрос 70 раздела 1"}));
}

TEST(Warnings, SameAnswersWithinOneQuestionOnly)
{
    mirvane::Test test;
    SetPassingMarks(test);
    Division& d = AddDivisionTo(test);
    AddQuestionTo(d, "Хвойное?", {{"Ёлка", 1}, {"Сосна", 0}, {" ёлка ", 0}, {"СОСНА", 0}});
    AddQuestionTo(d, "Лиственное?", {{"Берёза", 1}, {"Ёлка", 0}, {"Берёзка", 0}});
    EXPECT_EQ(Warnings(test, WarningKind::SameAnswers),
              (Texts{"division 1, question 1: ответы 1 и 3 совпадают",
                     "division 1, question 1: ответы 2 и 4 совпадают"}));
}

// Two of three questions asked, best scores 3, 2 and 1: the largest total
// is 5, the smallest 0.
mirvane::Test ScoredTest()
{
    mirvane::Test test;
    test.MarkScoresSet(0, mirvane::Test::kFailingMarkScore);
    test.MarkDiscriptionsSet(0, "Не сдан");
    Division& d = AddDivisionTo(test, "Раздел", 2);
    AddQuestionTo(d, "Первый", {{"а", 3}, {"б", 0}});
    AddQuestionTo(d, "Второй", {{"а", 0}, {"б", 2}});
    AddQuestionTo(d, "Третий", {{"а", 1}, {"б", 0}});
    return test;
}

TEST(Warnings, MarkAboveTheLargestTotalOrLeftBelowOneAlwaysReached)
{
    mirvane::Test test = ScoredTest();
    test.MarkDiscriptionsSet(1, "Сдан");
    test.MarkScoresSet(1, 3);
    test.MarkDiscriptionsSet(2, "Отлично");
    test.MarkScoresSet(2, 5);
    EXPECT_EQ(Warnings(test, WarningKind::MarkNeverGiven), Texts{}); // 5 is just reachable

    test.MarkScoresSet(2, 6);
    test.MarkDiscriptionsSet(3, "Присутствовал");
    test.MarkScoresSet(3, 0);
    EXPECT_EQ(Warnings(test, WarningKind::MarkNeverGiven),
              (Texts{"marks: оценку «Не сдан» получить нельзя: наименьшая сумма баллов 0 не ниже порога 0 "
                     "оценки «Присутствовал»",
                     "marks: оценку «Отлично» получить нельзя: порог 6 больше наибольшей суммы баллов 5"}));
}

TEST(Warnings, BestAnswerAlwaysInOnePlaceInADivisionOfFive)
{
    mirvane::Test test;
    SetPassingMarks(test);
    Division& four = AddDivisionTo(test);
    Division& five = AddDivisionTo(test);
    Division& mixed = AddDivisionTo(test);
    for (int i = 0; i < 5; ++i) {
        const std::string text = "Вопрос " + std::to_string(i);
        if (i < 4)
            AddQuestionTo(four, text, {{"нет", 0}, {"да", 1}});
        AddQuestionTo(five, text, {{"нет", 0}, {"да", 1}});
        if (i < 4)
            AddQuestionTo(mixed, text, {{"нет", 0}, {"да", 1}});
        else
            AddQuestionTo(mixed, text, {{"да", 1}, {"нет", 0}});
    }
    EXPECT_EQ(Warnings(test, WarningKind::BestAlwaysInPlace),
              Texts{"division 2: во всех 5 вопросах раздела лучший ответ стоит на месте 2"});
}

TEST(Warnings, DivisionAskingNothing)
{
    mirvane::Test test;
    SetPassingMarks(test);
    AddQuestionTo(AddDivisionTo(test, "Раздел", 1), "Один", {{"да", 1}, {"нет", 0}});
    AddQuestionTo(AddDivisionTo(test, "Раздел", 0), "Два", {{"да", 1}, {"нет", 0}});
    EXPECT_EQ(Warnings(test, WarningKind::NothingAsked),
              Texts{"division 2: из раздела не задаётся ни одного вопроса"});
}

TEST(Warnings, EachIsSwitchedOffAloneAndNoneIsAnError)
{
    mirvane::Test test = ScoredTest();
    test.MarkDiscriptionsSet(1, "Отлично");
    test.MarkScoresSet(1, 9);
    Division& d = AddDivisionTo(test, "Раздел", 0);
    for (int i = 0; i < 5; ++i)
        AddQuestionTo(d, "Первый", {{"да", 1}, {"да", 0}});
    for (std::size_t k = 0; k < kWarningKinds; ++k) {
        const auto kind = static_cast<WarningKind>(k);
        EXPECT_FALSE(Warnings(test, kind).empty()) << WarningName(kind);
        WarningSwitches off;
        off.Set(kind, false);
        const std::vector<Finding> found = FindAll(test, off);
        EXPECT_TRUE(Warnings(test, kind, off).empty()) << WarningName(kind);
        for (std::size_t other = 0; other < kWarningKinds; ++other) {
            if (other != k) {
                EXPECT_FALSE(Warnings(test, static_cast<WarningKind>(other), off).empty());
            }
        }
        for (const Finding& f : found)
            EXPECT_EQ(f.Level, Finding::Severity::Warning) << f.Message;
    }
}

TEST(Summary, NumbersOfAHandCountedTest)
{
    mirvane::Test test = ScoredTest(); // asks 2 of best 3, 2, 1; worst 0, 0, 0
    test.TestTime = 45;
    test.MarkDiscriptionsSet(1, "Сдан");
    test.MarkScoresSet(1, 4);
    test.MarkDiscriptionsSet(2, "Отлично");
    test.MarkScoresSet(2, 10);
    Division& d = AddDivisionTo(test, "Второй", 1);
    AddQuestionTo(d, "Один", {{"а", -2}, {"б", 4}, {"в", 1}});
    AddQuestionTo(d, "Два", {{"а", 0}, {"б", 1}, {"в", -1}});

    const TestSummary s = Summarize(test);
    ASSERT_EQ(s.Divisions.size(), 2u);
    EXPECT_EQ(s.Divisions[1].Name, "Второй");
    EXPECT_EQ(s.Divisions[0].Questions, 3u);
    EXPECT_EQ(s.Divisions[0].Asked, 2);
    EXPECT_EQ(s.Divisions[1].Questions, 2u);
    EXPECT_EQ(s.Divisions[1].Asked, 1);
    EXPECT_EQ(s.Asked, 3);
    EXPECT_EQ(s.LargestTotal, 3 + 2 + 4);
    EXPECT_EQ(s.SmallestTotal, 0 + 0 - 2);
    EXPECT_EQ(s.TimeLimit, 45);
    ASSERT_EQ(s.Marks.size(), 3u);
    EXPECT_TRUE(s.Marks[0].Reachable);
    EXPECT_EQ(s.Marks[1].Threshold, 4);
    EXPECT_TRUE(s.Marks[1].Reachable);
    EXPECT_EQ(s.Marks[2].Description, "Отлично");
    EXPECT_FALSE(s.Marks[2].Reachable);
    // Best answers: first, second, first; second, second.
    EXPECT_EQ(s.BestPositions[0], 2u);
    EXPECT_EQ(s.BestPositions[1], 3u);
    EXPECT_EQ(s.BestPositions[2], 0u);
}

} // namespace
} // namespace mirvane::testing
