#pragma once
// The print sheet as a PDF file, for `mirvane-cli export --to pdf`: Qt lays
// it out, on the offscreen platform when the tool has no window system.
#include "export/TextExport.h"

#include <optional>
#include <string>

namespace mirvane {

// Nothing on success; otherwise the message naming the file and the cause.
std::optional<std::string> WritePdfSheet(const Test& test, const DocumentOrder& order, TextContent content,
                                         const std::string& path);

} // namespace mirvane
