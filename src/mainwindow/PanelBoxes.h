#pragma once
// A one-line box with a length limit on what the user types or pastes. Unlike
// QLineEdit::setMaxLength it never cuts a text the program puts there (a
// longer title read from a file stays whole, and so does a spin step past the
// limit); a user's edit may not make the text longer than the limit, or than
// it already was. Pasted text is cut to what fits, as a length limit does.
#include <QLineEdit>

namespace mirvane {

class LimitedLineEdit : public QLineEdit {
public:
    LimitedLineEdit(QWidget* parent, int maxLength);

    int TypingLimit() const { return maxLength_; }

    // True while a key, an input method, a drop, a middle-button paste or the
    // box's own context menu is being handled: the only ways a user edits.
    bool UserEditing() const { return userEditing_ > 0; }

    // The text's length before the edit being validated: QLineEdit has
    // already changed its text when it asks the validator.
    int AcceptedLength() const { return acceptedLength_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
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

} // namespace mirvane
