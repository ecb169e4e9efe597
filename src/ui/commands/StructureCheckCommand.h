#pragma once
// The "Spell" command: the structure check of the whole test, with the
// finding's node selected and its panel shown, and the findings window.
#include <QPointer>
#include <QString>

class QWidget;

namespace mirvane {

class PanelHost;
class FindingsWindow;
class StructureTree;
struct EditorState;

class StructureCheckCommand {
public:
    StructureCheckCommand(EditorState& state, StructureTree& tree, PanelHost& host, QWidget& mainWindow)
        : state_(state), tree_(tree), host_(host), mainWindow_(mainWindow)
    {
    }

    // Stores the panel, runs the rules in order and returns the first
    // finding's message, or the closing message. A finding's node is
    // selected, its panel shown and the tree scrolled to it.
    QString RunCheck();

    // Opens the findings window, which checks as it loads; while it is open
    // the command only brings it forward.
    void ShowFindingsWindow();

    FindingsWindow* Window() const;

private:
    EditorState& state_;
    StructureTree& tree_;
    PanelHost& host_;
    QWidget& mainWindow_;
    QPointer<FindingsWindow> findings_;
};

} // namespace mirvane
