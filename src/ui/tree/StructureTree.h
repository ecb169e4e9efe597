#pragma once
// The structure tree: "Параметры теста", "Система оценок", then one node per
// division with one child per question, each node keyed by its model key. It
// is a view over the document's tree model, which follows each change the
// document announces.
#include <QObject>
#include <QModelIndex>
#include <QPoint>
#include <QString>

#include <string>
#include <vector>

class QTreeView;
class QWidget;

namespace mirvane {

class DocumentTreeModel;
class TestDocument;

class StructureTree : public QObject {
    Q_OBJECT
public:
    explicit StructureTree(QWidget* parent);

    QTreeView* Widget() const { return tvTreeView_; }

    // Shows the document, in its order, every division closed, and selects
    // "par" (without running the selection procedure); from then on the
    // tree follows the document's notices. A division's question rows are
    // made when it is first opened or one of its questions selected.
    void BuildTree(TestDocument& document);

    bool Contains(const std::string& key) const;
    // The current node: the one whose panel is shown.
    std::string SelectedKey() const;
    // Every node selected (Ctrl and Shift add to the selection), in the
    // order the tree shows them.
    std::vector<std::string> SelectedKeys() const;
    // Selects in code: the selection procedure is not run; the node is
    // brought into view, its division expanded when needed. Any other node
    // selected is let go.
    void Select(const std::string& key);
    // Selects the nodes besides those selected, the current one staying.
    void SelectAlso(const std::vector<std::string>& keys);

    // The node's row (its division's rows made first); invalid for a key
    // not shown.
    QModelIndex Index(const std::string& key) const;
    int ChildCount(const std::string& key) const;
    std::string ChildKey(const std::string& key, int index) const;
    QString Text(const std::string& key) const;

signals:
    // The user changed the selection (mouse or keys) or clicked the tree
    // without changing it: the selection procedure must run.
    void SelectionProcedureRequested();
    // The right mouse button was released over the tree.
    void RightButtonReleased(QPoint globalPosition);
    // A node was dragged to a new place: `division` empty for a division,
    // `index` as TestDocument::MoveTo takes it.
    void MoveRequested(const std::string& key, const std::string& division, std::size_t index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTreeView* tvTreeView_;
    DocumentTreeModel* model_;
    bool selectingInCode_ = false;
    bool changedSincePress_ = false;
};

} // namespace mirvane
