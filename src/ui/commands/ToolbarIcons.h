#pragma once
// The toolbar's pictures, drawn by the program itself, one per button key.
#include <QIcon>
#include <QString>

namespace mirvane {

// An empty icon for a key without a button.
QIcon ToolbarIcon(const QString& key);

} // namespace mirvane
