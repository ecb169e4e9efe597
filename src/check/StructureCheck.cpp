#include "check/StructureCheck.h"

#include "model/NodeKey.h"
#include "model/Test.h"

#include <vector>


namespace mirvane {

namespace {

constexpr int kPanelAnswerSlots = 9; // the rules look at the slots the panel fills

CheckFinding Fail(std::string_view key, std::string_view message)
{
    return {true, std::string(key), std::string(message)};
}

// What rules 7, 8 and 9 need of a question, gathered in one visit from the
// facts the question keeps about its texts.
struct QuestionFacts {
    bool TooFewAnswers = false;
    bool SeveralBest = false;
    bool TooManyLines = false;
};

QuestionFacts Examine(const Question& q)
{
    bool present[kPanelAnswerSlots];
    int count = 0;
    int highest = -32000;
    for (int i = 0; i < kPanelAnswerSlots; ++i) {
        present[i] = q.IsAnswerPresent(i);
        if (present[i]) {
            ++count;
            if (q.AScoreGet(i) > highest)
                highest = q.AScoreGet(i);
        }
    }
    // Rule 8 starts the highest score at -32000, so a question whose present
    // answers all score below that passes.
    int atHighest = 0;
    for (int i = 0; i < kPanelAnswerSlots; ++i) {
        if (present[i] && q.AScoreGet(i) >= highest)
            ++atHighest;
    }
    QuestionFacts facts;
    facts.TooFewAnswers = count < 2;
    facts.SeveralBest = atHighest > 1;
    facts.TooManyLines = q.CountLines() > 17;
    return facts;
}

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// Positions of the first questions failing rules 7, 8 and 9.
struct FirstFailures {
    std::size_t Index[3] = {kNone, kNone, kNone};
};

// How far ahead the next questions are asked for: question objects lie far
// apart on a large test, and asking early lets their cache misses overlap.
constexpr std::size_t kLookAhead = 16;

FirstFailures FindFirstFailures(const std::vector<const Question*>& questions)
{
    FirstFailures first;
    const std::size_t end = questions.size();
    for (std::size_t i = 0; i < end; ++i) {
#if defined(__GNUC__) || defined(__clang__)
        if (i + kLookAhead < end)
            __builtin_prefetch(questions[i + kLookAhead]);
#endif
        const QuestionFacts facts = Examine(*questions[i]);
        if (facts.TooFewAnswers && first.Index[0] == kNone) {
            first.Index[0] = i;
            break; // nothing later can come before it
        }
        if (facts.SeveralBest && first.Index[1] == kNone)
            first.Index[1] = i;
        if (facts.TooManyLines && first.Index[2] == kNone)
            first.Index[2] = i;
    }
    return first;
}

} // namespace

CheckFinding CheckStructure(const Test& test)
{
    using namespace check_text;

    if (!test.IsMarkInUse(0))
        return Fail(kMarksKey, kNoFailingMark);

    int marksInUse = 0;
    for (int i = 0; i < Test::kMarkSlots; ++i)
        marksInUse += test.IsMarkInUse(i) ? 1 : 0;
    if (marksInUse < 2)
        return Fail(kMarksKey, kTooFewMarks);

    for (int i = 0; i < Test::kMarkSlots; ++i) {
        for (int j = i + 1; j < Test::kMarkSlots; ++j) {
            if (test.IsMarkInUse(i) && test.IsMarkInUse(j) && test.MarkScoresGet(i) == test.MarkScoresGet(j))
                return Fail(kMarksKey, kEqualMarkScores);
        }
    }

    for (const Division& d : test.Divisions) {
        if (d.Questions.Empty())
            return Fail(d.Key, kEmptyDivision);
    }
    long asked = 0;
    for (const Division& d : test.Divisions) {
        if (static_cast<long>(d.Questions.Count()) < d.NQ)
            return Fail(d.Key, kTooFewQuestions);
        asked += d.NQ;
    }
    if (asked > 25)
        return Fail(kParametersKey, kTooManyAsked);

    // Each of rules 7, 8 and 9 runs over all questions before the next: the
    // first question failing rule 7 wins, else the first failing rule 8, and
    // so on. One visit per question decides all three.
    std::vector<const Question*> questions;
    for (const Division& d : test.Divisions) {
        for (const Question& q : d.Questions)
            questions.push_back(&q);
    }
    const FirstFailures first = FindFirstFailures(questions);
    if (first.Index[0] != kNone)
        return Fail(questions[first.Index[0]]->Key, kTooFewAnswers);
    if (first.Index[1] != kNone)
        return Fail(questions[first.Index[1]]->Key, kSeveralBest);
    if (first.Index[2] != kNone)
        return Fail(questions[first.Index[2]]->Key, kTooManyLines);

    return {false, {}, std::string(kNothingFound)};
}

} // namespace mirvane
