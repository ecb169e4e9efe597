#pragma once
// The system clipboard, text only: how questions and divisions travel
// within a test and between two running editors.
#include <QString>

namespace mirvane {

class Clipboard {
public:
    virtual ~Clipboard() = default;
    // The clipboard's text; empty when it holds no text.
    virtual QString Text() const = 0;
    // Replaces the clipboard's content with the text.
    virtual void SetText(const QString& text) = 0;
};

class QtClipboard : public Clipboard {
public:
    QString Text() const override;
    void SetText(const QString& text) override;
};

} // namespace mirvane
