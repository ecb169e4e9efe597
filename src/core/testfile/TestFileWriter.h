#pragma once
// Writes a test in the player's ".q" format: title, settings, marks, then every
// division and question in the given document order, in the DOS code page,
// every line ended with CR LF, closed by the line "):".
#include "model/ChunkedOutput.h"

#include <string>

namespace mirvane {

class Division;
class Question;
class Test;
struct DocumentOrder;

// What stands in for the document's own values in a copy of the work being
// edited: the title, settings and marks of `Header`, and for the item keyed
// `Key` the name and count of `DivisionHead` or the whole of `QuestionItem`.
struct StandIns {
    const Test* Header = nullptr;
    std::string Key;
    const Division* DivisionHead = nullptr;
    const Question* QuestionItem = nullptr;
};

// Throws std::out_of_range when the order names a key the test does not hold.
std::string WriteTestFile(const Test& test, const DocumentOrder& order);

// The same bytes handed to `sink` in chunks.
void WriteTestFile(const Test& test, const DocumentOrder& order, const ChunkSink& sink);
// The same with the stand-ins in place of the document's own values.
std::string WriteTestFile(const Test& test, const DocumentOrder& order, const StandIns& standIns);
// The same for a test just read, in the order of its collections (the
// order of the file), with no document order built beside it.
void WriteTestFileAsRead(const Test& test, const ChunkSink& sink);

} // namespace mirvane
