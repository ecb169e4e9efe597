#pragma once
// The print sheet as a PDF file, for `mirvane-cli export --to pdf`. Qt lays
// it out, in the module mirvane-pdf.so that the tool loads only for this
// (beside the tool, or in lib/mirvane/ of its prefix).
#include "export/TextExport.h"

#include <optional>
#include <string>

namespace mirvane {

// Nothing on success; otherwise the message naming the file and the cause.
std::optional<std::string> WritePdfSheet(const Test& test, const DocumentOrder& order, TextContent content,
                                         const std::string& path);

} // namespace mirvane
