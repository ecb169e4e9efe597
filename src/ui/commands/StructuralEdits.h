#pragma once
// Adding, deleting and moving divisions and questions from the editor: the
// document performs the operation, the tree follows it, and the selection
// and the panel go where the user expects them. Adding works on the
// selected node, deleting and moving on the node of the current key; the
// two are the same node after every selection change. Every edit is one step
// of the edit history.
#include <QString>

#include <functional>
#include <string>

namespace mirvane {

class EditHistory;
class PanelHost;
class Prompter;
class StructureTree;
struct DetachedItem;
struct DocumentChange;
struct EditorState;

namespace edit_text {
inline const QString kConfirmCaption = QStringLiteral("Запрос");
inline const QString kDeleteQuestion = QStringLiteral("Вы действительно хотите удалить вопрос?");
inline const QString kDeleteDivision = QStringLiteral("Вы действительно хотите удалить раздел ?");
} // namespace edit_text

class StructuralEdits {
public:
    StructuralEdits(EditorState& state, StructureTree& tree, Prompter& prompter, PanelHost& host,
                    EditHistory& history)
        : state_(state), tree_(tree), prompter_(prompter), host_(host), history_(history)
    {
    }

    // Each returns the new item's key, or an empty key when nothing was
    // added; the new item is selected, its panel shown, and `focusAdded`
    // told its key.
    std::string AddDivision();
    std::string AddQuestion();
    // Deletes the current division or question after asking the user.
    void DeleteItem();
    // Deletes it without asking, as cutting does.
    void CutItem();
    // The panel keeps showing the moved item with whatever was typed into it.
    void MoveUp();
    void MoveDown();
    // Where the typing goes after an add: the new item's first box.
    void FocusAfterAdding(std::function<void(const std::string& key)> focusAdded)
    {
        focusAdded_ = std::move(focusAdded);
    }
    // Records a division or question just pasted as one step.
    void RecordPasted(const std::string& key);

    // What the steps replay. The panel is stored into the item before it
    // goes; the next node is shown.
    DetachedItem TakeOut(const std::string& key);
    // The item comes back at its place, selected, its panel shown.
    void PutBack(DetachedItem item);
    // Shows the item, then moves it.
    void MoveItem(const std::string& key, bool down);
    // Selects the node and shows its panel, unless it is shown already.
    void Show(const std::string& key);

private:
    std::string Added(const DocumentChange& change, const char* stepVerb);
    void Remove(const char* stepVerb);
    bool Move(bool down);
    void SelectAndRun(const std::string& key);

    EditorState& state_;
    StructureTree& tree_;
    Prompter& prompter_;
    PanelHost& host_;
    EditHistory& history_;
    std::function<void(const std::string& key)> focusAdded_;
};

} // namespace mirvane
