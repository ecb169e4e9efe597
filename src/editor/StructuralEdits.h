#pragma once
// Adding, deleting and moving divisions and questions. Each works on the
// selected node (the node of the current key) and keeps the tree and the
// model in agreement: the tree holds the document's order, the collections
// hold the items. Moves change only the tree.
#include <QString>

#include <string>

namespace mirvane {

class frmMain;

namespace edit_text {
inline const QString kConfirmCaption = QStringLiteral("Запрос");
inline const QString kDeleteQuestion = QStringLiteral("Вы действительно хотите удалить вопрос?");
inline const QString kDeleteDivision = QStringLiteral("Вы действительно хотите удалить раздел ?");
inline const QString kNewDivisionName = QStringLiteral("Новый раздел");
} // namespace edit_text

class StructuralEdits {
public:
    explicit StructuralEdits(frmMain& window) : window_(window) {}

    // Each returns the new item's key, or an empty key when nothing was added.
    std::string AddDivision();
    std::string AddQuestion();
    void DeleteItem(bool confirm);
    void MoveUp();
    void MoveDown();

private:
    void DeleteQuestion(bool confirm);
    void DeleteDivision(bool confirm);
    void Move(bool down);
    void MoveQuestion(bool down);
    void MoveDivision(bool down);
    void SelectAndRun(const std::string& key);

    frmMain& window_;
};

} // namespace mirvane
