#pragma once
// The text boxes of the editing panel.
//
// What the user types or pastes is kept to what the test file can store:
// typographic quotes, dashes and ellipses become plain ones as they come.
//
// Whatever way the user pastes (the keys, the box's own menu, the middle
// mouse button, a drop), a clipboard record of a question or a division is
// never pasted into a box. The keys of the editor's Cut, Copy and Paste
// commands are left to the commands, which act on the focused box through
// PanelTextBox, so a paste happens once.
//
// A one-line box never holds a line break, however it comes in: each becomes
// a space.
//
// A one-line box has a length limit on what the user types or pastes. Unlike
// QLineEdit::setMaxLength it never cuts a text the program puts there (a
// longer title read from a file stays whole, and so does a spin step past the
// limit); a user's edit may not make the text longer than the limit, or than
// it already was. Pasted text is cut to what fits, as a length limit does.
#include "editor/PanelTextBox.h"

#include <QLineEdit>
#include <QPlainTextEdit>

namespace mirvane {

class LimitedLineEdit : public QLineEdit, public PanelTextBox {
public:
    LimitedLineEdit(QWidget* parent, int maxLength);

    int TypingLimit() const { return maxLength_; }

    // True while a key, an input method, a drop, a middle-button paste, the
    // box's own context menu or a command's insertion is being handled: the
    // ways a user edits.
    bool UserEditing() const { return userEditing_ > 0; }

    // The text's length before the edit being validated: QLineEdit has
    // already changed its text when it asks the validator.
    int AcceptedLength() const { return acceptedLength_; }

    QString SelectedText() const override { return selectedText(); }
    void InsertAsTyped(const QString& text) override;

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    template <typename Handler>
    void AsUserEdit(Handler handler)
    {
        ++userEditing_;
        handler();
        --userEditing_;
    }

    int maxLength_;
    int acceptedLength_ = 0;
    int userEditing_ = 0;
};

// A multi-line box: the question text and the answers.
class PanelTextEdit : public QPlainTextEdit, public PanelTextBox {
public:
    explicit PanelTextEdit(QWidget* parent);

    QString SelectedText() const override;
    void InsertAsTyped(const QString& text) override;

protected:
    bool event(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
};

// True for the text of a clipboard record, which no box takes.
bool IsRecordText(const QString& text);

// What a box keeps of typed or pasted text: the typographic characters as
// the plain ones the test file can store.
QString StorableText(const QString& text);

// The text on one line: each line break a space.
QString OneLineText(const QString& text);

// Selects `length` characters from `start` in a one-line or a many-line box;
// the focus stays where it is.
void SelectInBox(QWidget* box, int start, int length);

} // namespace mirvane
