#include "mainwindow/FieldEditing.h"

#include "platform/TextBridge.h"
#include "mainwindow/EditPanels.h"
#include "mainwindow/SpinButtons.h"
#include "model/Misc.h"
#include "model/Test.h"
#include "model/Number.h"
#include "model/StorableText.h"
#include "model/Utf8.h"
#include "commands/DocumentCommands.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

namespace mirvane {

std::optional<QString> SpinStep(SpinKind kind, const QString& text, bool up)
{
    const auto value = ReadNumber(ToModel(text));
    if (!value)
        return kind == SpinKind::TestTime ? QString::number(Test::kShortestTime) : QStringLiteral("0");
    const int result = *value + (up ? 1 : -1);
    if (result < -32768 || result > 32767)
        return std::nullopt;
    switch (kind) {
    case SpinKind::TestTime:
        if (up && result > Test::kLongestTime)
            return QString::number(Test::kLongestTime);
        if (!up && result < Test::kShortestTime)
            return QString::number(Test::kShortestTime);
        break;
    case SpinKind::QuestionCount:
        if (result < 0)
            return QStringLiteral("0");
        break;
    case SpinKind::Free:
        break;
    }
    return QString::number(result);
}

QString MinScoreCaption(const QStringList& thresholds)
{
    int smallest = 32000;
    int smallestIndex = -1;
    for (int i = 0; i < thresholds.size(); ++i) {
        const auto value = ReadNumber(ToModel(thresholds[i]));
        if (value && *value < smallest) { // on a tie the lower index wins
            smallest = *value;
            smallestIndex = i;
        }
    }
    return QStringLiteral("< ") + (smallestIndex < 0 ? QStringLiteral("32000") : thresholds[smallestIndex]);
}

FieldEditing::FieldEditing(EditPanels& panels, CaptionSetter setCaption, StatusSetter setStatus, QObject* parent)
    : QObject(parent), panels_(panels), setCaption_(std::move(setCaption)),
      setStatus_(std::move(setStatus))
{
    for (QLineEdit* box : panels_.Pane()->findChildren<QLineEdit*>())
        connect(box, &QLineEdit::textChanged, this, [this, box](const QString& text) { MarkUnstorable(box, text); });
    for (QPlainTextEdit* box : panels_.Pane()->findChildren<QPlainTextEdit*>())
        connect(box, &QPlainTextEdit::textChanged, this, [this, box] { MarkUnstorable(box, box->toPlainText()); });
    EditPanels& p = panels_;
    connect(p.TestName, &QLineEdit::textChanged, this, [this] { TitleEdited(); });
    connect(p.TextQuest, &QPlainTextEdit::textChanged, this, [this] { QuestionTextEdited(); });
    for (int i = 0; i < EditPanels::kAnswerRows; ++i)
        connect(p.TextAnswer[i], &QPlainTextEdit::textChanged, this, [this, i] { AnswerEdited(i); });
    for (int i = 0; i < EditPanels::kThresholdRows; ++i) {
        connect(p.MarkScoreText[i], &QLineEdit::textChanged, this, [this, i] { MarkScoreEdited(i); });
        ConnectSpin(p.UpDownBalls[i], p.MarkScoreText[i], SpinKind::Free);
    }
    for (int i = 0; i < EditPanels::kAnswerRows; ++i)
        ConnectSpin(p.UpDownQMark[i], p.TextQMark[i], SpinKind::Free);
    ConnectSpin(p.UpDownTestTime, p.TestTime, SpinKind::TestTime);
    ConnectSpin(p.UpDownNQ, p.TextNQ, SpinKind::QuestionCount);
}

void FieldEditing::MarkUnstorable(QWidget* box, const QString& text)
{
    const std::u32string lost = UnstorableCharacters(ToModel(text));
    const bool marked = !lost.empty();
    if (box->property("unstorable").toBool() != marked) {
        box->setProperty("unstorable", marked);
        box->setStyleSheet(marked ? QStringLiteral("background-color: #ffe4a0;") : QString());
    }
    if (marked) {
        setStatus_(UnstorableNotice(lost));
        namedInStatus_ = box;
    } else if (namedInStatus_ == box) {
        setStatus_(QString());
        namedInStatus_ = nullptr;
    }
}

void FieldEditing::ConnectSpin(QObject* spin, QLineEdit* box, SpinKind kind)
{
    auto* buttons = static_cast<SpinButtons*>(spin);
    auto step = [box, kind](bool up) {
        if (const auto text = SpinStep(kind, box->text(), up))
            box->setText(*text);
    };
    connect(buttons, &SpinButtons::UpClick, this, [step] { step(true); });
    connect(buttons, &SpinButtons::DownClick, this, [step] { step(false); });
}

void FieldEditing::TitleEdited() { setCaption_(panels_.TestName->text()); }

void FieldEditing::QuestionTextEdited() { Rewrap(panels_.TextQuest); }

void FieldEditing::AnswerEdited(int index) { Rewrap(panels_.TextAnswer[index]); }

void FieldEditing::MarkScoreEdited(int)
{
    EditPanels& p = panels_;
    QStringList thresholds;
    for (QLineEdit* box : p.MarkScoreText)
        thresholds << box->text();
    p.LabelMinScore->setText(MinScoreCaption(thresholds));
}

namespace {

// The box counts a line break as one character, the model's text as two
// (CR LF); the rewrap counts Unicode characters.
std::size_t ModelCaret(const QString& boxText, int boxCaret)
{
    const QString before = boxText.left(boxCaret);
    return Utf8Length(ToModel(before)) + static_cast<std::size_t>(before.count(QLatin1Char('\n')));
}

int BoxCaret(const std::string& modelText, std::size_t modelCaret)
{
    return static_cast<int>(ToBoxLines(Utf8Prefix(modelText, modelCaret)).size());
}

} // namespace

void FieldEditing::Rewrap(QPlainTextEdit* box)
{
    const QString boxText = BoxLines(box);
    const WrapResult wrapped = WrapEditText(FromBoxLines(boxText), ModelCaret(boxText, box->textCursor().position()));
    if (!wrapped.Changed)
        return;
    // Replacing the text raises this change reaction again, which then finds
    // nothing to change: a second pass over a rewrapped text changes nothing.
    QTextCursor all(box->document());
    all.select(QTextCursor::Document);
    const QString replacement = ToBoxLines(wrapped.Text);
    all.insertText(replacement);
    QTextCursor caret = box->textCursor();
    caret.setPosition(std::min(BoxCaret(wrapped.Text, wrapped.Caret), static_cast<int>(replacement.size())));
    box->setTextCursor(caret);
}

} // namespace mirvane
