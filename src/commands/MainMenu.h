#pragma once
// The menu bar of the main window.
#include <functional>

class QMenuBar;

namespace mirvane {

class DocumentCommands;

// Runs a command from a menu so that no error escapes into the event loop.
using CommandGuard = std::function<void(const std::function<void()>&)>;

// "&Файл": New, Open, Save, Save As and Exit, with their shortcut keys.
void BuildFileMenu(QMenuBar* bar, DocumentCommands& commands, const CommandGuard& guard);

} // namespace mirvane
