#pragma once
// A length limit on what the user types into a one-line box. Unlike
// QLineEdit::setMaxLength it never cuts a text the program puts there (a
// longer title read from a file stays whole), and an edit that does not make
// an overlong text longer is allowed.
#include <QValidator>

class QLineEdit;

namespace mirvane {

class TypingLimit : public QValidator {
public:
    TypingLimit(QLineEdit* box, int maxLength);
    State validate(QString& input, int& pos) const override;

private:
    QLineEdit* box_;
    int maxLength_;
};

// Puts a TypingLimit on the box.
void LimitTyping(QLineEdit* box, int maxLength);

} // namespace mirvane
