#pragma once
// What a command tells the user once it is done (saved, exported, printed,
// imported): a line in the status bar for a few seconds, never a box to
// dismiss. `details`, when not empty, are shown only when the user asks.
#include <QString>

#include <functional>

namespace mirvane {

using StatusReport = std::function<void(const QString& text, const QString& details)>;

} // namespace mirvane
