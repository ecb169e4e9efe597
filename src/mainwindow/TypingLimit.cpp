#include "mainwindow/TypingLimit.h"

#include <QLineEdit>

namespace mirvane {

TypingLimit::TypingLimit(QLineEdit* box, int maxLength) : QValidator(box), box_(box), maxLength_(maxLength) {}

QValidator::State TypingLimit::validate(QString& input, int&) const
{
    if (input.size() <= maxLength_ || input.size() <= box_->text().size())
        return Acceptable;
    return Invalid;
}

void LimitTyping(QLineEdit* box, int maxLength) { box->setValidator(new TypingLimit(box, maxLength)); }

} // namespace mirvane
