#include "mainwindow/FieldHistory.h"

#include "editor/EditHistory.h"
#include "editor/EditorState.h"
#include "commands/StructuralEdits.h"
#include "mainwindow/EditPanels.h"
#include "platform/TextBridge.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTextCursor>
#include <QUndoCommand>

#include <utility>

namespace mirvane {

namespace {

constexpr int kFieldStepId = 1;
constexpr char16_t kRowSeparator = u'\x1f'; // no box holds a control character

class FieldStep : public QUndoCommand {
public:
    FieldStep(FieldHistory& fields, const QString& name, std::string key, int field, QString before, QString after,
              int run)
        : fields_(fields), key_(std::move(key)), field_(field), before_(std::move(before)), after_(std::move(after)),
          run_(run)
    {
        setText(name);
    }

    int id() const override { return kFieldStepId; }
    void undo() override { fields_.Restore(key_, field_, before_); }
    void redo() override
    {
        if (done_)
            fields_.Restore(key_, field_, after_);
        done_ = true;
    }
    bool mergeWith(const QUndoCommand* other) override
    {
        const auto* next = static_cast<const FieldStep*>(other);
        if (next->key_ != key_ || next->field_ != field_ || next->run_ != run_)
            return false;
        after_ = next->after_;
        setObsolete(after_ == before_); // typed and taken back: no step at all
        return true;
    }

private:
    FieldHistory& fields_;
    std::string key_;
    int field_;
    QString before_;
    QString after_;
    int run_;
    bool done_ = false;
};

void ShowBoxLines(QPlainTextEdit* box, const QString& text)
{
    box->setPlainText(text);
    box->moveCursor(QTextCursor::End);
}

} // namespace

FieldHistory::FieldHistory(EditPanels& panels, EditorState& state, EditHistory& history, StructuralEdits& edits,
                           QObject* parent)
    : QObject(parent), panels_(panels), state_(state), history_(history), edits_(edits)
{
    EditPanels& p = panels_;
    auto line = [this](QLineEdit* box, const QString& name) {
        Add(box, name, [box] { return box->text(); }, [box](const QString& text) { box->setText(text); });
    };
    auto lines = [this](QPlainTextEdit* box, const QString& name) {
        Add(box, name, [box] { return BoxLines(box); }, [box](const QString& text) { ShowBoxLines(box, text); });
    };
    line(p.TestName, QStringLiteral("изменение названия теста"));
    line(p.TestTime, QStringLiteral("изменение времени теста"));
    Add(p.CheckMissWork, QStringLiteral("изменение работы над ошибками"),
        [box = p.CheckMissWork] { return box->isChecked() ? QStringLiteral("1") : QStringLiteral("0"); },
        [box = p.CheckMissWork](const QString& value) { box->setChecked(value == QLatin1String("1")); });
    Add(p.Frame, QStringLiteral("изменение журнала"), [this] { return QString::number(panels_.ChosenLogType()); },
        [this](const QString& value) {
            const int chosen = value.toInt();
            if (chosen < 0 || chosen >= static_cast<int>(panels_.OptionLogType.size()))
                panels_.ClearLogTypeOptions();
            else
                panels_.OptionLogType[static_cast<std::size_t>(chosen)]->setChecked(true);
        });
    line(p.TextLogFile, QStringLiteral("изменение файла журнала"));
    // Storing the marks sorts them and closes the gaps, so the rows change
    // places: a step keeps the whole table.
    std::vector<QLineEdit*> marks(p.MarkText.begin(), p.MarkText.end());
    marks.insert(marks.end(), p.MarkScoreText.begin(), p.MarkScoreText.end());
    Add(p.MarkText[0], QStringLiteral("изменение оценок"),
        [marks] {
            QStringList texts;
            for (QLineEdit* box : marks)
                texts << box->text();
            return texts.join(QChar(kRowSeparator));
        },
        [marks](const QString& value) {
            const QStringList texts = value.split(QChar(kRowSeparator));
            for (std::size_t i = 0; i < marks.size(); ++i)
                marks[i]->setText(texts.value(static_cast<qsizetype>(i)));
        },
        marks);
    line(p.TextDivName, QStringLiteral("изменение названия раздела"));
    line(p.TextNQ, QStringLiteral("изменение числа вопросов"));
    lines(p.TextQuest, QStringLiteral("изменение текста вопроса"));
    for (QPlainTextEdit* box : p.TextAnswer)
        lines(box, QStringLiteral("изменение ответа"));
    for (QLineEdit* box : p.TextQMark)
        line(box, QStringLiteral("изменение баллов ответа"));
}

void FieldHistory::Add(QWidget* widget, const QString& stepName, std::function<QString()> get,
                       std::function<void(const QString&)> set, const std::vector<QLineEdit*>& rows)
{
    const int field = static_cast<int>(fields_.size());
    known_.push_back(get());
    fields_.push_back({widget, stepName, std::move(get), std::move(set)});
    auto changed = [this, field] { Changed(field); };
    for (QLineEdit* box : rows)
        connect(box, &QLineEdit::textChanged, this, changed);
    if (!rows.empty())
        return;
    if (auto* line = qobject_cast<QLineEdit*>(widget))
        connect(line, &QLineEdit::textChanged, this, changed);
    else if (auto* text = qobject_cast<QPlainTextEdit*>(widget))
        connect(text, &QPlainTextEdit::textChanged, this, changed);
    else if (auto* check = qobject_cast<QCheckBox*>(widget))
        connect(check, &QCheckBox::toggled, this, changed);
    else
        for (QRadioButton* option : panels_.OptionLogType)
            connect(option, &QRadioButton::toggled, this, changed);
}

void FieldHistory::Changed(int field)
{
    const QString value = fields_[static_cast<std::size_t>(field)].get();
    QString& known = known_[static_cast<std::size_t>(field)];
    if (value == known)
        return;
    const QString before = std::exchange(known, value);
    if (quiet_ > 0 || history_.Replaying())
        return;
    history_.Record(new FieldStep(*this, fields_[static_cast<std::size_t>(field)].stepName, state_.CurrentKey, field,
                                  before, value, history_.TypingRun()));
}

void FieldHistory::Quietly(const std::function<void()>& fill)
{
    ++quiet_;
    try {
        fill();
    } catch (...) {
        --quiet_;
        throw;
    }
    --quiet_;
}

void FieldHistory::Restore(const std::string& key, int field, const QString& value)
{
    edits_.Show(key);
    const Field& f = fields_.at(static_cast<std::size_t>(field));
    Quietly([&] { f.set(value); });
    f.widget->setFocus();
}

} // namespace mirvane
