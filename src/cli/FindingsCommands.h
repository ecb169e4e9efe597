#pragma once
// mirvane-cli's "check --all" (every finding and warning of each test, with
// its line) and "stats" (the summary of a test), as text or JSON.
#include "cli/CliInput.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace mirvane {

// Exit status as RunCli's: 1 when a test
// has a finding of the structure check; warnings alone leave it 0.
int CheckAll(const CommandLine& line, std::ostream& out, std::ostream& err, const InputEncoding& input);
int Stats(const CommandLine& line, std::ostream& out, std::ostream& err, const InputEncoding& input);

} // namespace mirvane
