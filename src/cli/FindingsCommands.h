#pragma once
// mirvane-cli's "check --all" (every finding and warning of each test, with
// its line) and "stats" (the summary of a test), as text or JSON.
#include "cli/CliInput.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace mirvane {

// `args` starts with the command. Exit status as RunCli's: 1 when a test
// has a finding of the structure check; warnings alone leave it 0.
int CheckAll(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const InputEncoding& input);
int Stats(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const InputEncoding& input);

} // namespace mirvane
