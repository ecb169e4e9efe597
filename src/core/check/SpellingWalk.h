#pragma once
// The texts of a test the user writes words in, in document order: the
// title, the marks' descriptions, then each division's name followed by its
// questions' texts and answers. The journal file is a file name and is left
// out. Walks them for the words the dictionaries do not know.
#include "check/SpellChecker.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mirvane {

class Test;
struct DocumentOrder;

enum class SpellingField { Title, Mark, DivisionName, QuestionText, Answer };

struct SpellingText {
    std::string_view NodeKey; // kParametersKey, kMarksKey, a division's or a question's
    SpellingField Field = SpellingField::Title;
    int Slot = 0;             // the mark's or the answer's slot
    std::size_t Division = 0; // 0-based positions in the order
    std::size_t Question = 0; // across the test
    std::string_view Text;
};

// Views into `test`, valid while it is unchanged.
std::vector<SpellingText> SpellingTexts(const Test& test, const DocumentOrder& order);

// Where a walk stands: a text of SpellingTexts and a byte offset in it.
struct SpellingPlace {
    std::size_t Text = 0;
    std::size_t Offset = 0;
};

struct Misspelling {
    SpellingPlace Place;
    std::size_t Length = 0;
    std::string Word;
};

// The first unknown word at or after `from`, up to the text `end` (not
// included; the end of the list when past it).
std::optional<Misspelling> NextMisspelling(const std::vector<SpellingText>& texts, SpellChecker& checker,
                                           SpellingPlace from, std::size_t end);

// The first text of the node `key` (0 when the test has none such).
std::size_t FirstTextOf(const std::vector<SpellingText>& texts, std::string_view key);

} // namespace mirvane
