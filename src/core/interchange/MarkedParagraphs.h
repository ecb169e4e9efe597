#pragma once
// The marks a teacher types (numbers, "?", "+" and "-", lettered answers,
// "Ответ:" lines, scores in braces, "# " divisions), read from lines of text
// or from a word processor's paragraphs, which add their lists and their bold
// or underlined type.
#include "interchange/Interchange.h"

#include <string>
#include <vector>

namespace mirvane {

class ImportedTestBuilder;

struct MarkedLine {
    std::string Text;
    // Every letter of the line bold, or every letter underlined.
    bool Emphasised = false;
};

// A line of a text file, or a paragraph of a document with the lines its
// breaks make.
struct MarkedParagraph {
    std::vector<MarkedLine> Lines;
    // The word processor's list: -1 none, 0 the first level (a question),
    // 1 and deeper (an answer), as if its number or letter were typed.
    int ListLevel = -1;
    // What the test cannot hold, named: "таблица", "рисунок", "формула".
    std::vector<std::string> LeftOut;
};

// Builds the test from the paragraphs, numbered from 1 in the notes.
void ReadMarkedParagraphs(const std::vector<MarkedParagraph>& paragraphs, ImportedTestBuilder& builder,
                          const ImportProgress& progress);

} // namespace mirvane
