#pragma once
// Building the line-oriented files the editor writes: every line ends with
// CR LF; a text with CR LF pairs inside becomes several lines.
#include <string>
#include <string_view>

namespace mirvane {

class CodePage;

// Appends an ASCII line and CR LF.
void AppendFileLine(std::string& out, std::string_view asciiLine);

// Appends a text converted to `page`, then CR LF.
void AppendFileLine(std::string& out, std::string_view text, const CodePage& page);

} // namespace mirvane
