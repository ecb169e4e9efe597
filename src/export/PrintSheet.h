#pragma once
// The sheet a teacher hands out or keeps: the title, the time limit, each
// division's heading, the questions numbered through the test and their
// answers lettered, as the content choice of the text export says. Made as
// an HTML page (UTF-8) that a printer or a PDF writer lays out on A4.
#include "export/TextExport.h"

#include <string>

namespace mirvane {

std::string PrintSheetHtml(const Test& test, const DocumentOrder& order, TextContent content);

} // namespace mirvane
