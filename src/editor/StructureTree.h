#pragma once
// The structure tree: "Параметры теста", "Система оценок", then one node per
// division with one child per question, each node keyed by its model key. It
// is a view of the document: built from it, and following each change the
// document announces.
#include "document/DocumentObserver.h"
#include "editor/TreeImages.h"

#include <QObject>
#include <QPoint>
#include <QList>
#include <QString>

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

namespace mirvane {

class Division;
class TestDocument;

class StructureTree : public QObject, private DocumentObserver {
    Q_OBJECT
public:
    explicit StructureTree(QWidget* parent);

    QTreeWidget* Widget() const { return tvTreeView_; }

    // Rebuilds every node from the document, in its order, all collapsed,
    // and selects "par" (without running the selection procedure); from
    // then on it follows the document's notices. In a
    // test of more questions than `QuestionsShownAtOnce()`, a division's
    // question nodes are made when the division is first opened or one of
    // its questions is selected: building and labelling 180,000 nodes at
    // once would cost seconds and as much memory as the test itself.
    void BuildTree(TestDocument& document);
    static std::size_t QuestionsShownAtOnce() { return questionsShownAtOnce_; }
    static void SetQuestionsShownAtOnce(std::size_t count) { questionsShownAtOnce_ = count; }

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
    // Follows one change of the document, touching only the nodes it
    // concerns: an added node is placed and labelled from the document, a
    // removed one goes with its children, a moved one keeps its key, label
    // and children and is shown collapsed, an edited name or text is
    // labelled again. The selection is not changed, except that a removed
    // node is no longer selected.
    void DocumentChanged(const DocumentChange& change) override;
    // The node of the key; a question's division gets its question nodes
    // first when it has none yet.
    QTreeWidgetItem* Item(const std::string& key) const;
    // Makes the question nodes of a division that was shown without them.
    void Fill(const std::string& divisionKey) const;
    QTreeWidgetItem* MakeItem(const std::string& key, const QString& text, TreeImage image) const;
    QList<QTreeWidgetItem*> MakeQuestionItems(const Division& division,
                                              const std::vector<std::string>& questionKeys) const;
    // A division's node, with its question nodes unless the test is shown in
    // parts.
    QTreeWidgetItem* MakeDivisionItem(const Division& division, const std::vector<std::string>& questionKeys) const;
    void Forget(QTreeWidgetItem* item);
    static std::string KeyOf(const QTreeWidgetItem* item);
    // The division's root node or the question's division node; the
    // invisible root for a division.
    QTreeWidgetItem* ParentItem(const DocumentChange& change) const;
    // Root nodes before the first division: "par" and "mrk".
    static constexpr int kFixedRoots = 2;
    int ChildIndex(const DocumentChange& change) const;

    QTreeWidget* tvTreeView_;
    // The nodes made so far, and the divisions still without their question
    // nodes: a cache of the document, which filling does not change.
    mutable std::unordered_map<std::string, QTreeWidgetItem*> items_;
    mutable std::unordered_set<std::string> unfilled_;
    const TestDocument* document_ = nullptr;
    DocumentSubscription subscription_;
    bool shownInParts_ = false;
    static inline std::size_t questionsShownAtOnce_ = 20000;
    bool selectingInCode_ = false;
    bool changedSincePress_ = false;
};

} // namespace mirvane
