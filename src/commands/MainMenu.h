#pragma once
// The menu bar of the main window.
class QMenuBar;

namespace mirvane {

class DocumentCommands;

// "&Файл": New, Open, Save, Save As and Exit, with their shortcut keys.
void BuildFileMenu(QMenuBar* bar, DocumentCommands& commands);

} // namespace mirvane
