#pragma once
// Adding, deleting and moving divisions and questions from the editor: the
// document performs the operation, the tree follows it, and the selection
// and the panel go where the user expects them. Adding works on the
// selected node, deleting and moving on the node of the current key; the
// two are the same node after every selection change.
#include <QString>

#include <string>

namespace mirvane {

class PanelHost;
class Prompter;
class StructureTree;
struct DocumentChange;
struct EditorState;

namespace edit_text {
inline const QString kConfirmCaption = QStringLiteral("Запрос");
inline const QString kDeleteQuestion = QStringLiteral("Вы действительно хотите удалить вопрос?");
inline const QString kDeleteDivision = QStringLiteral("Вы действительно хотите удалить раздел ?");
} // namespace edit_text

class StructuralEdits {
public:
    StructuralEdits(EditorState& state, StructureTree& tree, Prompter& prompter, PanelHost& host)
        : state_(state), tree_(tree), prompter_(prompter), host_(host)
    {
    }

    // Each returns the new item's key, or an empty key when nothing was
    // added; the new item is selected and its panel shown.
    std::string AddDivision();
    std::string AddQuestion();
    // `confirm` asks the user first; cutting deletes without asking.
    void DeleteItem(bool confirm);
    // The panel keeps showing the moved item with whatever was typed into it.
    void MoveUp();
    void MoveDown();

private:
    std::string Added(const DocumentChange& change);
    void Move(bool down);
    void SelectAndRun(const std::string& key);

    EditorState& state_;
    StructureTree& tree_;
    Prompter& prompter_;
    PanelHost& host_;
};

} // namespace mirvane
