#pragma once
// The sheet a teacher hands out or keeps: the title, the time limit, a line
// for the student's name, class and date, each division's heading, the
// questions numbered through the test with room between them and their
// answers indented and lettered, as the content choice of the text export
// says; a content with the right answers adds the key ("Ответы": number and
// letter) on a page of its own. Made as an HTML page (UTF-8) whose title is
// the test's, which a printer or a PDF writer lays out on A4.
#include "export/TextExport.h"

#include <string>

namespace mirvane {

std::string PrintSheetHtml(const Test& test, const DocumentOrder& order, TextContent content);

} // namespace mirvane
