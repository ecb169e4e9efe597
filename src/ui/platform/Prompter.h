#pragma once
// Message boxes. The editor never calls a static dialog itself: it asks its
// Prompter, which tests replace with a scripted fake.
#include "platform/ProgramName.h"

#include <QString>

namespace mirvane {

class Prompter {
public:
    enum class Answer { Yes, No, Cancel };

    virtual ~Prompter() = default;

    // A notice with only an OK button and no icon; the caption defaults to
    // the application's title.
    virtual void Notice(const QString& text, const QString& caption = kProgramName) = 0;

    // A notice with the information icon.
    virtual void Inform(const QString& text, const QString& caption) = 0;

    // Yes and No, no icon.
    virtual Answer AskYesNo(const QString& text, const QString& caption) = 0;

    // "Сохранить" (Yes) and "Отмена" (Cancel), with the warning icon.
    virtual Answer AskSaveOrCancel(const QString& text, const QString& caption) = 0;

    // Yes, No and Cancel, no icon; Yes is the default button.
    virtual Answer AskYesNoCancel(const QString& text, const QString& caption) = 0;
};

} // namespace mirvane
