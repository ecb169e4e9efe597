#pragma once
// The structure tree: "Параметры теста", "Система оценок", then one node per
// division with one child per question, each node keyed by its model key. The
// tree holds the document's order.
#include "editor/TreeImages.h"
#include "model/DocumentOrder.h"

#include <QObject>
#include <QPoint>
#include <QString>

#include <string>
#include <unordered_map>

class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

namespace mirvane {

class Test;

class StructureTree : public QObject {
    Q_OBJECT
public:
    explicit StructureTree(QWidget* parent);

    QTreeWidget* Widget() const { return tvTreeView_; }

    // Rebuilds every node from the test, in collection order, all collapsed,
    // and selects "par" (without running the selection procedure).
    void BuildTree(const Test& test);

    bool Contains(const std::string& key) const;
    std::string SelectedKey() const;
    // Selects in code: the selection procedure is not run; the node is
    // brought into view, its division expanded when needed.
    void Select(const std::string& key);

    std::string ParentKey(const std::string& key) const; // empty at root level
    std::string NextSiblingKey(const std::string& key) const;
    std::string PreviousSiblingKey(const std::string& key) const;
    int ChildCount(const std::string& key) const;
    std::string ChildKey(const std::string& key, int index) const;
    QString Text(const std::string& key) const;

    void SetText(const std::string& key, const QString& text);
    void SetKey(const std::string& oldKey, const std::string& newKey);

    // Adding nodes: at the end of the root level, as a node's last child, or
    // as its next or previous sibling. A new node is collapsed.
    void AddRoot(const std::string& key, const QString& text, TreeImage image);
    void AddChild(const std::string& parentKey, const std::string& key, const QString& text, TreeImage image);
    void InsertAfter(const std::string& siblingKey, const std::string& key, const QString& text, TreeImage image);
    void InsertBefore(const std::string& siblingKey, const std::string& key, const QString& text, TreeImage image);
    // Removes the node and everything below it.
    void Remove(const std::string& key);

    // The division nodes after "mrk" and their question nodes, in tree order.
    DocumentOrder Order() const;

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
    void Forget(QTreeWidgetItem* item);
    static std::string KeyOf(const QTreeWidgetItem* item);

    QTreeWidget* tvTreeView_;
    std::unordered_map<std::string, QTreeWidgetItem*> items_;
    bool selectingInCode_ = false;
    bool changedSincePress_ = false;
};

} // namespace mirvane
