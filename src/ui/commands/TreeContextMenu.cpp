#include "commands/TreeContextMenu.h"

#include "commands/CommandActions.h"
#include "editor/EditorState.h"
#include "editor/PanelHost.h"

#include <QAction>
#include <QMenu>

namespace mirvane {

TreeContextMenu::TreeContextMenu(QWidget* window, const CommandActions& actions, EditorState& state,
                                 PanelHost& host)
    : QObject(window), context_(new QMenu(QStringLiteral("Контекстное меню"), window)), state_(state), host_(host)
{
    context_->setObjectName(QStringLiteral("Context"));
    context_->addAction(actions.Get(Command::AddDivision));
    context_->addAction(actions.Get(Command::AddQuestion));
    context_->addSeparator()->setObjectName(QStringLiteral("ContextHR1"));
    for (Command command : {Command::Cut, Command::Copy, Command::Paste, Command::Delete})
        context_->addAction(actions.Get(command));
    context_->addSeparator()->setObjectName(QStringLiteral("ContextHR2"));
    context_->addAction(actions.Get(Command::MoveUp));
    context_->addAction(actions.Get(Command::MoveDown));
    for (Command command : {Command::AddQuestion, Command::Cut, Command::Copy, Command::Paste, Command::Delete,
                            Command::MoveUp, Command::MoveDown})
        itemEntries_.push_back(actions.Get(command));
    // Menu-bar entries and toolbar buttons are never disabled.
    connect(context_, &QMenu::aboutToHide, this, [this] {
        for (QAction* entry : itemEntries_)
            entry->setEnabled(true);
    });
}

void TreeContextMenu::TreeMouseReleased(Qt::MouseButton button, QPoint globalPosition)
{
    if (button != Qt::RightButton)
        return;
    // The menu acts on the node selected now; the right button itself does
    // not select the node under the mouse.
    host_.ShowSelectedNode();
    const NodeKind kind = KindOf(state_.CurrentKey);
    const bool item = kind == NodeKind::Division || kind == NodeKind::Question;
    for (QAction* entry : itemEntries_)
        entry->setEnabled(item);
    context_->popup(globalPosition);
}

} // namespace mirvane
