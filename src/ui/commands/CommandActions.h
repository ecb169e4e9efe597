#pragma once
// Every command of the main window, created once as a QAction with its
// caption, shortcut, tooltip and picture, in one place (in the manner of Qt's
// Application example). The menu bar, the toolbar and the tree's context menu
// show these same actions. Every command runs under one guard, from any
// surface: an unexpected failure is reported in a message box that names the
// command, and the program goes on.
#include <QObject>
#include <QString>

#include <functional>
#include <map>

class QAction;
class QKeySequence;
class QWidget;

namespace mirvane {

class ClipboardCommands;
class HelpCommands;
class SpellingCommands;
class PreviewCommand;
class DocumentCommands;
class EditHistory;
class FindCommands;
class ExportCommands;
class StructuralEdits;
class StructureCheckCommand;

enum class Command {
    New, Open, Save, SaveAs, Import, ExportText, ExportV25, ExportMoodleXml, ExportGift, ExportAiken, ExportPdf,
    ExportMarkedText,
    Print, Exit,
    Undo, Redo, Cut, Copy, Paste, Find, FindNext, FindPrevious,
    AddDivision, AddQuestion, MoveDown, MoveUp, Delete,
    StructureCheck, Preview, Summary, SpellingWalk, SpellAsYouType,
    HelpContents, HelpAbout,
};

// Runs a command; `name` is what the user knows the command by.
using CommandGuard = std::function<void(const QString& name, const std::function<void()>& run)>;

class CommandActions : public QObject {
    Q_OBJECT
public:
    struct Targets {
        DocumentCommands& documents;
        StructuralEdits& edits;
        StructureCheckCommand& check;
        ExportCommands& exports;
        ClipboardCommands& clipboard;
        PreviewCommand& preview;
        HelpCommands& help;
        EditHistory& history;
        FindCommands& find;
        std::function<void()> summary; // opens "Сводка"
        SpellingCommands& spelling;
    };

    // The actions belong to `window`, so their shortcuts reach the command
    // even while a text box of the panel has the focus.
    CommandActions(QWidget* window, const Targets& targets, CommandGuard guard);

    QAction* Get(Command command) const { return actions_.at(command); }

    // Delete, Ctrl+Up and Ctrl+Down act only while `tree` has the focus;
    // elsewhere the keys stay the boxes' own.
    void KeysInTree(QWidget* tree);

private:
    // "Отменить" and "Повторить" are enabled only when there is a step, and
    // name it.
    void FollowHistory(EditHistory& history);
    // The spelling entries are disabled, saying what to install, on a
    // machine without the dictionaries.
    void FollowSpelling(SpellingCommands& spelling);

    // `key` is the action's name: the toolbar button's key where the command
    // has one. An empty tooltip leaves Qt's own (the caption).
    QAction* Create(Command command, const char* key, const QString& caption, const QKeySequence& shortcut,
                    const QString& toolTip, std::function<void()> run);

    QWidget* window_;
    CommandGuard guard_;
    std::map<Command, QAction*> actions_;
};

} // namespace mirvane
