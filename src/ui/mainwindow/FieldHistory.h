#pragma once
// Every edit of a panel field is a step of the edit history: the title, the
// time, the journal settings, the marks, the division's name and count, the
// question's text, answers and scores. A step keeps the field's node and its
// text before and after; consecutive edits of one field in one typing run
// (keys, a paste, a spin-button run) make one step. What the program puts in
// the panel (filling it, storing it, replaying a step) is never a step.
#include <QObject>
#include <QString>

#include <functional>
#include <string>
#include <vector>

class QLineEdit;
class QWidget;

namespace mirvane {

class EditHistory;
class EditPanels;
class StructuralEdits;
struct EditorState;

class FieldHistory : public QObject {
    Q_OBJECT
public:
    FieldHistory(EditPanels& panels, EditorState& state, EditHistory& history, StructuralEdits& edits,
                 QObject* parent);

    // Runs what fills or stores the panel without recording it.
    void Quietly(const std::function<void()>& fill);

    // What a field step replays: shows the node, then puts the value into
    // the field and the focus on it.
    void Restore(const std::string& key, int field, const QString& value);

private:
    struct Field {
        QWidget* widget;
        QString stepName;
        std::function<QString()> get;
        std::function<void(const QString&)> set;
    };
    // `rows`: the boxes of a field made of several (the marks table).
    void Add(QWidget* widget, const QString& stepName, std::function<QString()> get,
             std::function<void(const QString&)> set, const std::vector<QLineEdit*>& rows = {});
    void Changed(int field);

    EditPanels& panels_;
    EditorState& state_;
    EditHistory& history_;
    StructuralEdits& edits_;
    std::vector<Field> fields_;
    std::vector<QString> known_; // each field's value as last seen
    int quiet_ = 0;
};

} // namespace mirvane
