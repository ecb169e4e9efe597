#pragma once
// The document as an item model for the structure tree: "Параметры теста",
// "Система оценок", then one row per division with one child row per
// question. Labels are read from the document when asked; rows are
// inserted, removed and moved as the document announces its changes. A
// division's question rows are made when it is first opened (fetchMore), so
// showing a large test costs one row per division.
#include "document/DocumentObserver.h"

#include <QAbstractItemModel>
#include <QString>
#include <QStringList>

#include <memory>
#include <string>
#include <vector>

namespace mirvane {

class TestDocument;

class DocumentTreeModel : public QAbstractItemModel, private DocumentObserver {
    Q_OBJECT
public:
    // The role that gives a row's node key.
    static constexpr int kKeyRole = Qt::UserRole;

    explicit DocumentTreeModel(QObject* parent);

    // Shows the document (every division closed) and follows its notices.
    void SetDocument(TestDocument& document);

    // The row of the key; a question's division makes its rows first. An
    // invalid index for a key the document does not hold.
    QModelIndex IndexOf(const std::string& key);
    static std::string KeyOf(const QModelIndex& index);
    bool Contains(const std::string& key) const;
    // True while the model follows a notice: the view's current row may
    // change, which is not the user's choice.
    bool Following() const { return following_ > 0; }

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;
    // Dragging: a division among the divisions (never above the two fixed
    // rows), a question into any division, dropped between rows or onto a
    // node (then it goes after that node, as a paste does). The model
    // changes nothing itself: it asks for the move.
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDropActions() const override { return Qt::MoveAction; }
    bool canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                         const QModelIndex& parent) const override;
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                      const QModelIndex& parent) override;

signals:
    // `division` empty for a division; `index` as TestDocument::MoveTo takes it.
    void MoveRequested(const std::string& key, const std::string& division, std::size_t index);

private:
    struct DivisionRows {
        std::string key;
        bool fetched = false;
        std::vector<std::string> questions; // once fetched, as shown
    };
    // Rows before the first division: the parameters and the marks.
    static constexpr int kFixedRows = 2;

    void DocumentChanged(const DocumentChange& change) override;
    struct Drop {
        std::string key;
        std::string division;
        std::size_t index = 0;
    };
    // Where a drop puts the dragged node; false when it may not go there.
    bool DropPlace(const QMimeData* data, int row, const QModelIndex& parent, Drop& drop) const;
    void Follow(const DocumentChange& change);
    void FollowQuestionMove(const DocumentChange& change);
    // The division's rows, or null; its row number in `row`.
    DivisionRows* Division(const std::string& key, int* row = nullptr) const;
    DivisionRows* DivisionOf(const QModelIndex& index) const;
    QString Label(const std::string& key) const;

    TestDocument* document_ = nullptr;
    DocumentSubscription subscription_;
    std::vector<std::unique_ptr<DivisionRows>> divisions_;
    int following_ = 0;
};

} // namespace mirvane
