#include "mainwindow/PanelTransfer.h"

#include "document/WorkCopy.h"
#include "editor/EditorState.h"
#include "mainwindow/EditPanels.h"
#include "platform/TextBridge.h"
#include "model/Misc.h"
#include "model/Number.h"
#include "platform/Prompter.h"
#include "testfile/TestFileWriter.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>

namespace mirvane {

namespace {

std::optional<std::int16_t> NumberIn(const QLineEdit* box) { return ReadNumber(ToModel(box->text())); }

QString Decimal(int value) { return QString::number(value); }

} // namespace

QString QuestionCountCaption(int count)
{
    return QStringLiteral("Всего в разделе ") + Decimal(count) + QStringLiteral(" вопросов");
}

void PanelTransfer::Form2Data()
{
    // The panel's values go into a copy of what it shows, then field by
    // field into the document, which tells the tree what changed.
    TestDocument& document = *state_.Document;
    const std::string& key = state_.CurrentKey;
    switch (KindOf(key)) {
    case NodeKind::Parameters:
    case NodeKind::Marks: {
        Test header;
        CopyTestFields(document.Model(), header);
        if (KindOf(key) == NodeKind::Parameters)
            StoreParameters(header, false);
        else
            StoreMarks(header, false);
        document.SetHeader(header);
        break;
    }
    case NodeKind::Division: {
        Division head;
        head.Name = document.DivisionAt(key).Name;
        head.NQ = document.DivisionAt(key).NQ;
        StoreDivision(head, false);
        document.SetDivisionHead(key, head);
        break;
    }
    case NodeKind::Question: {
        Question question = document.QuestionAt(key);
        StoreQuestion(question, false);
        document.SetQuestion(key, question);
        break;
    }
    default:
        break;
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
        if (KindOf(key) == NodeKind::Parameters)
            StoreParameters(header, true);
        else
            StoreMarks(header, true);
        standIns.Header = &header;
        break;
    case NodeKind::Division:
        division.Name = document.DivisionAt(key).Name;
        division.NQ = document.DivisionAt(key).NQ;
        StoreDivision(division, true);
        standIns.DivisionHead = &division;
        break;
    case NodeKind::Question:
        question = document.QuestionAt(key);
        StoreQuestion(*question, true);
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
        StoreParameters(copy, true);
        break;
    case NodeKind::Marks:
        StoreMarks(copy, true);
        break;
    case NodeKind::Division:
        if (copy.Divisions.Contains(key))
            StoreDivision(copy.Divisions.Item(key), true);
        break;
    case NodeKind::Question: {
        const std::string& division = state_.Document->ParentOf(key);
        if (copy.Divisions.Contains(division) && copy.Divisions.Item(division).Questions.Contains(key))
            StoreQuestion(copy.Divisions.Item(division).Questions.Item(key), true);
        break;
    }
    default:
        break;
    }
}

void PanelTransfer::Data2Form()
{
    switch (KindOf(state_.CurrentKey)) {
    case NodeKind::Parameters:
        LoadParameters();
        break;
    case NodeKind::Marks:
        LoadMarks();
        break;
    case NodeKind::Division:
        LoadDivision();
        break;
    case NodeKind::Question:
        LoadQuestion();
        break;
    default:
        break;
    }
}

void PanelTransfer::StoreParameters(Test& test, bool quietly) const
{
    test.TestName = ToModel(panels_.TestName->text());
    const auto time = NumberIn(panels_.TestTime);
    if (time && Test::IsValidTime(*time)) {
        test.TestTime = *time;
    } else if (!quietly) {
        test.TestTime = Test::kDefaultTime;
        prompter_.Notice(panel_text::kBadTestTime);
    }
    test.ShowErrors = panels_.CheckMissWork->isChecked() ? 1 : 0;
    const int logType = panels_.ChosenLogType();
    if (logType >= 0)
        test.LogType = static_cast<std::int16_t>(logType);
    test.LogFile = ToModel(panels_.TextLogFile->text());
}

void PanelTransfer::StoreMarks(Test& test, bool quietly) const
{
    // Rows with a blank description are dropped and the rows below move up.
    test.MarkDiscriptionsSet(0, ToModel(panels_.MarkText[0]->text()));
    test.MarkScoresSet(0, Test::kFailingMarkScore);
    int j = 1;
    for (int i = 1; i < EditPanels::kMarkRows; ++i) {
        const std::string description = ToModel(panels_.MarkText[i]->text());
        if (IsBlank(description))
            continue;
        test.MarkDiscriptionsSet(j, description);
        if (const auto score = NumberIn(panels_.MarkScoreText[i - 1])) {
            test.MarkScoresSet(j, *score);
        } else {
            test.MarkScoresSet(j, 0);
            if (!quietly)
                prompter_.Notice(panel_text::kBadMarkScore);
        }
        ++j;
    }
    for (; j < EditPanels::kMarkRows; ++j) {
        test.MarkDiscriptionsSet(j, std::string());
        test.MarkScoresSet(j, 0);
    }
}

void PanelTransfer::StoreDivision(Division& division, bool quietly) const
{
    division.Name = TrimSpaces(ToModel(panels_.TextDivName->text()));
    if (const auto count = NumberIn(panels_.TextNQ)) {
        division.NQ = *count;
    } else if (!quietly) {
        division.NQ = 1;
        prompter_.Notice(panel_text::kBadQuestionCount);
    }
}

void PanelTransfer::StoreQuestion(Question& question, bool quietly) const
{
    question.QSet(BoxText(panels_.TextQuest));
    for (int i = 0; i < EditPanels::kAnswerRows; ++i) {
        std::string answer = BoxText(panels_.TextAnswer[i]);
        if (!answer.empty() && TrimBlanksView(answer).empty()) {
            if (!quietly)
                panels_.TextAnswer[i]->setPlainText(QString()); // a blank answer is emptied in the box too
            answer.clear();
        }
        question.AScoreSet(i, NumberIn(panels_.TextQMark[i]).value_or(0));
        question.ASet(i, std::move(answer));
    }
}

void PanelTransfer::LoadParameters()
{
    const Test& test = state_.Document->Model();
    panels_.TestName->setText(ToQt(test.TestName));
    panels_.TestTime->setText(Decimal(test.TestTime));
    panels_.CheckMissWork->setChecked(test.ShowErrors != 0);
    panels_.ClearLogTypeOptions();
    if (test.LogType >= 0 && test.LogType <= 2)
        panels_.OptionLogType[test.LogType]->setChecked(true);
    panels_.TextLogFile->setText(ToQt(test.LogFile));
}

void PanelTransfer::LoadMarks()
{
    const Test& test = state_.Document->Model();
    panels_.MarkText[0]->setText(ToQt(test.MarkDiscriptionsGet(0)));
    for (int i = 1; i < EditPanels::kMarkRows; ++i) {
        if (test.IsMarkInUse(i)) {
            panels_.MarkText[i]->setText(ToQt(test.MarkDiscriptionsGet(i)));
            panels_.MarkScoreText[i - 1]->setText(Decimal(test.MarkScoresGet(i)));
        } else {
            panels_.MarkText[i]->setText(QString());
            panels_.MarkScoreText[i - 1]->setText(QString());
        }
    }
}

void PanelTransfer::LoadDivision()
{
    const Division& division = state_.Document->DivisionAt(state_.CurrentKey);
    panels_.TextDivName->setText(ToQt(TrimSpaces(division.Name)));
    panels_.TextNQ->setText(Decimal(division.NQ));
    panels_.LabelFNQ->setText(QuestionCountCaption(static_cast<int>(division.Questions.Count())));
}

void PanelTransfer::LoadQuestion()
{
    const std::string& key = state_.CurrentKey;
    const Question& question = state_.Document->QuestionAt(key);
    SetBoxText(panels_.TextQuest, question.Q());
    for (int i = 0; i < EditPanels::kAnswerRows; ++i) {
        panels_.TextQMark[i]->setText(question.IsAnswerPresent(i) ? Decimal(question.AScoreGet(i)) : QString());
        SetBoxText(panels_.TextAnswer[i], question.AGet(i));
    }
}

} // namespace mirvane
