#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace mirvane {

// One question: its text and ten answer slots, each a text and a score. An
// answer is present when its text is not blank; the one with the highest score
// is the right one. The reader and the panel fill slots 0 to 8 at most.
class Question {
public:
    static constexpr int kAnswerSlots = 10;

    std::string Q;   // question text, lines joined with CR LF
    std::string Key; // "q" followed by a key number

    // `num` is 0..9; anything else throws std::out_of_range and changes nothing.
    void AScoreSet(int num, std::int16_t score);
    std::int16_t AScoreGet(int num) const;
    void ASet(int num, std::string text);
    const std::string& AGet(int num) const;
    std::string& AText(int num); // for appending in place

    bool IsAnswerPresent(int num) const;

    // The test-file form of the question (")?" line, text, and a ")! " line
    // with its text for every present answer), in the DOS code page, every line
    // ended with CR LF, appended to `out`.
    void Save(std::string& out) const;

    // The question's block of the HTML page for the 2.5 player, in
    // windows-1251, lines ended with CR LF, values verbatim, appended to `out`.
    void SaveV2(std::string& out) const;

    // Slot of the present answer with the highest score; ties keep the earlier
    // slot, and slot 0 is the starting candidate even when it is absent.
    std::int16_t GetBestAnswer() const;

    // Lines of the text plus lines of every present answer. Saturates at 32767.
    std::int16_t CountLines() const;

private:
    std::array<std::string, kAnswerSlots> answers_;
    std::array<std::int16_t, kAnswerSlots> scores_{};
};

} // namespace mirvane
