#pragma once
// Which parts of a text are words to check for spelling. A text is cut at
// blanks into pieces; a piece that is an e-mail or web address, a file name
// or a formula is left whole. In the rest a word is a run of letters, with a
// hyphen or an apostrophe allowed between two letters ("что-то", "don't").
// Numbers, words with digits and single letters are never checked.
#include <cstddef>
#include <string_view>
#include <vector>

namespace mirvane {

struct WordSpan {
    std::size_t Start = 0;  // byte offset in the UTF-8 text
    std::size_t Length = 0; // in bytes
};

std::vector<WordSpan> CheckedWords(std::string_view text);

// The parts of a hyphenated word, each checked alone when the dictionary
// does not know the whole.
std::vector<std::string_view> HyphenParts(std::string_view word);

} // namespace mirvane
