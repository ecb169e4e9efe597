#include "platform/QtPrompter.h"

#include "platform/TextBridge.h"

#include <QMessageBox>
#include <QPushButton>

namespace mirvane {

namespace {

QMessageBox::StandardButton Ask(QWidget* parent, const QString& text, const QString& caption,
                                QMessageBox::StandardButtons buttons)
{
    QMessageBox box(QMessageBox::NoIcon, caption, WithLfBreaks(text), buttons, parent);
    box.setDefaultButton(QMessageBox::Yes);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

} // namespace

void QtPrompter::Notice(const QString& text, const QString& caption)
{
    QMessageBox box(QMessageBox::NoIcon, caption, WithLfBreaks(text), QMessageBox::Ok, parent_);
    box.exec();
}

void QtPrompter::Inform(const QString& text, const QString& caption)
{
    QMessageBox box(QMessageBox::Information, caption, WithLfBreaks(text), QMessageBox::Ok, parent_);
    box.exec();
}

Prompter::Answer QtPrompter::AskYesNo(const QString& text, const QString& caption)
{
    return Ask(parent_, text, caption, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes ? Answer::Yes
                                                                                                : Answer::No;
}

Prompter::Answer QtPrompter::AskSaveOrCancel(const QString& text, const QString& caption)
{
    QMessageBox box(QMessageBox::Warning, caption, WithLfBreaks(text), QMessageBox::NoButton, parent_);
    QPushButton* save = box.addButton(QStringLiteral("Сохранить"), QMessageBox::AcceptRole);
    box.addButton(QStringLiteral("Отмена"), QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.exec();
    return box.clickedButton() == save ? Answer::Yes : Answer::Cancel;
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
