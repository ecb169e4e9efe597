#include "mainwindow/PanelFields.h"

#include "document/TestDocument.h"
#include "mainwindow/EditPanels.h"
#include "model/Misc.h"
#include "model/Number.h"
#include "platform/Prompter.h"
#include "platform/TextBridge.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QStringList>
#include <QTextCursor>

namespace mirvane {

namespace {

constexpr char16_t kRowSeparator = u'\x1f'; // no box holds a control character

std::optional<std::int16_t> NumberIn(const QLineEdit* box) { return ReadNumber(ToModel(box->text())); }

QString Decimal(int value) { return QString::number(value); }

const Test& TestOf(const TestDocument& document) { return document.Model(); }

// A one-line box showing a text or a number as it is.
PanelField LineField(DocumentField field, QLineEdit* box, const QString& stepName)
{
    PanelField f{field, 0, {box}, {box}, stepName, {}, {}, {}, {}};
    f.Shown = [box] { return box->text(); };
    f.Show = [box](const QString& text) { box->setText(text); };
    return f;
}

// A many-line box of a question.
PanelField LinesField(DocumentField field, int slot, QPlainTextEdit* box, const QString& stepName)
{
    PanelField f{field, slot, {box}, {box}, stepName, {}, {}, {}, {}};
    f.Shown = [box] { return BoxLines(box); };
    f.Show = [box](const QString& text) {
        box->setPlainText(text);
        box->moveCursor(QTextCursor::End);
    };
    return f;
}

} // namespace

FieldPlace PanelField::PlaceIn(const std::string& key) const
{
    const NodeKind kind = KindOfField(Field);
    return {Field, kind == NodeKind::Division || kind == NodeKind::Question ? key : std::string(), Slot};
}

PanelFields::PanelFields(EditPanels& panels, Prompter& prompter)
{
    EditPanels& p = panels;
    using F = DocumentField;

    PanelField name = LineField(F::TestName, p.TestName, QStringLiteral("изменение названия теста"));
    name.Load = [box = p.TestName](const TestDocument& d, const std::string&) { box->setText(ToQt(TestOf(d).TestName)); };
    name.Read = [box = p.TestName](const FieldValue&, bool) -> FieldValue { return ToModel(box->text()); };
    fields_.push_back(std::move(name));

    PanelField time = LineField(F::TestTime, p.TestTime, QStringLiteral("изменение времени теста"));
    time.Load = [box = p.TestTime](const TestDocument& d, const std::string&) { box->setText(Decimal(TestOf(d).TestTime)); };
    time.Read = [box = p.TestTime, &prompter](const FieldValue& held, bool storing) -> FieldValue {
        const auto minutes = NumberIn(box);
        if (minutes && Test::IsValidTime(*minutes))
            return *minutes;
        if (!storing)
            return held;
        prompter.Notice(panel_text::kBadTestTime);
        return Test::kDefaultTime;
    };
    fields_.push_back(std::move(time));

    QCheckBox* check = p.CheckMissWork;
    PanelField showErrors{F::ShowErrors, 0, {check}, {check}, QStringLiteral("изменение работы над ошибками"),
                          {}, {}, {}, {}};
    showErrors.Load = [check](const TestDocument& d, const std::string&) { check->setChecked(TestOf(d).ShowErrors != 0); };
    showErrors.Read = [check](const FieldValue&, bool) -> FieldValue { return std::int16_t(check->isChecked() ? 1 : 0); };
    showErrors.Shown = [check] { return check->isChecked() ? QStringLiteral("1") : QStringLiteral("0"); };
    showErrors.Show = [check](const QString& value) { check->setChecked(value == QLatin1String("1")); };
    fields_.push_back(std::move(showErrors));

    PanelField logType{F::LogType, 0, {p.Frame}, {}, QStringLiteral("изменение журнала"), {}, {}, {}, {}};
    logType.Inputs.assign(p.OptionLogType.begin(), p.OptionLogType.end());
    auto choose = [&p](int chosen) {
        if (chosen < 0 || chosen >= static_cast<int>(p.OptionLogType.size()))
            p.ClearLogTypeOptions();
        else
            p.OptionLogType[static_cast<std::size_t>(chosen)]->setChecked(true);
    };
    logType.Load = [choose](const TestDocument& d, const std::string&) { choose(TestOf(d).LogType); };
    logType.Read = [&p](const FieldValue& held, bool) -> FieldValue {
        const int chosen = p.ChosenLogType();
        return chosen >= 0 ? FieldValue(static_cast<std::int16_t>(chosen)) : held;
    };
    logType.Shown = [&p] { return Decimal(p.ChosenLogType()); };
    logType.Show = [choose](const QString& value) { choose(value.toInt()); };
    fields_.push_back(std::move(logType));

    PanelField logFile = LineField(F::LogFile, p.TextLogFile, QStringLiteral("изменение файла журнала"));
    logFile.Load = [box = p.TextLogFile](const TestDocument& d, const std::string&) { box->setText(ToQt(TestOf(d).LogFile)); };
    logFile.Read = [box = p.TextLogFile](const FieldValue&, bool) -> FieldValue { return ToModel(box->text()); };
    fields_.push_back(std::move(logFile));

    // Storing the marks sorts them and closes the gaps, so the rows change
    // places: the field is the whole table.
    std::vector<QLineEdit*> rows(p.MarkText.begin(), p.MarkText.end());
    rows.insert(rows.end(), p.MarkScoreText.begin(), p.MarkScoreText.end());
    PanelField marks{F::Mark, 0, {}, {}, QStringLiteral("изменение оценок"), {}, {}, {}, {}};
    marks.Boxes.assign(p.MarkText.begin(), p.MarkText.end());
    marks.Inputs.assign(rows.begin(), rows.end());
    marks.Load = [&p](const TestDocument& d, const std::string&) {
        const Test& test = TestOf(d);
        p.MarkText[0]->setText(ToQt(test.MarkDiscriptionsGet(0)));
        for (int i = 1; i < EditPanels::kMarkRows; ++i) {
            const bool inUse = test.IsMarkInUse(i);
            p.MarkText[i]->setText(inUse ? ToQt(test.MarkDiscriptionsGet(i)) : QString());
            p.MarkScoreText[i - 1]->setText(inUse ? Decimal(test.MarkScoresGet(i)) : QString());
        }
    };
    marks.Read = [&p, &prompter](const FieldValue& held, bool storing) -> FieldValue {
        // Rows with a blank description are dropped and the rows below move up.
        MarkTable table = std::get<MarkTable>(held);
        table[0] = {ToModel(p.MarkText[0]->text()), Test::kFailingMarkScore};
        std::size_t j = 1;
        for (int i = 1; i < EditPanels::kMarkRows; ++i) {
            std::string description = ToModel(p.MarkText[i]->text());
            if (IsBlank(description))
                continue;
            const auto score = NumberIn(p.MarkScoreText[i - 1]);
            if (!score && storing)
                prompter.Notice(panel_text::kBadMarkScore);
            table[j++] = {std::move(description), score.value_or(0)};
        }
        for (; j < EditPanels::kMarkRows; ++j)
            table[j] = {};
        return table;
    };
    marks.Shown = [rows] {
        QStringList texts;
        for (QLineEdit* box : rows)
            texts << box->text();
        return texts.join(QChar(kRowSeparator));
    };
    marks.Show = [rows](const QString& value) {
        const QStringList texts = value.split(QChar(kRowSeparator));
        for (std::size_t i = 0; i < rows.size(); ++i)
            rows[i]->setText(texts.value(static_cast<qsizetype>(i)));
    };
    fields_.push_back(std::move(marks));

    PanelField divisionName = LineField(F::DivisionName, p.TextDivName, QStringLiteral("изменение названия раздела"));
    divisionName.Load = [box = p.TextDivName](const TestDocument& d, const std::string& key) {
        box->setText(ToQt(TrimSpaces(d.DivisionAt(key).Name)));
    };
    divisionName.Read = [box = p.TextDivName](const FieldValue&, bool) -> FieldValue {
        return TrimSpaces(ToModel(box->text()));
    };
    fields_.push_back(std::move(divisionName));

    PanelField count = LineField(F::DivisionCount, p.TextNQ, QStringLiteral("изменение числа вопросов"));
    count.Load = [box = p.TextNQ](const TestDocument& d, const std::string& key) {
        box->setText(Decimal(d.DivisionAt(key).NQ));
    };
    count.Read = [box = p.TextNQ, &prompter](const FieldValue& held, bool storing) -> FieldValue {
        if (const auto number = NumberIn(box))
            return *number;
        if (!storing)
            return held;
        prompter.Notice(panel_text::kBadQuestionCount);
        return std::int16_t(1);
    };
    fields_.push_back(std::move(count));

    PanelField text = LinesField(F::QuestionText, 0, p.TextQuest, QStringLiteral("изменение текста вопроса"));
    text.Load = [box = p.TextQuest](const TestDocument& d, const std::string& key) { SetBoxText(box, d.QuestionAt(key).Q()); };
    text.Read = [box = p.TextQuest](const FieldValue&, bool) -> FieldValue { return BoxText(box); };
    fields_.push_back(std::move(text));

    for (int i = 0; i < EditPanels::kAnswerRows; ++i) {
        QLineEdit* scoreBox = p.TextQMark[static_cast<std::size_t>(i)];
        PanelField score = LineField(F::Score, scoreBox, QStringLiteral("изменение баллов ответа"));
        score.Slot = i;
        score.Load = [scoreBox, i](const TestDocument& d, const std::string& key) {
            const Question& question = d.QuestionAt(key);
            scoreBox->setText(question.IsAnswerPresent(i) ? Decimal(question.AScoreGet(i)) : QString());
        };
        score.Read = [scoreBox](const FieldValue&, bool) -> FieldValue { return NumberIn(scoreBox).value_or(0); };
        fields_.push_back(std::move(score));

        QPlainTextEdit* answerBox = p.TextAnswer[static_cast<std::size_t>(i)];
        PanelField answer = LinesField(F::Answer, i, answerBox, QStringLiteral("изменение ответа"));
        answer.Load = [answerBox, i](const TestDocument& d, const std::string& key) {
            SetBoxText(answerBox, d.QuestionAt(key).AGet(i));
        };
        answer.Read = [answerBox](const FieldValue&, bool storing) -> FieldValue {
            std::string value = BoxText(answerBox);
            if (!value.empty() && TrimBlanksView(value).empty()) {
                if (storing)
                    answerBox->setPlainText(QString()); // a blank answer is emptied in the box too
                value.clear();
            }
            return value;
        };
        fields_.push_back(std::move(answer));
    }
}

std::vector<const PanelField*> PanelFields::Of(NodeKind kind) const
{
    std::vector<const PanelField*> fields;
    for (const PanelField& field : fields_) {
        if (KindOfField(field.Field) == kind)
            fields.push_back(&field);
    }
    return fields;
}

const PanelField* PanelFields::Find(DocumentField field, int slot) const
{
    for (const PanelField& f : fields_) {
        if (f.Field == field && (f.Slot == slot || field == DocumentField::Mark))
            return &f;
    }
    return nullptr;
}

} // namespace mirvane
