#include "check/TestSummary.h"

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
    TestSummary summary;
    summary.TimeLimit = test.TestTime;
    std::vector<int> best;
    std::vector<int> worst;
    for (const Division& d : test.Divisions) {
        summary.Divisions.push_back({d.Name, d.Questions.Count(), d.NQ});
        summary.Asked += d.NQ;
        best.clear();
        worst.clear();
        for (const Question& q : d.Questions) {
            const auto [high, low] = ScoreRange(q);
            best.push_back(high);
            worst.push_back(low);
            ++summary.BestPositions[static_cast<std::size_t>(q.GetBestAnswer())];
        }
        const std::size_t asked = static_cast<std::size_t>(std::max<int>(d.NQ, 0));
        summary.LargestTotal += SumOfFirst(best, asked, std::greater<int>());
        summary.SmallestTotal += SumOfFirst(worst, asked, std::less<int>());
    }

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

} // namespace mirvane
