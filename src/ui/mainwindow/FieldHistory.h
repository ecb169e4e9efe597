#pragma once
// Every edit of a panel field is a step of the edit history: the title, the
// time, the journal settings, the marks, the division's name and count, the
// question's text, answers and scores. A step is a document command that
// sets the field's new value, so the document (and the tree) follow what is
// typed at once; it keeps the boxes' texts before and after besides, to put
// back what was typed. Consecutive edits of one field in one typing run
// (keys, a paste, a spin-button run) make one step. What the program puts in
// the panel (filling it, storing it, replaying a step) is never a step.
#include <QObject>
#include <QString>

#include <functional>
#include <string>
#include <vector>

namespace mirvane {

class EditHistory;
class PanelFields;
class SetField;
class StructuralEdits;
struct EditorState;

class FieldHistory : public QObject {
    Q_OBJECT
public:
    FieldHistory(const PanelFields& fields, EditorState& state, EditHistory& history, StructuralEdits& edits,
                 QObject* parent);

    // Runs what fills or stores the panel without recording it.
    void Quietly(const std::function<void()>& fill);

    // A field step done (`apply`) or taken back: the first time it only sets
    // the document's value, as the boxes show it already; later it shows
    // the field's node, sets the value, and puts `shown` into the boxes and
    // the focus on the field.
    void Run(SetField& command, bool apply, std::size_t field, const QString& shown, bool first = false);

private:
    void Changed(std::size_t field);

    const PanelFields& fields_;
    EditorState& state_;
    EditHistory& history_;
    StructuralEdits& edits_;
    std::vector<QString> known_; // each field's boxes as last seen
    int quiet_ = 0;
};

} // namespace mirvane
