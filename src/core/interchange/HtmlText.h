#pragma once
// The text formats of Moodle's text fields, made into the plain text a test
// holds, the way Moodle shows each of them.
#include <string>
#include <string_view>

namespace mirvane {

enum class MoodleTextFormat {
    Html,     // markup; blanks and line breaks in the source are one space
    Auto,     // "moodle_auto_format": line breaks kept, markup allowed
    Plain,    // shown exactly as written
    Markdown, // strong emphasis and heading marks and escapes taken off; line breaks kept
};

// "html", "moodle_auto_format", "plain_text", "markdown"; `absent` for an
// empty name; any other name reads as HTML, as Moodle reads it.
MoodleTextFormat TextFormatNamed(std::string_view name, MoodleTextFormat absent);

struct ShownText {
    std::string Text; // LF line breaks, not trimmed
    int Images = 0;   // <img> tags, which a test cannot show
};

ShownText TextInFormat(std::string_view text, MoodleTextFormat format);

// HTML as plain text: block elements and <br> as line breaks, <pre> kept as
// it stands, scripts, styles and comments dropped, entities decoded. A "<"
// that opens no tag is text ("3 < 5").
ShownText TextFromHtml(std::string_view html, bool breaksKept = false);

} // namespace mirvane
