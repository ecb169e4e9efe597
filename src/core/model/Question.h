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
//
// The eleven texts live one after another in one string: a large test has
// one allocation per question for its texts, not one per text, and a
// question takes a third of the room eleven strings would.
class Question {
public:
    static constexpr int kAnswerSlots = 10;
    static constexpr int kQuestionText = -1; // the text's slot for AppendLine

    // The question text, lines joined with CR LF. A view of a text stays
    // valid until the question's texts change.
    std::string_view Q() const { return Text(0); }
    void QSet(std::string text);

    // `num` is 0..9; anything else throws std::out_of_range and changes nothing.
    void AScoreSet(int num, std::int16_t score);
    std::int16_t AScoreGet(int num) const;
    void ASet(int num, std::string text);
    std::string_view AGet(int num) const;

    // Appends one line (bytes of `page`, with no line break of its own) to the
    // question text (slot kQuestionText) or to answer `slot`: a CR LF first
    // when the text is not empty, then the line. An empty line added to an
    // empty text leaves it empty.
    void AppendLine(int slot, std::string_view line, const CodePage& page);

    bool IsAnswerPresent(int num) const;

    // Takes the texts and scores of `other`, which is left empty but keeps
    // its room: a reader fills one question line by line, over and over, and
    // each question read gets its texts in one allocation of their size.
    void TakeContentOf(Question& other);

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
    std::size_t End(int index) const
    {
        return index == kAnswerSlots ? texts_.size() : ends_[static_cast<std::size_t>(index)];
    }
    std::size_t Start(int index) const { return index == 0 ? 0 : End(index - 1); }
    std::string_view Text(int index) const
    {
        const std::size_t start = Start(index);
        return std::string_view(texts_).substr(start, End(index) - start);
    }
    // Replaces the text at `index` with `text` (or inserts `text` at its end
    // when `append`), moving the texts after it.
    void Splice(int index, std::string_view text, bool append);
    void Refresh(int index);
    void SetPresent(int index, bool present);
    bool IsPresent(int index) const { return (facts_[static_cast<std::size_t>(index)] & kPresentBit) != 0; }
    // The text's line breaks, counted up to kCountedBreaks; at that many the
    // text itself is counted when asked.
    int Breaks(int index) const;
    void SetBreaks(int index, int breaks);

    static constexpr std::uint8_t kPresentBit = 0x80;
    static constexpr int kCountedBreaks = 0x7F;

    // What the structure check reads of every question comes first, in one
    // cache line: the scores, and for each text whether it is present (not
    // blank) and how many CR LF pairs it holds. Then where each text but the
    // last ends in texts_. With 32-byte strings a question takes 136 bytes.
    std::array<std::int16_t, kAnswerSlots> scores_{};
    std::array<std::uint8_t, kAnswerSlots + 1> facts_{};
    std::array<std::uint32_t, kAnswerSlots> ends_{};

public:
    std::string Key; // "q" followed by a key number

private:
    std::string texts_;
};

} // namespace mirvane
