#include "check/TestSummary.h"

#include "model/Misc.h"
#include "model/Test.h"

#include <algorithm>
#include <functional>

namespace mirvane {

namespace {

constexpr int kShownAnswerSlots = 9; // the slots the player shows

// The best and the worst score a student can get for a question.
std::pair<int, int> ScoreRange(const Question& q)
{
    int best = 0;
    int worst = 0;
    bool any = false;
    for (int i = 0; i < kShownAnswerSlots; ++i) {
        if (!q.IsAnswerPresent(i))
            continue;
        const int score = q.AScoreGet(i);
        best = any ? std::max(best, score) : score;
        worst = any ? std::min(worst, score) : score;
        any = true;
    }
    return {best, worst};
}

// The sum of the `count` first scores in the order of `before`.
template <class Before>
long SumOfFirst(std::vector<int>& scores, std::size_t count, Before before)
{
    count = std::min(count, scores.size());
    std::nth_element(scores.begin(), scores.begin() + static_cast<std::ptrdiff_t>(count), scores.end(), before);
    long sum = 0;
    for (std::size_t i = 0; i < count; ++i)
        sum += scores[i];
    return sum;
}

} // namespace

TestSummary Summarize(const Test& test)
{
    SummaryBuilder builder;
    for (const Division& d : test.Divisions) {
        builder.AddDivision(d);
        for (const Question& q : d.Questions)
            builder.AddQuestion(q);
    }
    return builder.Finish(test);
}

void SummaryBuilder::AddDivision(const Division& d)
{
    CloseDivision();
    summary_.Divisions.push_back({d.Name, d.Questions.Count(), d.NQ});
    summary_.Asked += d.NQ;
    asked_ = std::max<int>(d.NQ, 0);
}

int SummaryBuilder::AddQuestion(const Question& q)
{
    const auto [high, low] = ScoreRange(q);
    best_.push_back(high);
    worst_.push_back(low);
    const int slot = q.GetBestAnswer();
    ++summary_.BestPositions[static_cast<std::size_t>(slot)];
    return slot;
}

void SummaryBuilder::CloseDivision()
{
    const auto asked = static_cast<std::size_t>(asked_);
    summary_.LargestTotal += SumOfFirst(best_, asked, std::greater<int>());
    summary_.SmallestTotal += SumOfFirst(worst_, asked, std::less<int>());
    best_.clear();
    worst_.clear();
    asked_ = 0;
}

TestSummary SummaryBuilder::Finish(const Test& test)
{
    CloseDivision();
    TestSummary summary = std::move(summary_);
    summary_ = {};
    summary.TimeLimit = test.TestTime;

    // The player gives the mark of the highest threshold not above the
    // total, and the failing mark when no threshold is reached.
    for (int slot = 0; slot < Test::kMarkSlots; ++slot) {
        if (!test.IsMarkInUse(slot))
            continue;
        TestSummary::Mark mark;
        mark.Slot = slot;
        mark.Description = test.MarkDiscriptionsGet(slot);
        mark.Threshold = test.MarkScoresGet(slot);
        if (slot > 0 && mark.Threshold > summary.LargestTotal) {
            mark.AboveLargest = true;
        } else {
            // A higher threshold every total reaches leaves this mark out.
            for (int other = 1; other < Test::kMarkSlots; ++other) {
                const int threshold = test.MarkScoresGet(other);
                if (other == slot || !test.IsMarkInUse(other) || threshold > summary.SmallestTotal)
                    continue;
                if ((slot == 0 || threshold > mark.Threshold) &&
                    (mark.OutrankedBy < 0 || threshold > test.MarkScoresGet(mark.OutrankedBy)))
                    mark.OutrankedBy = other;
            }
        }
        mark.Reachable = !mark.AboveLargest && mark.OutrankedBy < 0;
        summary.Marks.push_back(std::move(mark));
    }
    return summary;
}

std::size_t ShownBestPositions(const TestSummary& summary)
{
    std::size_t positions = summary.BestPositions.size();
    while (positions > 1 && summary.BestPositions[positions - 1] == 0)
        --positions;
    return positions;
}

std::string SummaryText(const TestSummary& s, const std::function<std::string(std::string_view)>& shownMark)
{
    std::string out = "Разделы:\n";
    for (const auto& d : s.Divisions)
        out += "  " + JoinLines(d.Name) + ": вопросов " + std::to_string(d.Questions) + ", задаётся " +
               std::to_string(d.Asked) + '\n';
    out += "Задаётся вопросов: " + std::to_string(s.Asked) + '\n' +
           "Наибольшая сумма баллов: " + std::to_string(s.LargestTotal) + '\n' +
           "Наименьшая сумма баллов: " + std::to_string(s.SmallestTotal) + '\n' + "Оценки:\n";
    for (const auto& m : s.Marks) {
        const std::string description = JoinLines(m.Description);
        out += "  " + (shownMark ? shownMark(description) : description) + ": ";
        out += m.Slot == 0 ? std::string("при сумме ниже всех порогов") : "порог " + std::to_string(m.Threshold);
        out += m.Reachable ? ", достижима\n" : ", недостижима\n";
    }
    out += "Время теста: " + std::to_string(s.TimeLimit) + " мин\n" + "Лучший ответ по местам:";
    const std::size_t positions = ShownBestPositions(s);
    for (std::size_t i = 0; i < positions; ++i)
        out += (i ? ", " : " ") + std::to_string(i + 1) + ": " + std::to_string(s.BestPositions[i]);
    return out + '\n';
}

} // namespace mirvane
