#include "tree/StructureTree.h"

#include "document/TestDocument.h"
#include "tree/DocumentTreeModel.h"

#include <QEvent>
#include <QHeaderView>
#include <QHelpEvent>
#include <QItemSelectionModel>
#include <QMouseEvent>
#include <QToolTip>
#include <QTreeView>

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace mirvane {

namespace {

class TreeView : public QTreeView {
public:
    using QTreeView::QTreeView;

protected:
    // A node selected in code (no event) is the one node selected, even
    // while Ctrl or Shift is held for a shortcut such as Ctrl+Down or
    // Ctrl+Z; the mouse and the keys select as ever.
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index, const QEvent* event) const override
    {
        if (!event)
            return QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
        return QTreeView::selectionCommand(index, event);
    }
};

} // namespace

StructureTree::StructureTree(QWidget* parent)
    : QObject(parent), tvTreeView_(new TreeView(parent)), model_(new DocumentTreeModel(this))
{
    tvTreeView_->setObjectName(QStringLiteral("tvTreeView"));
    tvTreeView_->setHeaderHidden(true);
    tvTreeView_->setModel(model_);
    tvTreeView_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // Labels follow the model; a label edited in place would never reach it.
    tvTreeView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tvTreeView_->setUniformRowHeights(true);
    tvTreeView_->setRootIsDecorated(true);
    tvTreeView_->viewport()->installEventFilter(this);
    tvTreeView_->setDragDropMode(QAbstractItemView::InternalMove);
    tvTreeView_->setDefaultDropAction(Qt::MoveAction);
    tvTreeView_->setDropIndicatorShown(true);
    connect(model_, &DocumentTreeModel::MoveRequested, this, &StructureTree::MoveRequested);

    connect(tvTreeView_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                // Rows coming and going as the document changes are not the
                // user's choice: the caller decides what is selected then.
                if (selectingInCode_ || model_->Following() || !current.isValid())
                    return;
                changedSincePress_ = true;
                emit SelectionProcedureRequested();
            });
    // Some node is always selected: a click on empty space must not clear it.
    connect(tvTreeView_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        QItemSelectionModel* selection = tvTreeView_->selectionModel();
        if (!selection->hasSelection() && selection->currentIndex().isValid())
            selection->select(selection->currentIndex(), QItemSelectionModel::Select);
    });
    // A moved division is shown closed.
    connect(model_, &QAbstractItemModel::rowsMoved, this,
            [this](const QModelIndex&, int start, int, const QModelIndex& destination, int row) {
                // Qt names the destination as it was before the move.
                if (!destination.isValid())
                    tvTreeView_->collapse(model_->index(row > start ? row - 1 : row, 0));
            });
}

bool StructureTree::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == tvTreeView_->viewport() && event->type() == QEvent::ToolTip) {
        // The full label, when the tree's width cuts it.
        auto* help = static_cast<QHelpEvent*>(event);
        const QModelIndex at = tvTreeView_->indexAt(help->pos());
        if (at.isValid()) {
            const QRect rect = tvTreeView_->visualRect(at);
            const QString text = at.data().toString();
            const int needed =
                rect.x() + tvTreeView_->iconSize().width() + 12 + tvTreeView_->fontMetrics().horizontalAdvance(text);
            if (needed > tvTreeView_->viewport()->width()) {
                QToolTip::showText(help->globalPos(), text, tvTreeView_->viewport(), rect);
                return true;
            }
        }
        QToolTip::hideText();
        return true;
    }
    if (watched == tvTreeView_->viewport()) {
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
            changedSincePress_ = false;
            // The right button does not select the node under the mouse: the
            // context menu acts on the node selected before. It takes the
            // focus to the tree, so the menu's clipboard entries act on it.
            if (static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
                tvTreeView_->setFocus(Qt::MouseFocusReason);
                return true;
            }
        } else if (event->type() == QEvent::MouseButtonRelease) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton && !changedSincePress_)
                emit SelectionProcedureRequested(); // a click that kept the selection
            else if (mouse->button() == Qt::RightButton)
                emit RightButtonReleased(mouse->globalPosition().toPoint());
            changedSincePress_ = false;
        }
    }
    return QObject::eventFilter(watched, event);
}

void StructureTree::BuildTree(TestDocument& document)
{
    selectingInCode_ = true;
    model_->SetDocument(document);
    tvTreeView_->setCurrentIndex(model_->index(0, 0));
    selectingInCode_ = false;
}

bool StructureTree::Contains(const std::string& key) const { return model_->Contains(key); }

std::string StructureTree::SelectedKey() const { return DocumentTreeModel::KeyOf(tvTreeView_->currentIndex()); }

std::vector<std::string> StructureTree::SelectedKeys() const
{
    QModelIndexList rows = tvTreeView_->selectionModel()->selectedRows();
    // A row's place: its top row, then its own among its division's.
    auto place = [](const QModelIndex& at) {
        return at.parent().isValid() ? std::pair(at.parent().row(), at.row()) : std::pair(at.row(), -1);
    };
    std::sort(rows.begin(), rows.end(), [&](const QModelIndex& a, const QModelIndex& b) { return place(a) < place(b); });
    std::vector<std::string> keys;
    keys.reserve(static_cast<std::size_t>(rows.size()));
    for (const QModelIndex& at : rows)
        keys.push_back(DocumentTreeModel::KeyOf(at));
    return keys;
}

void StructureTree::SelectAlso(const std::vector<std::string>& keys)
{
    QItemSelection rows;
    for (const std::string& key : keys) {
        const QModelIndex at = model_->IndexOf(key);
        if (!at.isValid())
            continue;
        rows.select(at, at);
        if (at.parent().isValid())
            tvTreeView_->expand(at.parent()); // nothing selected out of sight
    }
    selectingInCode_ = true;
    tvTreeView_->selectionModel()->select(rows, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    selectingInCode_ = false;
}

QModelIndex StructureTree::Index(const std::string& key) const { return model_->IndexOf(key); }

void StructureTree::Select(const std::string& key)
{
    const QModelIndex at = model_->IndexOf(key);
    if (!at.isValid())
        throw std::out_of_range("no tree node with key " + key);
    selectingInCode_ = true;
    tvTreeView_->setCurrentIndex(at);
    if (at.parent().isValid())
        tvTreeView_->expand(at.parent());
    tvTreeView_->scrollTo(at);
    selectingInCode_ = false;
}

int StructureTree::ChildCount(const std::string& key) const
{
    const QModelIndex at = model_->IndexOf(key);
    if (model_->canFetchMore(at))
        model_->fetchMore(at);
    return model_->rowCount(at);
}

std::string StructureTree::ChildKey(const std::string& key, int index) const
{
    const QModelIndex at = model_->IndexOf(key);
    if (model_->canFetchMore(at))
        model_->fetchMore(at);
    return DocumentTreeModel::KeyOf(model_->index(index, 0, at));
}

QString StructureTree::Text(const std::string& key) const
{
    const QModelIndex at = model_->IndexOf(key);
    if (!at.isValid())
        throw std::out_of_range("no tree node with key " + key);
    return at.data().toString();
}

} // namespace mirvane
