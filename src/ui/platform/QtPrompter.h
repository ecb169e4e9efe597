#pragma once
#include "platform/Prompter.h"

class QWidget;

namespace mirvane {

// Modal QMessageBox over the given parent window.
class QtPrompter : public Prompter {
public:
    explicit QtPrompter(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }

    void Notice(const QString& text, const QString& caption) override;
    void Inform(const QString& text, const QString& caption) override;
    Answer AskYesNo(const QString& text, const QString& caption) override;
    Answer AskYesNoCancel(const QString& text, const QString& caption) override;
    Answer AskSaveOrCancel(const QString& text, const QString& caption) override;

private:
    QWidget* parent_;
};

} // namespace mirvane
