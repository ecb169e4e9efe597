#include "commands/MainToolbar.h"

#include "commands/ToolbarIcons.h"

#include <QAction>
#include <QToolBar>

namespace mirvane {

MainToolbar::MainToolbar(QToolBar* bar, std::vector<Button> buttons)
    : QObject(bar), bar_(bar), buttons_(std::move(buttons))
{
    for (const Button& button : buttons_) {
        if (button.Key.isEmpty()) {
            bar_->addSeparator();
            continue;
        }
        QAction* action = bar_->addAction(ToolbarIcon(button.Key), button.ToolTip);
        action->setObjectName(button.Key);
        action->setToolTip(button.ToolTip);
        const QString key = button.Key;
        connect(action, &QAction::triggered, this, [this, key] { tbToolBar_ButtonClick(key); });
    }
}

void MainToolbar::tbToolBar_ButtonClick(const QString& key)
{
    for (const Button& button : buttons_) {
        if (button.Key.isEmpty() || button.Key != key)
            continue;
        try {
            button.Run();
        } catch (...) {
            // The toolbar swallows a failure of the operation it runs; the
            // operation's own messages have been shown already.
        }
        return;
    }
}

QAction* MainToolbar::Action(const QString& key) const { return bar_->findChild<QAction*>(key); }

} // namespace mirvane
