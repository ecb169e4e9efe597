#pragma once
// Adding, deleting and moving divisions and questions from the editor: a
// document command performs the operation, the tree follows the document,
// and the selection and the panel go where the user expects them. Adding works on the
// selected node, deleting and moving on the node of the current key; the
// two are the same node after every selection change. Every edit is one step
// of the edit history, made by applying it.
#include "model/NodeKey.h"

#include <QString>

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace mirvane {

class AddItem;
class EditCommand;
class PasteItems;
class EditHistory;
class PanelHost;
class Prompter;
class StructureTree;
struct EditorState;

namespace edit_text {
inline const QString kConfirmCaption = QStringLiteral("Запрос");
inline const QString kDeleteQuestion = QStringLiteral("Вы действительно хотите удалить вопрос?");
inline const QString kDeleteDivision = QStringLiteral("Вы действительно хотите удалить раздел ?");
// Several items selected: one question for all of them.
inline QString DeleteSeveral(std::size_t count)
{
    return QStringLiteral("Вы действительно хотите удалить выбранные элементы (%1)?").arg(count);
}
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
    // What deleting, cutting, copying and moving act on: the current
    // division or question; with several nodes selected, or one that is not
    // the current, every division and question among them (as
    // TestDocument::ItemsAmong gives them). Empty on the parameters and the
    // marks.
    std::vector<std::string> ItemsToEdit() const;
    // Deletes them after asking the user, once for all.
    void DeleteItem();
    // Deletes them without asking, as cutting does.
    void CutItem();
    // The panel keeps showing the moved item with whatever was typed into
    // it; several items move together and stay selected.
    void MoveUp();
    void MoveDown();
    // Puts the division or question at the place it was dragged to, as one
    // step: `division` empty for a division, `index` as TestDocument::MoveTo
    // takes it.
    void MoveTo(const std::string& key, const std::string& division, std::size_t index);
    // Where the typing goes after an add: the new item's first box.
    void FocusAfterAdding(std::function<void(const std::string& key)> focusAdded)
    {
        focusAdded_ = std::move(focusAdded);
    }
    // Adds a pasted division (with its questions) or question as one step;
    // the pasted question, or a pasted division's last question, is
    // selected and shown. Gives the key, empty when nothing was added.
    std::string Paste(std::unique_ptr<AddItem> paste, NodeKind kind);
    // Adds several pasted items as one step; all are selected and the last
    // shown, as a single paste shows it. Gives the first key.
    std::string PasteSeveral(std::unique_ptr<PasteItems> paste);

    // Applies or reverts a step's command, the selection and the panel
    // following: the panel is stored into an item before it goes and the
    // next node shown; an item that comes is selected and shown; a moved
    // item is shown, then moved.
    void Run(EditCommand& command, bool apply);
    // Selects the node and shows its panel, unless it is shown already.
    void Show(const std::string& key);

private:
    std::string Push(const QString& name, std::unique_ptr<EditCommand> command);
    std::string Pasted(const QString& name, std::unique_ptr<EditCommand> paste);
    std::string Added(std::unique_ptr<EditCommand> command, NodeKind kind, const char* stepVerb);
    void Remove(const char* stepVerb);
    void Move(bool down);
    void SelectAndRun(const std::string& key);

    EditorState& state_;
    StructureTree& tree_;
    Prompter& prompter_;
    PanelHost& host_;
    EditHistory& history_;
    std::function<void(const std::string& key)> focusAdded_;
    bool pasting_ = false;
};

} // namespace mirvane
