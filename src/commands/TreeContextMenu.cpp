#include "commands/TreeContextMenu.h"

#include "editor/StructuralEdits.h"
#include "mainwindow/frmMain.h"

#include <QAction>
#include <QMenu>

namespace mirvane {

TreeContextMenu::TreeContextMenu(frmMain& window, StructuralEdits& edits)
    : QObject(&window), window_(window), context_(new QMenu(QStringLiteral("Контекстное меню"), &window))
{
    context_->setObjectName(QStringLiteral("Context"));
    ContextAddDiv = Entry("ContextAddDiv", QStringLiteral("Добавить раздел"), [&edits] { edits.AddDivision(); });
    ContextAddQest = Entry("ContextAddQest", QStringLiteral("Добавить вопрос"), [&edits] { edits.AddQuestion(); });
    context_->addSeparator()->setObjectName(QStringLiteral("ContextHR1"));
    ContextDelete = Entry("ContextDelete", QStringLiteral("Удалить"), [&edits] { edits.DeleteItem(true); });
    context_->addSeparator()->setObjectName(QStringLiteral("ContextHR2"));
    ContextUp = Entry("ContextUp", QStringLiteral("Вверх"), [&edits] { edits.MoveUp(); });
    ContextDown = Entry("ContextDown", QStringLiteral("Вниз"), [&edits] { edits.MoveDown(); });
}

QAction* TreeContextMenu::Entry(const char* name, const QString& caption, std::function<void()> run)
{
    QAction* action = context_->addAction(caption);
    action->setObjectName(QLatin1String(name));
    connect(action, &QAction::triggered, this, [this, run = std::move(run)] { window_.RunGuarded(run); });
    return action;
}

void TreeContextMenu::tvTreeView_MouseUp(int button, QPoint globalPosition)
{
    if (button != 2)
        return;
    // The menu acts on the node selected now; the right button itself does
    // not select the node under the mouse.
    window_.RunGuarded([this] { window_.tvTreeView_Click(); });
    const std::string& key = window_.State().CurrentKey;
    const bool item = !key.empty() && (key[0] == 'q' || key[0] == 'd');
    for (QAction* entry : {ContextAddQest, ContextDelete, ContextUp, ContextDown})
        entry->setEnabled(item);
    context_->popup(globalPosition);
}

} // namespace mirvane
