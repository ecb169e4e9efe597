#pragma once
// The toolbar's pictures, drawn by the program itself, one per button key.
#include <QIcon>
#include <QString>

namespace mirvane {

QIcon ToolbarIcon(const QString& key);

} // namespace mirvane
