#include "editor/StructureTree.h"

#include "model/Misc.h"
#include "model/Test.h"

#include <QEvent>
#include <QHeaderView>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QTreeWidget>

#include <stdexcept>

namespace mirvane {

namespace {

constexpr int kKeyRole = Qt::UserRole;

QString FromUtf8(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

} // namespace

StructureTree::StructureTree(QWidget* parent)
    : QObject(parent), tvTreeView_(new QTreeWidget(parent))
{
    tvTreeView_->setObjectName(QStringLiteral("tvTreeView"));
    tvTreeView_->setHeaderHidden(true);
    tvTreeView_->setColumnCount(1);
    tvTreeView_->setSelectionMode(QAbstractItemView::SingleSelection);
    // Labels follow the model; a label edited in place would never reach it.
    tvTreeView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tvTreeView_->setUniformRowHeights(true);
    tvTreeView_->setRootIsDecorated(true);
    tvTreeView_->viewport()->installEventFilter(this);

    connect(tvTreeView_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) {
        if (selectingInCode_ || !current)
            return;
        changedSincePress_ = true;
        emit SelectionProcedureRequested();
    });
    // Some node is always selected: a click on empty space must not clear it.
    connect(tvTreeView_, &QTreeWidget::itemSelectionChanged, this, [this] {
        if (tvTreeView_->selectedItems().isEmpty() && tvTreeView_->currentItem()) {
            const QSignalBlocker blocker(tvTreeView_);
            tvTreeView_->currentItem()->setSelected(true);
        }
    });
}

bool StructureTree::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == tvTreeView_->viewport()) {
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
            changedSincePress_ = false;
            // The right button does not select the node under the mouse: the
            // context menu acts on the node selected before.
            if (static_cast<QMouseEvent*>(event)->button() == Qt::RightButton)
                return true;
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

std::string StructureTree::KeyOf(const QTreeWidgetItem* item)
{
    return item ? item->data(0, kKeyRole).toString().toStdString() : std::string();
}

QTreeWidgetItem* StructureTree::Item(const std::string& key) const
{
    auto it = items_.find(key);
    if (it == items_.end())
        throw std::out_of_range("no tree node with key " + key);
    return it->second;
}

QTreeWidgetItem* StructureTree::MakeItem(const std::string& key, const QString& text, TreeImage image)
{
    if (items_.count(key))
        throw std::invalid_argument("duplicate tree key " + key);
    auto* item = new QTreeWidgetItem(QStringList{text});
    item->setData(0, kKeyRole, FromUtf8(key));
    item->setIcon(0, TreeIcon(image));
    items_.emplace(key, item);
    return item;
}

void StructureTree::Forget(QTreeWidgetItem* item)
{
    for (int i = 0; i < item->childCount(); ++i)
        Forget(item->child(i));
    items_.erase(KeyOf(item));
}

void StructureTree::BuildTree(const Test& test)
{
    const QSignalBlocker blocker(tvTreeView_);
    selectingInCode_ = true;
    tvTreeView_->setUpdatesEnabled(false);
    tvTreeView_->clear();
    items_.clear();
    items_.reserve(test.Divisions.Count() * 8 + 2);

    QList<QTreeWidgetItem*> roots;
    roots.append(MakeItem("par", QStringLiteral("Параметры теста"), TreeImage::Parameters));
    roots.append(MakeItem("mrk", QStringLiteral("Система оценок"), TreeImage::Marks));
    for (const Division& d : test.Divisions) {
        QTreeWidgetItem* node = MakeItem(d.Key, FromUtf8(TrimSpaces(d.Name)), TreeImage::Division);
        QList<QTreeWidgetItem*> children;
        children.reserve(static_cast<qsizetype>(d.Questions.Count()));
        for (const Question& q : d.Questions)
            children.append(MakeItem(q.Key, FromUtf8(QuestionCaption(q.Q())), TreeImage::Question));
        node->addChildren(children);
        roots.append(node);
    }
    tvTreeView_->addTopLevelItems(roots);
    tvTreeView_->setCurrentItem(roots.front());
    tvTreeView_->setUpdatesEnabled(true);
    selectingInCode_ = false;
}

bool StructureTree::Contains(const std::string& key) const { return items_.count(key) != 0; }

std::string StructureTree::SelectedKey() const { return KeyOf(tvTreeView_->currentItem()); }

void StructureTree::Select(const std::string& key)
{
    QTreeWidgetItem* item = Item(key);
    selectingInCode_ = true;
    {
        const QSignalBlocker blocker(tvTreeView_);
        tvTreeView_->setCurrentItem(item);
        item->setSelected(true);
    }
    if (item->parent())
        item->parent()->setExpanded(true);
    tvTreeView_->scrollToItem(item);
    selectingInCode_ = false;
}

std::string StructureTree::ParentKey(const std::string& key) const { return KeyOf(Item(key)->parent()); }

namespace {
QTreeWidgetItem* Sibling(QTreeWidget* tree, QTreeWidgetItem* item, int offset)
{
    QTreeWidgetItem* parent = item->parent();
    const int index = parent ? parent->indexOfChild(item) : tree->indexOfTopLevelItem(item);
    const int count = parent ? parent->childCount() : tree->topLevelItemCount();
    const int target = index + offset;
    if (target < 0 || target >= count)
        return nullptr;
    return parent ? parent->child(target) : tree->topLevelItem(target);
}

void InsertAt(QTreeWidget* tree, QTreeWidgetItem* parent, int index, QTreeWidgetItem* item)
{
    if (parent)
        parent->insertChild(index, item);
    else
        tree->insertTopLevelItem(index, item);
}

int IndexOf(QTreeWidget* tree, QTreeWidgetItem* item)
{
    return item->parent() ? item->parent()->indexOfChild(item) : tree->indexOfTopLevelItem(item);
}
} // namespace

std::string StructureTree::NextSiblingKey(const std::string& key) const
{
    return KeyOf(Sibling(tvTreeView_, Item(key), +1));
}

std::string StructureTree::PreviousSiblingKey(const std::string& key) const
{
    return KeyOf(Sibling(tvTreeView_, Item(key), -1));
}

int StructureTree::ChildCount(const std::string& key) const { return Item(key)->childCount(); }

std::string StructureTree::ChildKey(const std::string& key, int index) const
{
    return KeyOf(Item(key)->child(index));
}

QString StructureTree::Text(const std::string& key) const { return Item(key)->text(0); }

void StructureTree::SetText(const std::string& key, const QString& text)
{
    QTreeWidgetItem* item = Item(key);
    if (item->text(0) != text)
        item->setText(0, text);
}

void StructureTree::SetKey(const std::string& oldKey, const std::string& newKey)
{
    QTreeWidgetItem* item = Item(oldKey);
    if (items_.count(newKey))
        throw std::invalid_argument("duplicate tree key " + newKey);
    items_.erase(oldKey);
    items_.emplace(newKey, item);
    item->setData(0, kKeyRole, FromUtf8(newKey));
}

void StructureTree::AddRoot(const std::string& key, const QString& text, TreeImage image)
{
    tvTreeView_->addTopLevelItem(MakeItem(key, text, image));
}

void StructureTree::AddChild(const std::string& parentKey, const std::string& key, const QString& text,
                             TreeImage image)
{
    QTreeWidgetItem* parent = Item(parentKey);
    parent->addChild(MakeItem(key, text, image));
}

void StructureTree::InsertAfter(const std::string& siblingKey, const std::string& key, const QString& text,
                                TreeImage image)
{
    QTreeWidgetItem* sibling = Item(siblingKey);
    InsertAt(tvTreeView_, sibling->parent(), IndexOf(tvTreeView_, sibling) + 1, MakeItem(key, text, image));
}

void StructureTree::InsertBefore(const std::string& siblingKey, const std::string& key, const QString& text,
                                 TreeImage image)
{
    QTreeWidgetItem* sibling = Item(siblingKey);
    InsertAt(tvTreeView_, sibling->parent(), IndexOf(tvTreeView_, sibling), MakeItem(key, text, image));
}

void StructureTree::Remove(const std::string& key)
{
    QTreeWidgetItem* item = Item(key);
    Forget(item);
    selectingInCode_ = true;
    {
        const QSignalBlocker blocker(tvTreeView_);
        delete item;
    }
    selectingInCode_ = false;
}

DocumentOrder StructureTree::Order() const
{
    DocumentOrder order;
    for (int i = 2; i < tvTreeView_->topLevelItemCount(); ++i) {
        QTreeWidgetItem* division = tvTreeView_->topLevelItem(i);
        DocumentOrder::DivisionEntry entry;
        entry.Key = KeyOf(division);
        entry.QuestionKeys.reserve(static_cast<std::size_t>(division->childCount()));
        for (int j = 0; j < division->childCount(); ++j)
            entry.QuestionKeys.push_back(KeyOf(division->child(j)));
        order.Divisions.push_back(std::move(entry));
    }
    return order;
}

} // namespace mirvane
