#include "check/StructureCheck.h"

#include "model/Misc.h"
#include "model/Test.h"

#include <algorithm>
#include <thread>
#include <vector>


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

QuestionFacts Examine(const Question& q)
{
    bool present[Question::kAnswerSlots];
    int count = 0;
    int highest = -32000;
    long lines = CountBreaks(q.Q) + 1L;
    for (int i = 0; i < Question::kAnswerSlots; ++i) {
        const std::string& answer = q.AGet(i);
        present[i] = !IsBlank(answer);
        if (!present[i])
            continue;
        lines += CountBreaks(answer) + 1L; // the line count looks at all ten slots
        if (i < kPanelAnswerSlots) {
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
    facts.TooManyLines = lines > 17;
    return facts;
}

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// Positions of the first questions failing rules 7, 8 and 9.
struct FirstFailures {
    std::size_t Index[3] = {kNone, kNone, kNone};
};

FirstFailures ScanRange(const std::vector<const Question*>& questions, std::size_t begin, std::size_t end)
{
    FirstFailures first;
    for (std::size_t i = begin; i < end; ++i) {
        const QuestionFacts facts = Examine(*questions[i]);
        if (facts.TooFewAnswers && first.Index[0] == kNone) {
            first.Index[0] = i;
            break; // nothing later in this range can come before it
        }
        if (facts.SeveralBest && first.Index[1] == kNone)
            first.Index[1] = i;
        if (facts.TooManyLines && first.Index[2] == kNone)
            first.Index[2] = i;
    }
    return first;
}

// A large test is examined in parts on the machine's cores: the walk only
// reads the test, and it is bound by fetching texts from memory, which
// parallel walks overlap. The earliest failure of each rule still wins.
constexpr std::size_t kQuestionsPerPart = 8192;

FirstFailures FindFirstFailures(const std::vector<const Question*>& questions)
{
    const std::size_t cores = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t parts = std::min<std::size_t>({cores, 8, questions.size() / kQuestionsPerPart + 1});
    if (parts <= 1)
        return ScanRange(questions, 0, questions.size());

    std::vector<FirstFailures> results(parts);
    std::vector<std::thread> workers;
    const std::size_t size = (questions.size() + parts - 1) / parts;
    for (std::size_t p = 1; p < parts; ++p) {
        workers.emplace_back([&, p] {
            results[p] = ScanRange(questions, p * size, std::min(questions.size(), (p + 1) * size));
        });
    }
    results[0] = ScanRange(questions, 0, std::min(questions.size(), size));
    for (std::thread& w : workers)
        w.join();

    FirstFailures first;
    for (int rule = 0; rule < 3; ++rule) {
        for (const FirstFailures& r : results)
            first.Index[rule] = std::min(first.Index[rule], r.Index[rule]);
    }
    return first;
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
