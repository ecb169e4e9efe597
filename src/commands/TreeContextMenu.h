#pragma once
// The structure tree's context menu "Контекстное меню": opened by a release
// of the right button, after the selection procedure has run; it acts on the
// selected node, and all but "Добавить раздел" are enabled only for divisions
// and questions.
#include <QObject>
#include <QPoint>

#include <functional>

class QAction;
class QMenu;

namespace mirvane {

class frmMain;
class StructuralEdits;

class TreeContextMenu : public QObject {
    Q_OBJECT
public:
    TreeContextMenu(frmMain& window, StructuralEdits& edits);

    // The tree's mouse-button release handler; 2 is the right button.
    void tvTreeView_MouseUp(int button, QPoint globalPosition);

    QMenu* Context() const { return context_; }

private:
    QAction* Entry(const char* name, const QString& caption, std::function<void()> run);

    frmMain& window_;
    QMenu* context_;
    QAction* ContextAddDiv;
    QAction* ContextAddQest;
    QAction* ContextDelete;
    QAction* ContextUp;
    QAction* ContextDown;
};

} // namespace mirvane
