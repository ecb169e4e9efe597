#pragma once
// Moves values between the editing panel and the model item named by the
// current key, field by field of the panel's table. Storing is where typed
// values are read, checked and corrected, with a message for the test time,
// the question count and a mark score.
#include "mainwindow/PanelFields.h"

#include <QString>

#include <string>

namespace mirvane {

class Division;
class EditPanels;
class PanelFields;
class Question;
class Test;
struct EditorState;


// "Всего в разделе N вопросов": the noun keeps its form whatever the number.
QString QuestionCountCaption(int count);

class PanelTransfer {
public:
    PanelTransfer(EditorState& state, EditPanels& panels, const PanelFields& fields)
        : state_(state), panels_(panels), fields_(fields)
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
    // The panel's values put into `item`, a copy of the current node's.
    template <typename Item> void ReadInto(Item& item) const;

    EditorState& state_;
    EditPanels& panels_;
    const PanelFields& fields_;
};

} // namespace mirvane
