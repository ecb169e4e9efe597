#pragma once
// Node keys: "par" and "mrk" name the test parameters and the marks, "d" or
// "q" followed by a key number a division or a question. The first character
// is the node's kind, and the only thing the program looks at to tell kinds
// apart.
#include <string>
#include <string_view>

namespace mirvane {

inline constexpr std::string_view kParametersKey = "par";
inline constexpr std::string_view kMarksKey = "mrk";

enum class NodeKind { None, Parameters, Marks, Division, Question };

NodeKind KindOf(std::string_view key);

// A fresh key of a division or a question, from NextKeyNumber(): keys are
// unique for the whole run of the program. Every key is made here.
std::string NextKey(NodeKind kind);

} // namespace mirvane
