#include "commands/ClipboardCommands.h"

#include "clipboard/ClipboardRecord.h"
#include "editor/EditorState.h"
#include "editor/PanelHost.h"
#include "editor/PanelTextBox.h"
#include "commands/StructuralEdits.h"
#include "tree/StructureTree.h"
#include "platform/Clipboard.h"
#include "platform/TextBridge.h"

#include <QTreeWidget>
#include <QWidget>

namespace mirvane {

PanelTextBox* ClipboardCommands::FocusedBox() const
{
    QWidget* focus = mainWindow_.focusWidget();
    if (!focus || !pane_.isAncestorOf(focus) || !focus->isVisible())
        return nullptr;
    return dynamic_cast<PanelTextBox*>(focus);
}

bool ClipboardCommands::TreeFocused() const
{
    QWidget* focus = mainWindow_.focusWidget();
    return focus && (focus == tree_.Widget() || tree_.Widget()->isAncestorOf(focus));
}

void ClipboardCommands::CopySelection()
{
    if (PanelTextBox* box = FocusedBox())
        clipboard_.SetText(box->SelectedText()); // an empty selection puts empty text
    else if (TreeFocused())
        CopyItem();
}

void ClipboardCommands::CutSelection()
{
    if (PanelTextBox* box = FocusedBox()) {
        clipboard_.SetText(box->SelectedText());
        box->InsertAsTyped(QString());
    } else if (TreeFocused() && CopyItem()) {
        edits_.CutItem();
    }
}

bool ClipboardCommands::CopyItem()
{
    // The item as the model holds it: the panel is not stored for a copy.
    const std::string& key = state_.CurrentKey;
    const TestDocument& document = *state_.Document;
    switch (KindOf(key)) {
    case NodeKind::Question:
        clipboard_.SetText(ToQt(BuildQuestionRecord(document.QuestionAt(key))));
        return true;
    case NodeKind::Division:
        clipboard_.SetText(ToQt(BuildDivisionRecord(document.DivisionAt(key), document.QuestionKeys(key))));
        return true;
    default:
        return false;
    }
}

void ClipboardCommands::PasteHere()
{
    if (PanelTextBox* box = FocusedBox()) {
        box->InsertAsTyped(clipboard_.Text()); // a record is refused by the box
        return;
    }
    if (!TreeFocused())
        return;
    const ClipboardRecord record = ParseClipboardRecord(ToModel(clipboard_.Text()));
    if (record.RecordKind == ClipboardRecord::Kind::Question)
        PasteQuestion(record);
    else if (record.RecordKind == ClipboardRecord::Kind::Division)
        PasteDivision(record);
}

void ClipboardCommands::PasteQuestion(const ClipboardRecord& record)
{
    TestDocument& document = *state_.Document;
    const DocumentChange change = document.AddQuestion(tree_.SelectedKey());
    if (!change)
        return; // the parameters or the marks: nothing to paste into
    FillQuestion(document.QuestionAt(change.Key), record.Questions.front());
    tree_.Apply(change, document);
    ShowPasted(change.Key);
    edits_.RecordPasted(change.Key);
}

void ClipboardCommands::PasteDivision(const ClipboardRecord& record)
{
    TestDocument& document = *state_.Document;
    const DocumentChange added = document.AddDivision(tree_.SelectedKey());
    Division& division = document.DivisionAt(added.Key);
    if (record.Name)
        division.Name = *record.Name;
    if (record.NQ)
        division.NQ = *record.NQ;
    tree_.Apply(added, document);
    // Each question goes after the one pasted before it. Every question but
    // the last passes through the panel on its way, as the one after it is
    // added; the last is shown in the panel.
    std::string last = added.Key;
    for (std::size_t i = 0; i < record.Questions.size(); ++i) {
        const DocumentChange change = document.AddQuestion(last);
        Question& question = document.QuestionAt(change.Key);
        FillQuestion(question, record.Questions[i]);
        if (i + 1 < record.Questions.size())
            PassThroughPanel(question);
        tree_.Apply(change, document);
        last = change.Key;
    }
    ShowPasted(last);
    edits_.RecordPasted(added.Key); // the division with its questions is one step
}

void ClipboardCommands::ShowPasted(const std::string& key)
{
    tree_.Select(key);
    host_.ShowSelectedNode();
}

} // namespace mirvane
