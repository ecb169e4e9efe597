#pragma once
// The structure tree: "Параметры теста", "Система оценок", then one node per
// division with one child per question, each node keyed by its model key. It
// is a view of the document: built from it, and following each change the
// document reports.
#include "editor/TreeImages.h"

#include <QObject>
#include <QPoint>
#include <QString>

#include <string>
#include <unordered_map>
#include <vector>

class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

namespace mirvane {

class Division;
class TestDocument;
struct DocumentChange;

class StructureTree : public QObject {
    Q_OBJECT
public:
    explicit StructureTree(QWidget* parent);

    QTreeWidget* Widget() const { return tvTreeView_; }

    // Rebuilds every node from the document, in its order, all collapsed,
    // and selects "par" (without running the selection procedure).
    void BuildTree(const TestDocument& document);

    // Follows one change of the document, touching only the nodes it
    // concerns: an added node is placed and labelled from the document, a
    // removed one goes with its children, a moved one keeps its key, label
    // and children and is shown collapsed. The selection is not changed,
    // except that a removed node is no longer selected.
    void Apply(const DocumentChange& change, const TestDocument& document);

    bool Contains(const std::string& key) const;
    std::string SelectedKey() const;
    // Selects in code: the selection procedure is not run; the node is
    // brought into view, its division expanded when needed.
    void Select(const std::string& key);

    int ChildCount(const std::string& key) const;
    std::string ChildKey(const std::string& key, int index) const;
    QString Text(const std::string& key) const;
    void SetText(const std::string& key, const QString& text);

signals:
    // The user changed the selection (mouse or keys) or clicked the tree
    // without changing it: the selection procedure must run.
    void SelectionProcedureRequested();
    // The right mouse button was released over the tree.
    void RightButtonReleased(QPoint globalPosition);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTreeWidgetItem* Item(const std::string& key) const;
    QTreeWidgetItem* MakeItem(const std::string& key, const QString& text, TreeImage image);
    QTreeWidgetItem* MakeDivisionItem(const Division& division, const std::vector<std::string>& questionKeys);
    void Forget(QTreeWidgetItem* item);
    static std::string KeyOf(const QTreeWidgetItem* item);
    // The division's root node or the question's division node; the
    // invisible root for a division.
    QTreeWidgetItem* ParentItem(const DocumentChange& change) const;
    // Root nodes before the first division: "par" and "mrk".
    static constexpr int kFixedRoots = 2;
    int ChildIndex(const DocumentChange& change) const;

    QTreeWidget* tvTreeView_;
    std::unordered_map<std::string, QTreeWidgetItem*> items_;
    bool selectingInCode_ = false;
    bool changedSincePress_ = false;
};

} // namespace mirvane
