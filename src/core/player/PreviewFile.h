#pragma once
// The one-question test file handed to the player's preview program.
#include <string>

namespace mirvane {

class Question;

// The file's bytes in the DOS code page: a header (title, one minute, a
// failing and a passing mark, a division asking one question), the question
// as the test-file writer writes it, and the closing line "):".
std::string BuildPreviewFile(const Question& question);

} // namespace mirvane
