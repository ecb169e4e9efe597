#pragma once
// mirvane-cli's "check --all" (every finding and warning of each test, with
// its line) and "stats" (the summary of a test), as text or JSON.
#include "cli/CliInput.h"

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace mirvane {

struct Finding;
struct SourceLines;

// Exit status as RunCli's: 1 when a test
// has a finding of the structure check; warnings alone leave it 0.
int CheckAll(const CommandLine& line, std::ostream& out, std::ostream& err, const InputEncoding& input);
// The lines check --all prints for the findings of one test read from
// `file`, in file order, appended to `out`: "FILE:LINE: message" lines, or
// JSON objects, each after a comma but for the first of all (`firstJson`).
void AppendFindingLines(std::string& out, std::string_view file, const std::vector<Finding>& findings,
                        const SourceLines& lines, bool asJson, bool& firstJson);
int Stats(const CommandLine& line, std::ostream& out, std::ostream& err, const InputEncoding& input);

} // namespace mirvane
