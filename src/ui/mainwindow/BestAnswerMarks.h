#pragma once
// The right answer at a glance in the question panel: the answers with the
// best score have their score box and text box tinted, and a screen reader
// reads them as "правильный". A blank score shows a grey 0, which is what it
// counts as; nothing is stored, and the panel's layout stays.
#include <QObject>
#include <QPalette>

#include <array>

namespace mirvane {

class EditPanels;

class BestAnswerMarks : public QObject {
    Q_OBJECT
public:
    explicit BestAnswerMarks(EditPanels& panels);

    // Marks the rows again from what the boxes hold; every change of a score
    // or an answer text runs it.
    void Refresh();

private:
    EditPanels& panels_;
    QPalette plain_;
    QPalette best_;
};

} // namespace mirvane
