#pragma once
#include "model/Division.h"
#include "model/KeyedCollection.h"

#include <array>
#include <cstdint>
#include <string>

namespace mirvane {

// The whole test: title, settings, the marks table and the divisions.
class Test {
public:
    static constexpr int kMarkSlots = 11;
    static constexpr std::int16_t kFailingMarkScore = -32768;
    // The time limits the player accepts, in minutes, and the default that
    // replaces any other value.
    static constexpr std::int16_t kShortestTime = 1;
    static constexpr std::int16_t kLongestTime = 600;
    static constexpr std::int16_t kDefaultTime = 30;
    static constexpr bool IsValidTime(int minutes) { return minutes >= kShortestTime && minutes <= kLongestTime; }

    Test() { Reset(); }

    std::string TestName;
    KeyedCollection<Division> Divisions; // in load/insertion order
    std::int16_t TestTime = kDefaultTime;
    std::int16_t ShowErrors = 0;
    std::int16_t LogType = 0;
    std::string LogFile;

    // Back to the defaults: "Экзамен", 30 minutes, no journal, "LOG.TXT",
    // only the failing mark "Экзамен не сдан", no divisions.
    void Reset();

    // `num` is 0..10; anything else throws std::out_of_range and changes nothing.
    std::int16_t MarkScoresGet(int num) const;
    void MarkScoresSet(int num, std::int16_t newValue);
    const std::string& MarkDiscriptionsGet(int num) const;
    void MarkDiscriptionsSet(int num, std::string newValue);

    // A mark is in use when its description is not blank.
    bool IsMarkInUse(int num) const;

private:
    std::array<std::int16_t, kMarkSlots> markScores_{};
    std::array<std::string, kMarkSlots> markDescriptions_;
};

} // namespace mirvane
