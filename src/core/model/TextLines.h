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

// Builds one line from pieces, each converted to `page` as it is appended, so
// no joined copy of a long text is made. The line ends with CR LF on End().
class EncodedLine {
public:
    EncodedLine(std::string& out, const CodePage& page) : out_(out), page_(page) {}
    EncodedLine& operator<<(std::string_view piece);
    EncodedLine& operator<<(int number);
    void End();

private:
    std::string& out_;
    const CodePage& page_;
};

} // namespace mirvane
