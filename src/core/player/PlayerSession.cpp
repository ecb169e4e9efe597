#include "player/PlayerSession.h"

#include "model/Test.h"

#include <algorithm>
#include <numeric>

namespace mirvane {

PlayerSession::PlayerSession(const Test& test, const DocumentOrder& order, std::uint32_t seed) : test_(test)
{
    std::mt19937 random(seed);
    for (const DocumentOrder::DivisionEntry& entry : order.Divisions) {
        const Division& division = test.Divisions.Item(entry.Key);
        std::vector<std::size_t> picks(entry.QuestionKeys.size());
        std::iota(picks.begin(), picks.end(), 0);
        std::shuffle(picks.begin(), picks.end(), random);
        const std::size_t count =
            std::min<std::size_t>(picks.size(), static_cast<std::size_t>(std::max<int>(0, division.NQ)));
        for (std::size_t i = 0; i < count; ++i) {
            Asked asked;
            asked.Item = &QuestionInOrder(division, entry.QuestionKeys, picks[i]);
            asked.Division = division.Name;
            for (int slot = 0; slot < Question::kAnswerSlots; ++slot) {
                if (asked.Item->IsAnswerPresent(slot))
                    asked.Slots.push_back(slot);
            }
            asked_.push_back(std::move(asked));
        }
    }
}

void PlayerSession::Choose(std::size_t question, int slot) { asked_.at(question).Chosen = slot; }

std::int64_t PlayerSession::Score() const
{
    std::int64_t total = 0;
    for (const Asked& a : asked_) {
        if (a.Chosen >= 0)
            total += a.Item->AScoreGet(a.Chosen);
    }
    return total;
}

int PlayerSession::MarkSlot() const
{
    const std::int64_t score = Score();
    int best = 0;
    for (int slot = 1; slot < Test::kMarkSlots; ++slot) {
        if (!test_.IsMarkInUse(slot) || test_.MarkScoresGet(slot) > score)
            continue;
        if (best == 0 || test_.MarkScoresGet(slot) > test_.MarkScoresGet(best))
            best = slot;
    }
    return best;
}

const std::string& PlayerSession::MarkDescription() const { return test_.MarkDiscriptionsGet(MarkSlot()); }

bool PlayerSession::ChoseBest(std::size_t question) const
{
    const Asked& a = asked_.at(question);
    return a.Chosen >= 0 && a.Item->AScoreGet(a.Chosen) == a.Item->AScoreGet(a.Item->GetBestAnswer());
}

std::vector<std::size_t> PlayerSession::Mistakes() const
{
    std::vector<std::size_t> wrong;
    for (std::size_t i = 0; i < asked_.size(); ++i) {
        if (!ChoseBest(i))
            wrong.push_back(i);
    }
    return wrong;
}

} // namespace mirvane
