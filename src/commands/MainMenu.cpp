#include "commands/MainMenu.h"

#include "testfile/DocumentCommands.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

#include <functional>

namespace mirvane {

namespace {

QAction* AddEntry(QMenu* menu, const char* name, const QString& caption, const QKeySequence& shortcut,
                  const CommandGuard& guard, std::function<void()> run)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    if (!shortcut.isEmpty()) {
        action->setShortcut(shortcut);
        // Accelerators reach the command even while a box has the focus.
        action->setShortcutContext(Qt::WindowShortcut);
    }
    QObject::connect(action, &QAction::triggered, menu, [guard, run = std::move(run)] { guard(run); });
    return action;
}

} // namespace

void BuildFileMenu(QMenuBar* bar, DocumentCommands& commands, const CommandGuard& guard)
{
    QMenu* file = bar->addMenu(QStringLiteral("&Файл"));
    file->setObjectName(QStringLiteral("mnuFile"));
    AddEntry(file, "mnuFileNew", QStringLiteral("&Новый"), QKeySequence(Qt::CTRL | Qt::Key_N), guard,
             [&commands] { commands.mnuFileNew_Click(); });
    file->addSeparator()->setObjectName(QStringLiteral("mnuFileBar1"));
    AddEntry(file, "mnuFileOpen", QStringLiteral("&Открыть..."), QKeySequence(Qt::CTRL | Qt::Key_O), guard,
             [&commands] { commands.mnuFileOpen_Click(); });
    AddEntry(file, "mnuSave", QStringLiteral("&Сохранить..."), QKeySequence(Qt::CTRL | Qt::Key_S), guard,
             [&commands] { commands.mnuSave_Click(); });
    AddEntry(file, "mnuSaveAs", QStringLiteral("Сохр&анить как..."), {}, guard, [&commands] { commands.mnuSaveAs_Click(); });
    file->addSeparator()->setObjectName(QStringLiteral("mnuFileBar0"));
    file->addSeparator()->setObjectName(QStringLiteral("mnuFileBar3"));
    AddEntry(file, "mnuFileClose", QStringLiteral("&Выход"), {}, guard, [&commands] { commands.mnuFileClose_Click(); });
}

} // namespace mirvane
