#pragma once
// The editing panel's fields, each once: the field of the test it shows, its
// boxes, the name of its step in the edit history, how it is filled from the
// document and how its value is read back. Moving values between the panel
// and the test, recording what is typed and showing a find hit all work from
// this one table.
#include "document/FieldValue.h"

#include <QString>

#include <functional>
#include <string>
#include <vector>

class QWidget;

namespace mirvane {

class EditPanels;
class Prompter;
class TestDocument;

namespace panel_text {
inline const QString kBadTestTime =
    QStringLiteral("Попытка присвоить недопустимое значение времени теста.\r\n Исправлено на 30 минут.");
inline const QString kBadMarkScore = QStringLiteral("Неверное значение оценки");
inline const QString kBadQuestionCount = QStringLiteral("Неверное число задаваемых вопросов\r\nИсправлено на 1");
} // namespace panel_text

struct PanelField {
    DocumentField Field = DocumentField::None;
    int Slot = 0; // an answer's or a score's, from 0
    // The boxes that show the field; the first takes the focus. The marks
    // have one per row, from 0.
    std::vector<QWidget*> Boxes;
    // Every control whose change changes the field.
    std::vector<QWidget*> Inputs;
    // What a step of the field did, to follow "Отменить" in the menu.
    QString StepName;
    // Fills the boxes from the item of `key`.
    std::function<void(const TestDocument& document, const std::string& key)> Load;
    // What the boxes hold as the field's value; `held` is the item's value
    // now. When `storing`, a bad number is corrected and the user told, and a
    // blank answer is emptied in its box; else nothing is told or changed on
    // screen, and a bad number keeps `held` (a mark's score becomes 0).
    std::function<FieldValue(const FieldValue& held, bool storing)> Read;
    // The boxes' texts as a step keeps them, and putting them back.
    std::function<QString()> Shown;
    std::function<void(const QString&)> Show;

    // The field of the item of `key` (not used for the test's own fields).
    FieldPlace PlaceIn(const std::string& key) const;
};

class PanelFields {
public:
    PanelFields(EditPanels& panels, Prompter& prompter);

    const std::vector<PanelField>& All() const { return fields_; }
    // The fields of a node of the kind, in the order they are stored.
    std::vector<const PanelField*> Of(NodeKind kind) const;
    // The panel's field that shows the field and slot, or null.
    const PanelField* Find(DocumentField field, int slot) const;

private:
    std::vector<PanelField> fields_;
};

} // namespace mirvane
