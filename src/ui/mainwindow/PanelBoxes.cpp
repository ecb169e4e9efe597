#include "mainwindow/PanelBoxes.h"

#include "clipboard/ClipboardRecord.h"
#include "model/Misc.h"
#include "model/StorableText.h"
#include "platform/TextBridge.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QTextCursor>
#include <QValidator>

#include <algorithm>
#include <memory>

namespace mirvane {

namespace {

class LimitValidator : public QValidator {
public:
    explicit LimitValidator(LimitedLineEdit* box) : QValidator(box), box_(box) {}

    State validate(QString& input, int& pos) const override
    {
        // Whatever brings a line break (a paste, a drop, an input method, a
        // text the program puts there), the box keeps one line: a break in a
        // one-line field would start a new line of the test file.
        const QString oneLine = OneLineText(input);
        if (oneLine != input) {
            pos = static_cast<int>(OneLineText(input.left(pos)).size());
            input = oneLine;
        }
        if (!box_->UserEditing())
            return Acceptable; // the program's own text is kept whole
        const QString storable = StorableText(input);
        if (storable != input) {
            pos = static_cast<int>(StorableText(input.left(pos)).size());
            input = storable;
        }
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

// The keys of the editor's Cut, Copy, Paste, Undo and Redo commands: a box
// lets them through to the commands instead of acting on them itself, so
// undo works on the document's one history.
bool IsCommandKey(QEvent* event)
{
    if (event->type() != QEvent::ShortcutOverride)
        return false;
    const QKeyCombination pressed = static_cast<QKeyEvent*>(event)->keyCombination();
    for (const QKeyCombination key : {Qt::CTRL | Qt::Key_X, Qt::CTRL | Qt::Key_C, Qt::CTRL | Qt::Key_V,
                                      Qt::CTRL | Qt::Key_Z, Qt::CTRL | Qt::Key_Y, Qt::CTRL | Qt::SHIFT | Qt::Key_Z}) {
        if (pressed == key)
            return true;
    }
    return false;
}

// The box's own undo would disagree with the document's history.
void HideOwnUndo(QMenu& menu)
{
    for (const char* name : {"edit-undo", "edit-redo"}) {
        if (QAction* action = menu.findChild<QAction*>(QLatin1String(name)))
            action->setVisible(false);
    }
}

bool ClipboardHoldsRecord(QClipboard::Mode mode)
{
    return IsRecordText(QGuiApplication::clipboard()->text(mode));
}

} // namespace

QString StorableText(const QString& text) { return ToQt(ToStorableText(ToModel(text))); }

QString OneLineText(const QString& text)
{
    // Most texts have no break at all: no round trip through the model's text.
    static const QString kBreaks = QStringLiteral("\r\n\v\f\u0085\u2028\u2029");
    if (std::none_of(text.cbegin(), text.cend(), [](QChar c) { return kBreaks.contains(c); }))
        return text;
    return ToQt(LineBreaksAsSpaces(ToModel(text)));
}

bool IsRecordText(const QString& text) { return IsClipboardRecord(ToModel(text.left(16))); }

LimitedLineEdit::LimitedLineEdit(QWidget* parent, int maxLength) : QLineEdit(parent), maxLength_(maxLength)
{
    setValidator(new LimitValidator(this));
    connect(this, &QLineEdit::textChanged, this,
            [this](const QString& text) { acceptedLength_ = static_cast<int>(text.size()); });
}

void LimitedLineEdit::InsertAsTyped(const QString& text)
{
    if (!IsRecordText(text))
        AsUserEdit([&] { insert(text); });
}

bool LimitedLineEdit::event(QEvent* event)
{
    if (IsCommandKey(event)) {
        event->ignore();
        return true;
    }
    return QLineEdit::event(event);
}

void LimitedLineEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Paste) && ClipboardHoldsRecord(QClipboard::Clipboard)) {
        event->accept();
        return;
    }
    AsUserEdit([&] { QLineEdit::keyPressEvent(event); });
}

void LimitedLineEdit::inputMethodEvent(QInputMethodEvent* event)
{
    AsUserEdit([&] { QLineEdit::inputMethodEvent(event); });
}

namespace {
// A dropped file is not text for a box: the main window opens it.
bool IsFileDrop(const QMimeData* data) { return data && data->hasUrls(); }
} // namespace

void LimitedLineEdit::dragEnterEvent(QDragEnterEvent* event)
{
    if (IsFileDrop(event->mimeData()))
        event->ignore();
    else
        QLineEdit::dragEnterEvent(event);
}

void LimitedLineEdit::dropEvent(QDropEvent* event)
{
    if (event->mimeData() && IsRecordText(event->mimeData()->text())) {
        event->ignore();
        return;
    }
    AsUserEdit([&] { QLineEdit::dropEvent(event); });
}

void LimitedLineEdit::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::MiddleButton && ClipboardHoldsRecord(QClipboard::Selection)) {
        event->accept();
        return;
    }
    AsUserEdit([&] { QLineEdit::mouseReleaseEvent(event); });
}

void LimitedLineEdit::contextMenuEvent(QContextMenuEvent* event)
{
    std::unique_ptr<QMenu> menu(createStandardContextMenu());
    if (QAction* paste = menu->findChild<QAction*>(QStringLiteral("edit-paste")))
        paste->setEnabled(paste->isEnabled() && !ClipboardHoldsRecord(QClipboard::Clipboard));
    HideOwnUndo(*menu);
    AddToMenu(*menu, event->pos());
    AsUserEdit([&] { menu->exec(event->globalPos()); });
}

PanelTextEdit::PanelTextEdit(QWidget* parent) : QPlainTextEdit(parent)
{
    setUndoRedoEnabled(false); // the document's history undoes typing
}

QString PanelTextEdit::SelectedText() const { return WithLfBreaks(textCursor().selectedText()); }

void PanelTextEdit::InsertAsTyped(const QString& text)
{
    if (IsRecordText(text))
        return;
    QTextCursor cursor = textCursor();
    cursor.insertText(StorableText(text));
    setTextCursor(cursor);
}

bool PanelTextEdit::event(QEvent* event)
{
    if (IsCommandKey(event)) {
        event->ignore();
        return true;
    }
    return QPlainTextEdit::event(event);
}

void PanelTextEdit::dragEnterEvent(QDragEnterEvent* event)
{
    if (IsFileDrop(event->mimeData()))
        event->ignore();
    else
        QPlainTextEdit::dragEnterEvent(event);
}

void PanelTextEdit::contextMenuEvent(QContextMenuEvent* event)
{
    std::unique_ptr<QMenu> menu(createStandardContextMenu(event->pos()));
    HideOwnUndo(*menu);
    AddToMenu(*menu, event->pos());
    menu->exec(event->globalPos());
}

bool PanelTextEdit::canInsertFromMimeData(const QMimeData* source) const
{
    return !(source && IsRecordText(source->text())) && QPlainTextEdit::canInsertFromMimeData(source);
}

void PanelTextEdit::insertFromMimeData(const QMimeData* source)
{
    // Every paste into the box comes here: the keys, its menu, the middle
    // button and drops.
    if (!source || IsRecordText(source->text()))
        return;
    if (source->hasText()) {
        QMimeData plain;
        plain.setText(StorableText(source->text()));
        QPlainTextEdit::insertFromMimeData(&plain);
        return;
    }
    QPlainTextEdit::insertFromMimeData(source);
}

void PanelTextEdit::keyPressEvent(QKeyEvent* event)
{
    const QString typed = event->text();
    if (!typed.isEmpty() && StorableText(typed) != typed) {
        InsertAsTyped(typed);
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void SelectInBox(QWidget* box, int start, int length)
{
    if (auto* line = qobject_cast<QLineEdit*>(box)) {
        line->setSelection(start, length);
    } else if (auto* lines = qobject_cast<QPlainTextEdit*>(box)) {
        QTextCursor cursor = lines->textCursor();
        cursor.setPosition(start);
        cursor.setPosition(start + length, QTextCursor::KeepAnchor);
        lines->setTextCursor(cursor);
    }
}

} // namespace mirvane
