#include "commands/CommandActions.h"

#include "commands/HelpCommands.h"
#include "commands/PreviewCommand.h"
#include "commands/StructureCheckCommand.h"
#include "commands/ClipboardCommands.h"
#include "commands/ToolbarIcons.h"
#include "commands/ExportCommands.h"
#include "editor/EditHistory.h"
#include "commands/StructuralEdits.h"
#include "commands/FindCommands.h"
#include "commands/DocumentCommands.h"
#include "editor/SpellingCommands.h"

#include <QAction>
#include <QKeySequence>
#include <QUndoStack>
#include <QWidget>

namespace mirvane {

CommandActions::CommandActions(QWidget* window, const Targets& targets, CommandGuard guard)
    : QObject(window), window_(window), guard_(std::move(guard))
{
    DocumentCommands& d = targets.documents;
    StructuralEdits& e = targets.edits;
    StructureCheckCommand& c = targets.check;
    ExportCommands& x = targets.exports;
    ClipboardCommands& b = targets.clipboard;
    PreviewCommand& p = targets.preview;
    HelpCommands& h = targets.help;
    const QKeySequence none;
    Create(Command::New, "New", QStringLiteral("&Новый"), QKeySequence(Qt::CTRL | Qt::Key_N),
           QStringLiteral("Новый Файл"), [&d] { d.NewTest(); });
    Create(Command::Open, "Open", QStringLiteral("&Открыть..."), QKeySequence(Qt::CTRL | Qt::Key_O),
           QStringLiteral("Открыть"), [&d] { d.OpenTest(); });
    Create(Command::Save, "Save", QStringLiteral("&Сохранить..."), QKeySequence(Qt::CTRL | Qt::Key_S),
           QStringLiteral("Сохранить"), [&d] { d.SaveTest(); });
    Create(Command::SaveAs, "mnuSaveAs", QStringLiteral("Сохр&анить как..."), none, {},
           [&d] { d.SaveTestAs(); });
    Create(Command::ExportText, "mnuExportTxt", QStringLiteral("Текстовый файл"), none, {},
           [&x] { x.OpenTextExportWindow(); });
    Create(Command::ExportV25, "mnuExportV25", QStringLiteral("Тулимар 2.5 (Windows версия)"), none, {},
           [&x] { x.ExportPlayerPage(); });
    Create(Command::ExportMoodleXml, "mnuExportMoodleXml", QStringLiteral("Moodle XML"), none, {},
           [&x] { x.ExportAsMoodleXml(); });
    Create(Command::ExportGift, "mnuExportGift", QStringLiteral("GIFT"), none, {}, [&x] { x.ExportAsGift(); });
    Create(Command::ExportAiken, "mnuExportAiken", QStringLiteral("Aiken"), none, {},
           [&x] { x.ExportAsAiken(); });
    Create(Command::ExportMarkedText, "mnuExportMarkedText", QStringLiteral("Текст с разметкой"), none, {},
           [&x] { x.ExportAsMarkedText(); });
    Create(Command::ExportPdf, "mnuExportPdf", QStringLiteral("Лист для печати (PDF)"), none, {},
           [&x] { x.OpenPrintWindow(); });
    Create(Command::Print, "mnuFilePrint", QStringLiteral("&Печать..."), QKeySequence(Qt::CTRL | Qt::Key_P), {},
           [&x] { x.OpenPrintWindow(); });
    Create(Command::Import, "mnuFileImport", QStringLiteral("&Импорт..."), none, {}, [&d] { d.ImportTest(); });
    Create(Command::Exit, "mnuFileClose", QStringLiteral("&Выход"), none, {}, [&d] { d.CloseTest(); });
    // One history for the document, whatever has the focus.
    EditHistory& u = targets.history;
    Create(Command::Undo, "mnuEditUndo", QStringLiteral("Отменить"), QKeySequence(Qt::CTRL | Qt::Key_Z), {},
           [&u] { u.Undo(); });
    Create(Command::Redo, "mnuEditRedo", QStringLiteral("Повторить"), QKeySequence(Qt::CTRL | Qt::Key_Y), {},
           [&u] { u.Redo(); });
    Get(Command::Redo)->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    FollowHistory(u);
    FindCommands& f = targets.find;
    Create(Command::Find, "mnuEditFind", QStringLiteral("&Найти..."), QKeySequence(Qt::CTRL | Qt::Key_F), {},
           [&f] { f.Open(); });
    Create(Command::FindNext, "mnuEditFindNext", QStringLiteral("Найти далее"), QKeySequence(Qt::Key_F3), {},
           [&f] { f.FindNext(); });
    Create(Command::FindPrevious, "mnuEditFindPrevious", QStringLiteral("Найти ранее"),
           QKeySequence(Qt::SHIFT | Qt::Key_F3), {}, [&f] { f.FindPrevious(); });
    // On the focused control: text in a box, whole items in the tree.
    Create(Command::Cut, "Cut", QStringLiteral("Вырезать"), QKeySequence(Qt::CTRL | Qt::Key_X),
           QStringLiteral("Вырезать"), [&b] { b.CutSelection(); });
    Create(Command::Copy, "Copy", QStringLiteral("Копировать"), QKeySequence(Qt::CTRL | Qt::Key_C),
           QStringLiteral("Копировать"), [&b] { b.CopySelection(); });
    Create(Command::Paste, "Paste", QStringLiteral("Вставить"), QKeySequence(Qt::CTRL | Qt::Key_V),
           QStringLiteral("Вставить"), [&b] { b.PasteHere(); });
    // Adding works from anywhere in the window, so a teacher typing the
    // last answer goes on to the next question without the mouse.
    Create(Command::AddDivision, "Division", QStringLiteral("Добавить раздел"),
           QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Return), QStringLiteral("Добавить раздел"),
           [&e] { e.AddDivision(); });
    Get(Command::AddDivision)
        ->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Return),
                        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Enter)});
    Create(Command::AddQuestion, "Question", QStringLiteral("Добавить вопрос"), QKeySequence(Qt::Key_Insert),
           QStringLiteral("Добавить вопрос"), [&e] { e.AddQuestion(); });
    Get(Command::AddQuestion)
        ->setShortcuts({QKeySequence(Qt::Key_Insert), QKeySequence(Qt::CTRL | Qt::Key_Return),
                        QKeySequence(Qt::CTRL | Qt::Key_Enter)});
    // Deleting and moving keys belong to the tree (see KeysInTree): in a box
    // Delete deletes a character.
    Create(Command::MoveDown, "MoveDown", QStringLiteral("Вниз"), QKeySequence(Qt::CTRL | Qt::Key_Down),
           QStringLiteral("Передвинуть вниз"), [&e] { e.MoveDown(); });
    Create(Command::MoveUp, "MoveUp", QStringLiteral("Вверх"), QKeySequence(Qt::CTRL | Qt::Key_Up),
           QStringLiteral("Передвинуть вверх"), [&e] { e.MoveUp(); });
    Create(Command::Delete, "Delete", QStringLiteral("Удалить"), QKeySequence(Qt::Key_Delete),
           QStringLiteral("Удалить раздел/вопрос"), [&e] { e.DeleteItem(); });
    Create(Command::StructureCheck, "Spell", QStringLiteral("Проверка структуры"), QKeySequence(Qt::Key_F9),
           QStringLiteral("Проверка целостности структуры теста"), [&c] { c.ShowFindingsWindow(); });
    SpellingCommands& s = targets.spelling;
    Create(Command::SpellingWalk, "mnuEditSpelling", QStringLiteral("Орфография..."), QKeySequence(Qt::Key_F7), {},
           [&s] { s.ShowWalk(); });
    QAction* asYouType = Create(Command::SpellAsYouType, "mnuEditSpellAsYouType",
                                QStringLiteral("Проверять орфографию при вводе"), none, {}, [] {});
    asYouType->setCheckable(true);
    asYouType->setChecked(s.Underlining());
    connect(asYouType, &QAction::toggled, this, [this, &s](bool on) {
        guard_(QStringLiteral("Проверять орфографию при вводе"), [&s, on] { s.SetUnderlining(on); });
    });
    FollowSpelling(s);
    Create(Command::Preview, "Preview", QStringLiteral("Просмотр вопроса"), QKeySequence(Qt::Key_F5),
           QStringLiteral("Предварительный просмотр вопроса"), [&p] { p.Preview(); });
    Create(Command::Summary, "mnuViewSummary", QStringLiteral("&Сводка..."), none, {}, targets.summary);
    Create(Command::HelpContents, "Help", QStringLiteral("&Справка"), QKeySequence(Qt::Key_F1),
           QStringLiteral("Help"), [&h] { h.ShowHelpTopic(); });
    Create(Command::HelpAbout, "mnuHelpAbout", QStringLiteral("&About "), none, {}, [&h] { h.ShowAbout(); });
}

void CommandActions::KeysInTree(QWidget* tree)
{
    for (Command command : {Command::Delete, Command::MoveUp, Command::MoveDown}) {
        QAction* action = Get(command);
        window_->removeAction(action);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        tree->addAction(action);
    }
}

void CommandActions::FollowHistory(EditHistory& history)
{
    QUndoStack* stack = &history.Stack();
    auto follow = [stack](QAction* action, bool can, const QString& caption, const QString& step) {
        action->setEnabled(can);
        action->setText(step.isEmpty() ? caption : caption + QLatin1Char(' ') + step);
    };
    QAction* undo = Get(Command::Undo);
    QAction* redo = Get(Command::Redo);
    auto update = [=] {
        follow(undo, stack->canUndo(), QStringLiteral("Отменить"), stack->undoText());
        follow(redo, stack->canRedo(), QStringLiteral("Повторить"), stack->redoText());
    };
    connect(stack, &QUndoStack::indexChanged, this, update);
    connect(stack, &QUndoStack::canUndoChanged, this, update);
    connect(stack, &QUndoStack::canRedoChanged, this, update);
    connect(stack, &QUndoStack::undoTextChanged, this, update);
    connect(stack, &QUndoStack::redoTextChanged, this, update);
    update();
}

void CommandActions::FollowSpelling(SpellingCommands& spelling)
{
    auto update = [this, &spelling] {
        const QString unavailable = spelling.Unavailable();
        for (Command command : {Command::SpellingWalk, Command::SpellAsYouType}) {
            Get(command)->setEnabled(unavailable.isEmpty());
            Get(command)->setToolTip(unavailable);
        }
    };
    spelling.FollowDictionaries(update);
    update();
}

QAction* CommandActions::Create(Command command, const char* key, const QString& caption,
                                const QKeySequence& shortcut, const QString& toolTip, std::function<void()> run)
{
    auto* action = new QAction(ToolbarIcon(QLatin1String(key)), caption, window_);
    action->setObjectName(QLatin1String(key));
    if (!toolTip.isEmpty())
        action->setToolTip(toolTip);
    if (!shortcut.isEmpty()) {
        action->setShortcut(shortcut);
        action->setShortcutContext(Qt::WindowShortcut);
    }
    window_->addAction(action);
    // The name in a failure report is the one the user sees: the tooltip of
    // a toolbar button, else the caption without its access key.
    QString name = toolTip.isEmpty() ? caption : toolTip;
    name.remove(QLatin1Char('&'));
    connect(action, &QAction::triggered, this, [this, name, run = std::move(run)] { guard_(name, run); });
    actions_.emplace(command, action);
    return action;
}

} // namespace mirvane
