#pragma once
// The HTML page that the 2.5 player reads: the test in the player's custom
// elements plus a countdown script. Lines end with CR LF; the page is in
// windows-1251; inserted values are written verbatim.
#include "model/ChunkedOutput.h"

#include <string>
#include <string_view>

namespace mirvane {

class Test;
struct DocumentOrder;

// The journal name of the LOG line for a chosen file: its base name (after the
// last "/" or "\") with the last two characters replaced by ".htm"; empty when
// the base name has two characters or fewer (the page then has no LOG line).
std::string HtmlJournalName(std::string_view chosenPath);

// Throws std::out_of_range when the order names a key the test does not hold.
std::string WriteHtmlPage(const Test& test, const DocumentOrder& order, std::string_view chosenPath);

// The same bytes handed to `sink` in chunks.
void WriteHtmlPage(const Test& test, const DocumentOrder& order, std::string_view chosenPath,
                   const ChunkSink& sink);

} // namespace mirvane
