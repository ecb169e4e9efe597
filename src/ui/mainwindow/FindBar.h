#pragma once
// The find bar at the bottom of the panel: a text, "Учитывать регистр", next
// (Enter, F3) and previous (Shift+Enter, Shift+F3). A search runs from the
// current node on in document order, wrapping around; a hit selects its
// node, shows its panel and selects the found text in its box.
#include "document/TextSearch.h"
#include "commands/FindCommands.h"

#include <QWidget>

#include <optional>

class QCheckBox;
class QLabel;
class QLineEdit;

namespace mirvane {

class EditPanels;
class PanelFields;
class PanelHost;
class StructuralEdits;
struct EditorState;

namespace find_text {
inline const QString kNotFound = QStringLiteral("Не найдено");
} // namespace find_text

class FindBar : public QWidget, public FindCommands {
    Q_OBJECT
public:
    FindBar(QWidget* parent, EditPanels& panels, const PanelFields& fields, EditorState& state, PanelHost& host,
            StructuralEdits& edits);

    void Open() override;
    void Close();
    bool FindNext() override { return Find(true); }
    bool FindPrevious() override { return Find(false); }

    QLineEdit* TextBox() const { return text_; }
    QCheckBox* MatchCaseBox() const { return matchCase_; }
    QString Outcome() const;

signals:
    // The bar was shown or hidden: the window lays its parts out again.
    void VisibilityChanged();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool Find(bool forward);
    void ShowHit(const TextHit& hit);

    EditPanels& panels_;
    const PanelFields& fields_;
    EditorState& state_;
    PanelHost& host_;
    StructuralEdits& edits_;
    QLineEdit* text_;
    QCheckBox* matchCase_;
    QLabel* outcome_;
    std::optional<TextHit> lastHit_;
};

} // namespace mirvane
