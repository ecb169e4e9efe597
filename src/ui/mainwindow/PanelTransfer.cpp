#include "mainwindow/PanelTransfer.h"

#include "document/WorkCopy.h"
#include "editor/EditorState.h"
#include "mainwindow/EditPanels.h"
#include "testfile/TestFileWriter.h"

#include <QLabel>

namespace mirvane {

QString QuestionCountCaption(int count)
{
    return QStringLiteral("Всего в разделе ") + QString::number(count) + QStringLiteral(" вопросов");
}

void PanelTransfer::Form2Data()
{
    // Field by field into the document, which tells the tree what changed.
    TestDocument& document = *state_.Document;
    const std::string& key = state_.CurrentKey;
    for (const PanelField* field : fields_.Of(KindOf(key))) {
        const FieldPlace place = field->PlaceIn(key);
        document.SetValue(place, field->Read(document.Value(place), true));
    }
}

template <typename Item> void PanelTransfer::ReadInto(Item& item) const
{
    for (const PanelField* field : fields_.Of(KindOf(state_.CurrentKey))) {
        const FieldPlace place = field->PlaceIn(state_.CurrentKey);
        PutValue(item, place, field->Read(ValueIn(item, place), false));
    }
}

std::string PanelTransfer::WorkAsShown() const
{
    // The panel's values go into copies of what it shows; the document, the
    // boxes and the tree stay as they are.
    const TestDocument& document = *state_.Document;
    const std::string& key = state_.CurrentKey;
    StandIns standIns;
    standIns.Key = key;
    Test header;
    Division division;
    std::optional<Question> question;
    switch (KindOf(key)) {
    case NodeKind::Parameters:
    case NodeKind::Marks:
        CopyTestFields(document.Model(), header);
        ReadInto(header);
        standIns.Header = &header;
        break;
    case NodeKind::Division:
        division.Name = document.DivisionAt(key).Name;
        division.NQ = document.DivisionAt(key).NQ;
        ReadInto(division);
        standIns.DivisionHead = &division;
        break;
    case NodeKind::Question:
        question = document.QuestionAt(key);
        ReadInto(*question);
        standIns.QuestionItem = &*question;
        break;
    default:
        break;
    }
    return WriteTestFile(document.Model(), document.Order(), standIns);
}

void PanelTransfer::StoreShownInto(Test& copy) const
{
    const std::string& key = state_.CurrentKey;
    switch (KindOf(key)) {
    case NodeKind::Parameters:
    case NodeKind::Marks:
        ReadInto(copy);
        break;
    case NodeKind::Division:
        if (copy.Divisions.Contains(key))
            ReadInto(copy.Divisions.Item(key));
        break;
    case NodeKind::Question: {
        const std::string& division = state_.Document->ParentOf(key);
        if (copy.Divisions.Contains(division) && copy.Divisions.Item(division).Questions.Contains(key))
            ReadInto(copy.Divisions.Item(division).Questions.Item(key));
        break;
    }
    default:
        break;
    }
}

void PanelTransfer::Data2Form()
{
    const std::string& key = state_.CurrentKey;
    for (const PanelField* field : fields_.Of(KindOf(key)))
        field->Load(*state_.Document, key);
    if (KindOf(key) == NodeKind::Division)
        panels_.LabelFNQ->setText(
            QuestionCountCaption(static_cast<int>(state_.Document->DivisionAt(key).Questions.Count())));
}

} // namespace mirvane
