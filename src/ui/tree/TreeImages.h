#pragma once
// The four small pictures of the structure tree, drawn by the program itself:
// 1 division, 2 question, 3 marks, 4 test parameters.
#include <QIcon>

namespace mirvane {

enum class TreeImage { Division = 1, Question = 2, Marks = 3, Parameters = 4 };

const QIcon& TreeIcon(TreeImage image);

} // namespace mirvane
