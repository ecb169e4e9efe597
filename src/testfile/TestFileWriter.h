#pragma once
// Writes a test in the player's ".q" format: title, settings, marks, then every
// division and question in the given document order, in the DOS code page,
// every line ended with CR LF, closed by the line "):".
#include "model/ChunkedOutput.h"

#include <string>

namespace mirvane {

class Test;
struct DocumentOrder;

// Throws std::out_of_range when the order names a key the test does not hold.
std::string WriteTestFile(const Test& test, const DocumentOrder& order);

// The same bytes handed to `sink` in chunks.
void WriteTestFile(const Test& test, const DocumentOrder& order, const ChunkSink& sink);
// The same for a test just read, in the order of its collections (the
// order of the file), with no document order built beside it.
void WriteTestFileAsRead(const Test& test, const ChunkSink& sink);

} // namespace mirvane
