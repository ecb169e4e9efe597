#include "commands/MainMenu.h"

#include "commands/CommandActions.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

namespace mirvane {

QMenu* BuildMenuBar(QMenuBar* bar, const CommandActions& actions, QAction* findings)
{
    QMenu* file = bar->addMenu(QStringLiteral("&Файл"));
    file->setObjectName(QStringLiteral("mnuFile"));
    file->addAction(actions.Get(Command::New));
    file->addSeparator()->setObjectName(QStringLiteral("mnuFileBar1"));
    file->addAction(actions.Get(Command::Open));
    file->addAction(actions.Get(Command::Save));
    file->addAction(actions.Get(Command::SaveAs));
    file->addSeparator()->setObjectName(QStringLiteral("mnuFileBar0"));
    file->addAction(actions.Get(Command::Import));
    QMenu* exports = file->addMenu(QStringLiteral("&Экспорт"));
    exports->setObjectName(QStringLiteral("mnuExport"));
    exports->addAction(actions.Get(Command::ExportText));
    exports->addAction(actions.Get(Command::ExportV25));
    exports->addSeparator();
    for (Command command : {Command::ExportMoodleXml, Command::ExportGift, Command::ExportAiken, Command::ExportMarkedText,
                            Command::ExportPdf})
        exports->addAction(actions.Get(command));
    file->addAction(actions.Get(Command::Print));
    file->addSeparator()->setObjectName(QStringLiteral("mnuFileBar3"));
    file->addAction(actions.Get(Command::Exit));

    QMenu* edit = bar->addMenu(QStringLiteral("&Редактировать"));
    edit->setObjectName(QStringLiteral("mnuEdit"));
    edit->addAction(actions.Get(Command::Undo));
    edit->addAction(actions.Get(Command::Redo));
    edit->addSeparator();
    for (Command command : {Command::Cut, Command::Copy, Command::Paste})
        edit->addAction(actions.Get(command));
    edit->addSeparator();
    for (Command command : {Command::Find, Command::FindNext, Command::FindPrevious})
        edit->addAction(actions.Get(command));
    edit->addSeparator();
    edit->addAction(actions.Get(Command::SpellingWalk));
    edit->addAction(actions.Get(Command::SpellAsYouType));
    // A disabled spelling entry says which package is missing.
    edit->setToolTipsVisible(true);

    // The structure commands of the toolbar, where their keys can be read.
    QMenu* structure = bar->addMenu(QStringLiteral("&Структура"));
    structure->setObjectName(QStringLiteral("mnuStructure"));
    for (Command command : {Command::AddDivision, Command::AddQuestion})
        structure->addAction(actions.Get(command));
    structure->addSeparator();
    for (Command command : {Command::MoveUp, Command::MoveDown, Command::Delete})
        structure->addAction(actions.Get(command));
    structure->addSeparator();
    for (Command command : {Command::StructureCheck, Command::Preview})
        structure->addAction(actions.Get(command));

    QMenu* view = bar->addMenu(QStringLiteral("&Вид"));
    view->setObjectName(QStringLiteral("mnuView"));
    view->addAction(findings);
    view->addAction(actions.Get(Command::Summary));

    QMenu* help = bar->addMenu(QStringLiteral("&Помощь"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    help->addAction(actions.Get(Command::HelpContents));
    help->addAction(actions.Get(Command::HelpAbout));
    return file;
}

void BuildToolbar(QToolBar* bar, const CommandActions& actions, QAction* findings)
{
    for (Command command : {Command::New, Command::Open, Command::Save})
        bar->addAction(actions.Get(command));
    bar->addSeparator();
    for (Command command : {Command::Cut, Command::Copy, Command::Paste})
        bar->addAction(actions.Get(command));
    bar->addSeparator();
    for (Command command :
         {Command::AddDivision, Command::AddQuestion, Command::MoveDown, Command::MoveUp, Command::Delete})
        bar->addAction(actions.Get(command));
    bar->addSeparator();
    bar->addAction(actions.Get(Command::StructureCheck));
    bar->addAction(findings);
    bar->addAction(actions.Get(Command::Preview));
    bar->addSeparator();
    bar->addAction(actions.Get(Command::HelpContents));
}

} // namespace mirvane
