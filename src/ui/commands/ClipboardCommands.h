#pragma once
// Cut, Copy and Paste on the focused control. In a text box of the panel
// they are ordinary text editing (a clipboard record is never pasted into a
// box); in the structure tree they carry whole questions and divisions on
// the system clipboard as records, also between two running editors. Any
// other control: nothing.
#include <vector>

class QWidget;

namespace mirvane {

class Clipboard;
class PanelTextBox;
class StructuralEdits;
class StructureTree;
struct ClipboardRecord;
struct EditorState;

class ClipboardCommands {
public:
    // `mainWindow` tells which control has the focus; `pane` holds the panel.
    ClipboardCommands(EditorState& state, StructureTree& tree, StructuralEdits& edits, Clipboard& clipboard,
                      QWidget& mainWindow, QWidget& pane)
        : state_(state), tree_(tree), edits_(edits), clipboard_(clipboard), mainWindow_(mainWindow), pane_(pane)
    {
    }

    void CutSelection();
    void CopySelection();
    void PasteHere();

private:
    // The focused panel box, or null.
    PanelTextBox* FocusedBox() const;
    bool TreeFocused() const;
    // Puts the current question or division on the clipboard, or a list of
    // the selected ones; false on the parameters and the marks, which have
    // no record.
    bool CopyItem();
    void PasteQuestion(const ClipboardRecord& record);
    void PasteDivision(const ClipboardRecord& record);
    void PasteSeveral(const std::vector<ClipboardRecord>& records);

    EditorState& state_;
    StructureTree& tree_;
    StructuralEdits& edits_;
    Clipboard& clipboard_;
    QWidget& mainWindow_;
    QWidget& pane_;
};

} // namespace mirvane
