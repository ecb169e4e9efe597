// Plays arbitrary tests (any counts, any scores) with arbitrary choices.
// Beyond not crashing: each division asks as many questions as its count
// says and it holds, each question offers its present answers, and the score
// lies between the sums of the asked questions' worst and best answers.
#include "FuzzedTest.h"
#include "model/DocumentOrder.h"
#include "player/PlayerSession.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    mirvane::fuzzing::FuzzedBytes in(data, size);
    const std::uint32_t seed = static_cast<std::uint16_t>(in.Int16());
    mirvane::Test test;
    mirvane::fuzzing::FillTest(test, in);
    const mirvane::DocumentOrder order = mirvane::DocumentOrder::FromCollections(test);
    mirvane::PlayerSession session(test, order, seed);

    std::size_t expected = 0;
    for (const mirvane::DocumentOrder::DivisionEntry& entry : order.Divisions) {
        const int asks = test.Divisions.Item(entry.Key).NQ;
        expected += std::min<std::size_t>(entry.QuestionKeys.size(), static_cast<std::size_t>(std::max(asks, 0)));
    }
    if (session.Questions().size() != expected)
        __builtin_trap();

    long long lowest = 0;
    long long highest = 0;
    for (std::size_t i = 0; i < session.Questions().size(); ++i) {
        const mirvane::PlayerSession::Asked& asked = session.Questions()[i];
        int worst = 0; // an unanswered question adds 0
        int best = 0;
        for (int slot = 0; slot < mirvane::Question::kAnswerSlots; ++slot) {
            const bool offered = std::find(asked.Slots.begin(), asked.Slots.end(), slot) != asked.Slots.end();
            if (offered != asked.Item->IsAnswerPresent(slot))
                __builtin_trap();
            if (offered) {
                worst = std::min<int>(worst, asked.Item->AScoreGet(slot));
                best = std::max<int>(best, asked.Item->AScoreGet(slot));
            }
        }
        lowest += worst;
        highest += best;
        // Each choice is one of the offered answers, or none.
        const std::uint8_t choice = in.Byte();
        if (!asked.Slots.empty() && choice % 4 != 0)
            session.Choose(i, asked.Slots[choice % asked.Slots.size()]);
    }
    const long long score = session.Score();
    if (score < lowest || score > highest)
        __builtin_trap();
    const int mark = session.MarkSlot();
    if (mark < 0 || mark >= mirvane::Test::kMarkSlots ||
        (mark > 0 && (!test.IsMarkInUse(mark) || test.MarkScoresGet(mark) > score)))
        __builtin_trap();
    session.MarkDescription();
    session.Mistakes();
    return 0;
}
