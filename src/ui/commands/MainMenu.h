#pragma once
// The menu bar and the toolbar of the main window, showing the command
// actions in their order.
class QAction;
class QMenu;
class QMenuBar;
class QToolBar;

namespace mirvane {

class CommandActions;

// "&Файл": New, Open, Save, Save As, "&Экспорт" and Exit; "&Редактировать":
// undo, the clipboard and find; "&Структура": adding, moving and deleting,
// the structure check and the preview; "&Вид": the findings list shown or
// hidden by `findings`, and the summary; "&Помощь": help and About; with
// their shortcut keys.
// Returns the "&Файл" menu.
QMenu* BuildMenuBar(QMenuBar* bar, const CommandActions& actions, QAction* findings);

// New, Open, Save | Cut, Copy, Paste | Division, Question, MoveDown, MoveUp,
// Delete | StructureCheck, Findings, Preview | Help: the buttons show the pictures and
// the tooltips of the actions; `findings` shows or hides the findings list.
void BuildToolbar(QToolBar* bar, const CommandActions& actions, QAction* findings);

} // namespace mirvane
