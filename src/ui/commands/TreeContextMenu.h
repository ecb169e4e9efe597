#pragma once
// The structure tree's context menu "Контекстное меню": opened by a release
// of the right button, after the selection procedure has run; it acts on the
// selected node. It shows the command actions; while it is open, all but
// "Добавить раздел" are enabled only for divisions and questions (the toolbar
// buttons, which show the same actions, are enabled again when it closes).
#include <QObject>
#include <QPoint>

#include <vector>

class QAction;
class QMenu;
class QWidget;

namespace mirvane {

class CommandActions;
class PanelHost;
struct EditorState;

class TreeContextMenu : public QObject {
    Q_OBJECT
public:
    TreeContextMenu(QWidget* window, const CommandActions& actions, EditorState& state, PanelHost& host);

    // A mouse button released over the tree: the right one opens the menu.
    void TreeMouseReleased(Qt::MouseButton button, QPoint globalPosition);

    QMenu* Context() const { return context_; }

private:
    QMenu* context_;
    EditorState& state_;
    PanelHost& host_;
    std::vector<QAction*> itemEntries_; // enabled only for divisions and questions
};

} // namespace mirvane
