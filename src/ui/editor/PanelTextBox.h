#pragma once
// What the clipboard commands need of a text box of the editing panel: its
// selected text, and inserting text as if the user had typed it (so the box's
// length limit and rewrap apply, and a clipboard record is never inserted).
#include <QPoint>
#include <QString>

#include <functional>

class QMenu;

namespace mirvane {

class PanelTextBox {
public:
    virtual ~PanelTextBox() = default;
    // Lines joined with LF.
    virtual QString SelectedText() const = 0;
    // Replaces the selection (or inserts at the caret) as a user's edit.
    virtual void InsertAsTyped(const QString& text) = 0;

    // What another part puts at the top of the box's context menu, given
    // the point clicked (spelling corrections).
    using MenuAddition = std::function<void(QMenu& menu, QPoint at)>;
    void SetMenuAddition(MenuAddition addition) { menuAddition_ = std::move(addition); }

protected:
    void AddToMenu(QMenu& menu, QPoint at) const
    {
        if (menuAddition_)
            menuAddition_(menu, at);
    }

private:
    MenuAddition menuAddition_;
};

} // namespace mirvane
