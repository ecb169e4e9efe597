#include "commands/ClipboardCommands.h"

#include "clipboard/ClipboardRecord.h"
#include "document/EditCommand.h"
#include "editor/EditorState.h"
#include "editor/PanelTextBox.h"
#include "commands/StructuralEdits.h"
#include "tree/StructureTree.h"
#include "platform/Clipboard.h"
#include "platform/TextBridge.h"

#include <QTreeView>
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

namespace {

std::string RecordOf(const TestDocument& document, const std::string& key)
{
    if (KindOf(key) == NodeKind::Question)
        return BuildQuestionRecord(document.QuestionAt(key));
    return BuildDivisionRecord(document.DivisionAt(key), document.QuestionKeys(key));
}

Question QuestionOf(const ClipboardRecord& record)
{
    Question question;
    FillQuestion(question, record.Questions.front());
    return question;
}

NewDivision DivisionOf(const ClipboardRecord& record)
{
    NewDivision division;
    if (record.Name)
        division.Name = *record.Name;
    if (record.NQ)
        division.Count = *record.NQ;
    // Every question but the last passes through the panel on its way, as
    // the one after it would be added behind it; the last is shown in the
    // panel.
    for (std::size_t i = 0; i < record.Questions.size(); ++i) {
        Question& question = division.Questions.emplace_back();
        FillQuestion(question, record.Questions[i]);
        if (i + 1 < record.Questions.size())
            PassThroughPanel(question);
    }
    return division;
}

} // namespace

bool ClipboardCommands::CopyItem()
{
    // The items as the model holds them: the panel is not stored for a copy.
    const std::vector<std::string> items = edits_.ItemsToEdit();
    if (items.empty())
        return false;
    const TestDocument& document = *state_.Document;
    std::vector<std::string> records;
    records.reserve(items.size());
    for (const std::string& key : items)
        records.push_back(RecordOf(document, key));
    clipboard_.SetText(ToQt(records.size() == 1 ? records.front() : BuildListRecord(records)));
    return true;
}

void ClipboardCommands::PasteHere()
{
    if (PanelTextBox* box = FocusedBox()) {
        box->InsertAsTyped(clipboard_.Text()); // a record is refused by the box
        return;
    }
    if (!TreeFocused())
        return;
    const std::vector<ClipboardRecord> records = ParseClipboardRecords(ToModel(clipboard_.Text()));
    if (records.size() > 1)
        PasteSeveral(records);
    else if (records.size() == 1 && records.front().RecordKind == ClipboardRecord::Kind::Question)
        PasteQuestion(records.front());
    else if (records.size() == 1)
        PasteDivision(records.front());
}

void ClipboardCommands::PasteQuestion(const ClipboardRecord& record)
{
    // The parameters or the marks selected: nothing to paste into.
    edits_.Paste(std::make_unique<AddItem>(tree_.SelectedKey(), QuestionOf(record)), NodeKind::Question);
}

void ClipboardCommands::PasteDivision(const ClipboardRecord& record)
{
    edits_.Paste(std::make_unique<AddItem>(tree_.SelectedKey(), DivisionOf(record)), NodeKind::Division);
}

void ClipboardCommands::PasteSeveral(const std::vector<ClipboardRecord>& records)
{
    std::vector<PasteItems::Item> items;
    items.reserve(records.size());
    for (const ClipboardRecord& record : records) {
        if (record.RecordKind == ClipboardRecord::Kind::Question)
            items.emplace_back(QuestionOf(record));
        else
            items.emplace_back(DivisionOf(record));
    }
    edits_.PasteSeveral(std::make_unique<PasteItems>(tree_.SelectedKey(), std::move(items)));
}

} // namespace mirvane
