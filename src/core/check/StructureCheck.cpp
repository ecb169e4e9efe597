#include "check/StructureCheck.h"

#include "model/NodeKey.h"
#include "model/Test.h"

#include <algorithm>
#include <utility>
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

// Positions of the first questions failing rules 7, 8 and 9.
struct FirstFailures {
    std::size_t Index[3] = {kNoPosition, kNoPosition, kNoPosition};
};

// How far ahead the next questions are asked for: question objects lie far
// apart on a large test, and asking early lets their cache misses overlap.
// Inlined by force: GCC takes a function that only prefetches for one with
// no effect and drops the calls to it.
constexpr std::size_t kLookAhead = 16;

[[gnu::always_inline]] inline void Prefetch(const std::vector<const Question*>& questions, std::size_t i)
{
#if defined(__GNUC__) || defined(__clang__)
    if (i + kLookAhead < questions.size())
        __builtin_prefetch(questions[i + kLookAhead]);
#else
    (void)questions;
    (void)i;
#endif
}

FirstFailures FindFirstFailures(const std::vector<const Question*>& questions)
{
    FirstFailures first;
    const std::size_t end = questions.size();
    for (std::size_t i = 0; i < end; ++i) {
        Prefetch(questions, i);
        const QuestionFacts facts = Examine(*questions[i]);
        if (facts.TooFewAnswers && first.Index[0] == kNoPosition) {
            first.Index[0] = i;
            break; // nothing later can come before it
        }
        if (facts.SeveralBest && first.Index[1] == kNoPosition)
            first.Index[1] = i;
        if (facts.TooManyLines && first.Index[2] == kNoPosition)
            first.Index[2] = i;
    }
    return first;
}

// Where each division's questions begin in the list of all questions.
struct QuestionList {
    std::vector<const Question*> Questions;
    std::vector<std::size_t> DivisionStarts;

    explicit QuestionList(const Test& test)
    {
        for (const Division& d : test.Divisions) {
            DivisionStarts.push_back(Questions.size());
            for (const Question& q : d.Questions)
                Questions.push_back(&q);
        }
    }

    StructureFault FaultAt(StructureRule rule, std::size_t i) const
    {
        const auto after = std::upper_bound(DivisionStarts.begin(), DivisionStarts.end(), i);
        const std::size_t division = static_cast<std::size_t>(after - DivisionStarts.begin()) - 1;
        StructureFault fault{rule, Questions[i]->Key};
        fault.Division = division;
        fault.Question = i - DivisionStarts[division];
        fault.QuestionInTest = i;
        return fault;
    }
};

enum class Scope { FirstOnly, All };

// The rules in their order; `report` returns true to stop.
template <class Report>
void RunRules(const Test& test, Scope scope, Report&& report)
{
    const auto marksFault = [](StructureRule rule, int mark = -1) {
        StructureFault fault{rule, kMarksKey};
        fault.Mark = mark;
        return fault;
    };
    if (!test.IsMarkInUse(0) && report(marksFault(StructureRule::NoFailingMark)))
        return;

    int marksInUse = 0;
    for (int i = 0; i < Test::kMarkSlots; ++i)
        marksInUse += test.IsMarkInUse(i) ? 1 : 0;
    if (marksInUse < 2 && report(marksFault(StructureRule::TooFewMarks)))
        return;

    for (int i = 0; i < Test::kMarkSlots; ++i) {
        for (int j = i + 1; j < Test::kMarkSlots; ++j) {
            if (test.IsMarkInUse(i) && test.IsMarkInUse(j) && test.MarkScoresGet(i) == test.MarkScoresGet(j) &&
                report(marksFault(StructureRule::EqualMarkScores, j)))
                return;
        }
    }

    const auto divisionFault = [](StructureRule rule, const Division& d, std::size_t index) {
        StructureFault fault{rule, d.Key};
        fault.Division = index;
        return fault;
    };
    std::size_t index = 0;
    for (const Division& d : test.Divisions) {
        if (d.Questions.Empty() && report(divisionFault(StructureRule::EmptyDivision, d, index)))
            return;
        ++index;
    }
    long asked = 0;
    index = 0;
    for (const Division& d : test.Divisions) {
        if (static_cast<long>(d.Questions.Count()) < d.NQ &&
            report(divisionFault(StructureRule::TooFewQuestions, d, index)))
            return;
        asked += d.NQ;
        ++index;
    }
    if (asked > 25 && report(StructureFault{StructureRule::TooManyAsked, kParametersKey}))
        return;

    const QuestionList list(test);
    const std::vector<const Question*>& questions = list.Questions;
    if (scope == Scope::FirstOnly) {
        // Each of rules 7, 8 and 9 runs over all questions before the next:
        // the first question failing rule 7 wins, else the first failing rule
        // 8, and so on. One visit per question decides all three.
        const FirstFailures first = FindFirstFailures(questions);
        const StructureRule rules[3] = {StructureRule::TooFewAnswers, StructureRule::SeveralBest,
                                        StructureRule::TooManyLines};
        for (int r = 0; r < 3; ++r) {
            if (first.Index[r] != kNoPosition && report(list.FaultAt(rules[r], first.Index[r])))
                return;
        }
        return;
    }
    std::vector<QuestionFacts> facts;
    facts.reserve(questions.size());
    for (std::size_t i = 0; i < questions.size(); ++i) {
        Prefetch(questions, i);
        facts.push_back(Examine(*questions[i]));
    }
    const std::pair<StructureRule, bool QuestionFacts::*> rules[3] = {
        {StructureRule::TooFewAnswers, &QuestionFacts::TooFewAnswers},
        {StructureRule::SeveralBest, &QuestionFacts::SeveralBest},
        {StructureRule::TooManyLines, &QuestionFacts::TooManyLines},
    };
    for (const auto& [rule, failed] : rules) {
        for (std::size_t i = 0; i < facts.size(); ++i) {
            if (facts[i].*failed && report(list.FaultAt(rule, i)))
                return;
        }
    }
}

} // namespace

std::string_view RuleMessage(StructureRule rule)
{
    using namespace check_text;
    switch (rule) {
    case StructureRule::NoFailingMark: return kNoFailingMark;
    case StructureRule::TooFewMarks: return kTooFewMarks;
    case StructureRule::EqualMarkScores: return kEqualMarkScores;
    case StructureRule::EmptyDivision: return kEmptyDivision;
    case StructureRule::TooFewQuestions: return kTooFewQuestions;
    case StructureRule::TooManyAsked: return kTooManyAsked;
    case StructureRule::TooFewAnswers: return kTooFewAnswers;
    case StructureRule::SeveralBest: return kSeveralBest;
    case StructureRule::TooManyLines: return kTooManyLines;
    }
    return {};
}

CheckFinding CheckStructure(const Test& test)
{
    CheckFinding finding{false, {}, std::string(check_text::kNothingFound)};
    RunRules(test, Scope::FirstOnly, [&finding](const StructureFault& fault) {
        finding = Fail(fault.NodeKey, RuleMessage(fault.Rule));
        return true;
    });
    return finding;
}

void ForEachStructureFault(const Test& test, const std::function<void(const StructureFault&)>& fault)
{
    RunRules(test, Scope::All, [&fault](const StructureFault& f) {
        fault(f);
        return false;
    });
}

} // namespace mirvane
