#pragma once
// The menu bar and the toolbar of the main window, showing the command
// actions in their order.
class QMenu;
class QMenuBar;
class QToolBar;

namespace mirvane {

class CommandActions;

// "&Файл": New, Open, Save, Save As, "&Экспорт" and Exit; "&Редактировать":
// undo, the clipboard and find; "&Структура": adding, moving and deleting,
// the structure check and the preview; "&Помощь": help and About; with their
// shortcut keys.
// Returns the "&Файл" menu.
QMenu* BuildMenuBar(QMenuBar* bar, const CommandActions& actions);

// New, Open, Save | Cut, Copy, Paste | Division, Question, MoveDown, MoveUp,
// Delete | StructureCheck, Preview | Help: the
// buttons show the pictures and the tooltips of the actions.
void BuildToolbar(QToolBar* bar, const CommandActions& actions);

} // namespace mirvane
