#include "platform/QtPrompter.h"

#include <QMessageBox>

namespace mirvane {

namespace {

// The model's texts break lines with CR LF; a message box wants LF.
QString BoxText(const QString& text)
{
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return t;
}

QMessageBox::StandardButton Ask(QWidget* parent, const QString& text, const QString& caption,
                                QMessageBox::StandardButtons buttons)
{
    QMessageBox box(QMessageBox::NoIcon, caption, BoxText(text), buttons, parent);
    box.setDefaultButton(QMessageBox::Yes);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

} // namespace

void QtPrompter::Notice(const QString& text, const QString& caption)
{
    QMessageBox box(QMessageBox::NoIcon, caption, BoxText(text), QMessageBox::Ok, parent_);
    box.exec();
}

Prompter::Answer QtPrompter::AskYesNo(const QString& text, const QString& caption)
{
    return Ask(parent_, text, caption, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes ? Answer::Yes
                                                                                                : Answer::No;
}

Prompter::Answer QtPrompter::AskYesNoCancel(const QString& text, const QString& caption)
{
    switch (Ask(parent_, text, caption, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel; // closing the box with Escape or its frame
    }
}

} // namespace mirvane
