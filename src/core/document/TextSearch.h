#pragma once
// Finding text in a test: the title, the mark descriptions, the division
// names, the question texts and the answers, in document order, wrapping
// around at the end. Case may be ignored for every letter the test file can
// hold (Latin, Cyrillic and the other letters of the DOS code page).
#include "document/DocumentObserver.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace mirvane {

class TestDocument;

// A place in one of the searched texts: the node, its field (the title, a
// mark's description, the division's name, the question's text or an
// answer; None for the node's first text) with the mark's or the answer's
// slot from 0, and `Offset` in bytes of the model's UTF-8 text.
struct TextPlace {
    std::string Key;
    DocumentField Field = DocumentField::None;
    int Slot = 0;
    std::size_t Offset = 0;
};

struct TextHit {
    TextPlace Place;
    std::size_t Length = 0; // bytes
};

struct TextQuery {
    std::string Text; // UTF-8, line breaks as CR LF
    bool MatchCase = false;
};

// Searches forward from `from` (the first match at or after it, or after it
// when `after`), or backward (the last match before it), wrapping around.
// Nothing for an empty query or when nothing matches. A place whose key is
// not in the document starts at the beginning.
std::optional<TextHit> FindText(const TestDocument& document, const TextQuery& query, const TextPlace& from,
                                bool forward, bool after = false);

// The text with every letter whose lower case has the same UTF-8 length in
// lower case: offsets in it are offsets in the text.
std::string FoldCase(std::string_view text);

} // namespace mirvane
