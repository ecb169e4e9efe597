#pragma once
// What reacts at once while the user types: the caption follows the title,
// question and answer texts are rewrapped, the label beside the failing mark
// shows the lowest threshold. And the spin controls that step the number
// boxes. None of this touches the test: what is typed goes into the document
// as a step of the edit history, and the tree's labels follow the document.
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class QLineEdit;
class QPlainTextEdit;

namespace mirvane {

class EditPanels;

// What one spin step does to a box's text; nothing when the box stays as it
// is (a step that would leave the 16-bit range).
enum class SpinKind { TestTime, QuestionCount, Free };
std::optional<QString> SpinStep(SpinKind kind, const QString& text, bool up);

// "< " and the text of the first box with the smallest number, or "< 32000".
QString MinScoreCaption(const QStringList& thresholds);

class FieldEditing : public QObject {
    Q_OBJECT
public:
    using CaptionSetter = std::function<void(const QString& title)>;
    // Shows a message in the status bar; an empty one clears it.
    using StatusSetter = std::function<void(const QString& message)>;

    FieldEditing(EditPanels& panels, CaptionSetter setCaption, StatusSetter setStatus, QObject* parent);

    // A box holding a character the test file cannot store shows a warning
    // colour, and the status bar names the character.
    void MarkUnstorable(QWidget* box, const QString& text);

    void TitleEdited();
    void QuestionTextEdited();
    void AnswerEdited(int index);
    void MarkScoreEdited(int index);

private:
    void Rewrap(QPlainTextEdit* box);
    void ConnectSpin(QObject* spin, QLineEdit* box, SpinKind kind);

    EditPanels& panels_;
    CaptionSetter setCaption_;
    StatusSetter setStatus_;
    QWidget* namedInStatus_ = nullptr;
};

} // namespace mirvane
