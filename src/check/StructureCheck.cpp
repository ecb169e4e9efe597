#include "check/StructureCheck.h"

#include "model/Test.h"


namespace mirvane {

namespace {

constexpr int kPanelAnswerSlots = 9; // the rules look at the slots the panel fills

CheckFinding Fail(std::string key, std::string_view message)
{
    return {true, std::move(key), std::string(message)};
}

// What rules 7, 8 and 9 need of a question, gathered in one visit: on a large
// test the answer texts are spread over memory, and touching them once instead
// of once per rule is most of the check's time.
struct QuestionFacts {
    bool TooFewAnswers = false;
    bool SeveralBest = false;
    bool TooManyLines = false;
};

// Asks for a question's texts a few questions before they are examined, so
// that their cache misses overlap instead of coming one after another.
constexpr int kPrefetchDistance = 4;

inline void Prefetch(const Question& q)
{
#if defined(__GNUC__) || defined(__clang__)
    __builtin_prefetch(q.Q.data());
    for (int i = 0; i < kPanelAnswerSlots; ++i)
        __builtin_prefetch(q.AGet(i).data());
#else
    (void)q;
#endif
}

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

} // namespace

CheckFinding CheckStructure(const Test& test)
{
    using namespace check_text;

    if (!test.IsMarkInUse(0))
        return Fail("mrk", kNoFailingMark);

    int marksInUse = 0;
    for (int i = 0; i < Test::kMarkSlots; ++i)
        marksInUse += test.IsMarkInUse(i) ? 1 : 0;
    if (marksInUse < 2)
        return Fail("mrk", kTooFewMarks);

    for (int i = 0; i < Test::kMarkSlots; ++i) {
        for (int j = i + 1; j < Test::kMarkSlots; ++j) {
            if (test.IsMarkInUse(i) && test.IsMarkInUse(j) && test.MarkScoresGet(i) == test.MarkScoresGet(j))
                return Fail("mrk", kEqualMarkScores);
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
        return Fail("par", kTooManyAsked);

    // Each of rules 7, 8 and 9 runs over all questions before the next: the
    // first question failing rule 7 wins, else the first failing rule 8, and so on.
    const Question* firstFailing[3] = {nullptr, nullptr, nullptr};
    for (const Division& d : test.Divisions) {
        auto ahead = d.Questions.begin();
        for (int i = 0; i < kPrefetchDistance && ahead != d.Questions.end(); ++i)
            ++ahead;
        for (const Question& q : d.Questions) {
            if (ahead != d.Questions.end()) {
                Prefetch(*ahead);
                ++ahead;
            }
            const QuestionFacts facts = Examine(q);
            if (facts.TooFewAnswers && !firstFailing[0])
                firstFailing[0] = &q;
            if (facts.SeveralBest && !firstFailing[1])
                firstFailing[1] = &q;
            if (facts.TooManyLines && !firstFailing[2])
                firstFailing[2] = &q;
        }
        if (firstFailing[0])
            break; // nothing later can come before it
    }
    if (firstFailing[0])
        return Fail(firstFailing[0]->Key, kTooFewAnswers);
    if (firstFailing[1])
        return Fail(firstFailing[1]->Key, kSeveralBest);
    if (firstFailing[2])
        return Fail(firstFailing[2]->Key, kTooManyLines);

    return {false, {}, std::string(kNothingFound)};
}

} // namespace mirvane
