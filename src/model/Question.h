#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace mirvane {

class CodePage;

// One question: its text and ten answer slots, each a text and a score. An
// answer is present when its text is not blank; the one with the highest score
// is the right one. The reader and the panel fill slots 0 to 8 at most.
//
// Every text is written through the class, which keeps for each text whether
// it is present (not blank) and how many line breaks it has. The structure
// check reads those facts for every question of a test; on a large test,
// reading the texts themselves each time would be most of its work.
class Question {
public:
    static constexpr int kAnswerSlots = 10;
    static constexpr int kQuestionText = -1; // the text's slot for AppendLine

    // The question text, lines joined with CR LF.
    const std::string& Q() const { return texts_[0]; }
    void QSet(std::string text);

    // `num` is 0..9; anything else throws std::out_of_range and changes nothing.
    void AScoreSet(int num, std::int16_t score);
    std::int16_t AScoreGet(int num) const;
    void ASet(int num, std::string text);
    const std::string& AGet(int num) const;

    // Appends one line (bytes of `page`, with no line break of its own) to the
    // question text (slot kQuestionText) or to answer `slot`: a CR LF first
    // when the text is not empty, then the line. An empty line added to an
    // empty text leaves it empty.
    void AppendLine(int slot, std::string_view line, const CodePage& page);

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
    // Texts are indexed 0 for the question, 1 + n for answer n.
    void Refresh(int index);
    void SetPresent(int index, bool present);
    bool IsPresent(int index) const { return (present_ >> index) & 1u; }

    // What the structure check reads of every question comes first, in one
    // cache line: the scores, which texts are present (not blank), and how
    // many CR LF pairs each holds (saturating; a line count beyond 32767 is
    // reported as 32767 anyway).
    std::array<std::int16_t, kAnswerSlots> scores_{};
    std::uint16_t present_ = 0;
    std::array<std::uint16_t, kAnswerSlots + 1> breaks_{};

public:
    std::string Key; // "q" followed by a key number

private:
    std::array<std::string, kAnswerSlots + 1> texts_;
};

} // namespace mirvane
