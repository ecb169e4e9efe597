#pragma once
#include <QString>

namespace mirvane {

// The program's title: the application and settings name, the caption of
// notices, and the end of the main window's caption.
inline const QString kProgramName = QStringLiteral("Mirvane");

} // namespace mirvane
