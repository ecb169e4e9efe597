#include "mainwindow/PanelBoxes.h"

#include <QValidator>

#include <algorithm>

namespace mirvane {

namespace {

class LimitValidator : public QValidator {
public:
    explicit LimitValidator(LimitedLineEdit* box) : QValidator(box), box_(box) {}

    State validate(QString& input, int& pos) const override
    {
        if (!box_->UserEditing())
            return Acceptable; // the program's own text is kept whole
        const int allowed = std::max(box_->TypingLimit(), box_->AcceptedLength());
        const int excess = static_cast<int>(input.size()) - allowed;
        if (excess <= 0)
            return Acceptable;
        // The inserted text ends at the caret: keep as much of it as fits.
        if (excess > pos)
            return Invalid;
        input.remove(pos - excess, excess);
        pos -= excess;
        return Acceptable;
    }

private:
    LimitedLineEdit* box_;
};

} // namespace

LimitedLineEdit::LimitedLineEdit(QWidget* parent, int maxLength) : QLineEdit(parent), maxLength_(maxLength)
{
    setValidator(new LimitValidator(this));
    connect(this, &QLineEdit::textChanged, this,
            [this](const QString& text) { acceptedLength_ = static_cast<int>(text.size()); });
}

void LimitedLineEdit::keyPressEvent(QKeyEvent* event)
{
    AsUserEdit([&] { QLineEdit::keyPressEvent(event); });
}

void LimitedLineEdit::inputMethodEvent(QInputMethodEvent* event)
{
    AsUserEdit([&] { QLineEdit::inputMethodEvent(event); });
}

void LimitedLineEdit::dropEvent(QDropEvent* event)
{
    AsUserEdit([&] { QLineEdit::dropEvent(event); });
}

void LimitedLineEdit::mouseReleaseEvent(QMouseEvent* event)
{
    AsUserEdit([&] { QLineEdit::mouseReleaseEvent(event); });
}

void LimitedLineEdit::contextMenuEvent(QContextMenuEvent* event)
{
    AsUserEdit([&] { QLineEdit::contextMenuEvent(event); });
}

} // namespace mirvane
