#pragma once
// The batch companion of the editor: check, export and resave test files
// without a window. Runs in-process so tests can drive it.
#include <iosfwd>
#include <string>
#include <vector>

namespace mirvane {

// `args` excludes the program name. Returns the exit status: 0 success,
// 1 the check found something, 2 a usage error or a file that cannot be read,
// is not a test file, or cannot be written.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace mirvane
