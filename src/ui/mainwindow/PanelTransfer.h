#pragma once
// Moves values between the editing panel and the model item named by the
// current key. Storing is where typed values are read, checked and corrected,
// with a message for the test time, the question count and a mark score.
#include <QString>

#include <string>

namespace mirvane {

class Division;
class EditPanels;
class Question;
class Test;
class Prompter;
struct EditorState;

namespace panel_text {
inline const QString kBadTestTime =
    QStringLiteral("Попытка присвоить недопустимое значение времени теста.\r\n Исправлено на 30 минут.");
inline const QString kBadMarkScore = QStringLiteral("Неверное значение оценки");
inline const QString kBadQuestionCount = QStringLiteral("Неверное число задаваемых вопросов\r\nИсправлено на 1");
} // namespace panel_text

// "Всего в разделе N вопросов": the noun keeps its form whatever the number.
QString QuestionCountCaption(int count);

class PanelTransfer {
public:
    PanelTransfer(EditorState& state, EditPanels& panels, Prompter& prompter)
        : state_(state), panels_(panels), prompter_(prompter)
    {
    }

    // Stores the panel into the item of the current key.
    void Form2Data();
    // Fills the panel from the item of the current key.
    void Data2Form();

    // The test file of the work as the panel shows it: the document with the
    // panel's values in a copy of the item shown. Nothing is checked,
    // corrected or told, and the document, the boxes and the tree stay as
    // they are; a bad number keeps the document's value (a mark's score is
    // then 0).
    std::string WorkAsShown() const;
    // The same values put into `copy`, a copy of the document holding the
    // current node: the test as the user sees it, for a check.
    void StoreShownInto(Test& copy) const;

private:
    // Each stores the panel into `target`; `quietly`, a bad value keeps the
    // target's and nothing is told or changed on screen.
    void StoreParameters(Test& target, bool quietly) const;
    void StoreMarks(Test& target, bool quietly) const;
    void StoreDivision(Division& target, bool quietly) const;
    void StoreQuestion(Question& target, bool quietly) const;
    void LoadParameters();
    void LoadMarks();
    void LoadDivision();
    void LoadQuestion();

    EditorState& state_;
    EditPanels& panels_;
    Prompter& prompter_;
};

} // namespace mirvane
