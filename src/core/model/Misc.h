#pragma once
// Text helpers shared by the reader, the writer, the panels and the exports.
#include <cstddef>
#include <string>
#include <string_view>

namespace mirvane {

inline constexpr std::string_view kCrLf = "\r\n";

// A copy without leading and trailing characters whose code is 32 or less
// (blanks, tabs, CR, LF and the other control characters).
std::string TrimBlanks(std::string_view text);
std::string_view TrimBlanksView(std::string_view text);

// A copy without leading and trailing spaces (only the space character).
std::string TrimSpaces(std::string_view text);

// True when the text is empty once its spaces are removed; this is how
// "present answer" and "mark in use" are decided.
bool IsBlank(std::string_view text);

// Number of CR LF pairs in the text.
int CountBreaks(std::string_view text);

// The text with every CR LF pair replaced by one space (a lone CR or LF stays).
std::string JoinLines(std::string_view text);

// The text as one line, for the fields a file keeps on one line (a title, a
// journal file, a mark, a division name): every line break (CR LF, a lone CR
// or LF, vertical tab, form feed, NEL, the line and paragraph separators)
// becomes one space.
std::string LineBreaksAsSpaces(std::string_view text);

// The tree label of a question: its first 50 characters, every CR LF pair in
// them turned into one space, outer spaces removed.
std::string QuestionCaption(std::string_view questionText);

struct WrapResult {
    std::string Text;
    std::size_t Caret = 0;
    bool Changed = false;
};

// The live rewrap of the question and answer boxes: every line at most 70
// characters wide and none beginning with ")", which the reader would take for
// a command. `text` has CR LF line breaks; `caret` and the returned caret count
// characters. When nothing needs changing, Changed is false and Text is the
// input unchanged. A second pass over any result changes nothing.
WrapResult WrapEditText(std::string_view text, std::size_t caret);

} // namespace mirvane
