#include "mainwindow/FieldHistory.h"

#include "commands/StructuralEdits.h"
#include "document/EditCommand.h"
#include "editor/EditHistory.h"
#include "editor/EditorState.h"
#include "mainwindow/PanelFields.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QUndoCommand>

#include <memory>
#include <utility>

namespace mirvane {

namespace {

constexpr int kFieldStepId = 1;

class FieldStep : public QUndoCommand {
public:
    FieldStep(FieldHistory& fields, const QString& name, std::size_t field, std::unique_ptr<SetField> command,
              QString before, QString after, int run)
        : fields_(fields), field_(field), command_(std::move(command)), before_(std::move(before)),
          after_(std::move(after)), run_(run)
    {
        setText(name);
    }

    int id() const override { return kFieldStepId; }
    void undo() override { fields_.Run(*command_, false, field_, before_); }
    void redo() override
    {
        fields_.Run(*command_, true, field_, after_, !done_);
        done_ = true;
    }
    bool mergeWith(const QUndoCommand* other) override
    {
        const auto* next = static_cast<const FieldStep*>(other);
        if (next->field_ != field_ || next->run_ != run_ || !command_->Absorb(*next->command_))
            return false;
        after_ = next->after_;
        // Typed and taken back: no step at all.
        setObsolete(after_ == before_ && command_->Does() == DocumentChange::Kind::None);
        return true;
    }

private:
    FieldHistory& fields_;
    std::size_t field_;
    std::unique_ptr<SetField> command_;
    QString before_;
    QString after_;
    int run_;
    bool done_ = false;
};

// The node whose panel shows the field.
std::string NodeOf(const FieldPlace& place)
{
    switch (KindOfField(place.Field)) {
    case NodeKind::Parameters:
        return std::string(kParametersKey);
    case NodeKind::Marks:
        return std::string(kMarksKey);
    default:
        return place.Key;
    }
}

} // namespace

FieldHistory::FieldHistory(const PanelFields& fields, EditorState& state, EditHistory& history,
                           StructuralEdits& edits, QObject* parent)
    : QObject(parent), fields_(fields), state_(state), history_(history), edits_(edits)
{
    for (std::size_t i = 0; i < fields_.All().size(); ++i) {
        const PanelField& field = fields_.All()[i];
        known_.push_back(field.Shown());
        auto changed = [this, i] { Changed(i); };
        for (QWidget* input : field.Inputs) {
            if (auto* line = qobject_cast<QLineEdit*>(input))
                connect(line, &QLineEdit::textChanged, this, changed);
            else if (auto* text = qobject_cast<QPlainTextEdit*>(input))
                connect(text, &QPlainTextEdit::textChanged, this, changed);
            else if (auto* button = qobject_cast<QAbstractButton*>(input))
                connect(button, &QAbstractButton::toggled, this, changed);
        }
    }
}

void FieldHistory::Changed(std::size_t index)
{
    const PanelField& field = fields_.All()[index];
    const QString value = field.Shown();
    QString& known = known_[index];
    if (value == known)
        return;
    const QString before = std::exchange(known, value);
    const std::string& key = state_.CurrentKey;
    if (quiet_ > 0 || history_.Replaying() || KindOf(key) != KindOfField(field.Field))
        return;
    // The value as the document will hold it; a bad number keeps the value
    // it has until the panel is stored and corrects it.
    const FieldPlace place = field.PlaceIn(key);
    auto command = std::make_unique<SetField>(place, field.Read(state_.Document->Value(place), false));
    history_.Record(
        new FieldStep(*this, field.StepName, index, std::move(command), before, value, history_.TypingRun()));
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

void FieldHistory::Run(SetField& command, bool apply, std::size_t index, const QString& shown, bool first)
{
    TestDocument& document = *state_.Document;
    if (first) {
        command.Apply(document);
        return;
    }
    edits_.Show(NodeOf(command.Place()));
    apply ? command.Apply(document) : command.Revert(document);
    const PanelField& field = fields_.All().at(index);
    Quietly([&] { field.Show(shown); });
    field.Boxes.front()->setFocus();
}

} // namespace mirvane
