#include "editor/StructureTree.h"

#include "document/TestDocument.h"
#include "model/Misc.h"
#include "platform/TextBridge.h"

#include <QEvent>
#include <QHelpEvent>
#include <QToolTip>
#include <QHeaderView>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QTreeWidget>

#include <stdexcept>

namespace mirvane {

namespace {

constexpr int kKeyRole = Qt::UserRole;

QString DivisionLabel(const Division& division) { return ToQt(TrimSpaces(division.Name)); }

QString QuestionLabel(const Question& question) { return ToQt(QuestionCaption(question.Q())); }

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

    connect(tvTreeView_, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) { Fill(KeyOf(item)); });
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
    if (watched == tvTreeView_->viewport() && event->type() == QEvent::ToolTip) {
        // The full label, when the tree's width cuts it.
        auto* help = static_cast<QHelpEvent*>(event);
        QTreeWidgetItem* item = tvTreeView_->itemAt(help->pos());
        if (item) {
            const QRect rect = tvTreeView_->visualItemRect(item);
            const int needed = rect.x() + tvTreeView_->iconSize().width() + 12 +
                               tvTreeView_->fontMetrics().horizontalAdvance(item->text(0));
            if (needed > tvTreeView_->viewport()->width()) {
                QToolTip::showText(help->globalPos(), item->text(0), tvTreeView_->viewport(), rect);
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

std::string StructureTree::KeyOf(const QTreeWidgetItem* item)
{
    return item ? item->data(0, kKeyRole).toString().toStdString() : std::string();
}

QTreeWidgetItem* StructureTree::Item(const std::string& key) const
{
    auto it = items_.find(key);
    if (it == items_.end() && KindOf(key) == NodeKind::Question && document_ && document_->Contains(key)) {
        Fill(document_->ParentOf(key));
        it = items_.find(key);
    }
    if (it == items_.end())
        throw std::out_of_range("no tree node with key " + key);
    return it->second;
}

QTreeWidgetItem* StructureTree::MakeItem(const std::string& key, const QString& text, TreeImage image) const
{
    if (items_.count(key))
        throw std::invalid_argument("duplicate tree key " + key);
    auto* item = new QTreeWidgetItem(QStringList{text});
    item->setData(0, kKeyRole, ToQt(key));
    item->setIcon(0, TreeIcon(image));
    items_.emplace(key, item);
    return item;
}

QList<QTreeWidgetItem*> StructureTree::MakeQuestionItems(const Division& division,
                                                         const std::vector<std::string>& questionKeys) const
{
    QList<QTreeWidgetItem*> children;
    children.reserve(static_cast<qsizetype>(questionKeys.size()));
    for (std::size_t j = 0; j < questionKeys.size(); ++j)
        children.append(MakeItem(questionKeys[j], QuestionLabel(QuestionInOrder(division, questionKeys, j)),
                                 TreeImage::Question));
    return children;
}

QTreeWidgetItem* StructureTree::MakeDivisionItem(const Division& division,
                                                 const std::vector<std::string>& questionKeys) const
{
    QTreeWidgetItem* node = MakeItem(division.Key, DivisionLabel(division), TreeImage::Division);
    if (!shownInParts_) {
        node->addChildren(MakeQuestionItems(division, questionKeys));
    } else if (!questionKeys.empty()) {
        node->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
        unfilled_.insert(division.Key);
    }
    return node;
}

void StructureTree::Fill(const std::string& divisionKey) const
{
    if (!unfilled_.erase(divisionKey) || !document_)
        return;
    QTreeWidgetItem* node = items_.at(divisionKey);
    const QSignalBlocker blocker(tvTreeView_);
    node->addChildren(MakeQuestionItems(document_->DivisionAt(divisionKey), document_->QuestionKeys(divisionKey)));
    node->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
}

void StructureTree::Forget(QTreeWidgetItem* item)
{
    for (int i = 0; i < item->childCount(); ++i)
        Forget(item->child(i));
    const std::string key = KeyOf(item);
    items_.erase(key);
    unfilled_.erase(key);
}

void StructureTree::BuildTree(TestDocument& document)
{
    const QSignalBlocker blocker(tvTreeView_);
    selectingInCode_ = true;
    tvTreeView_->setUpdatesEnabled(false);
    tvTreeView_->clear();
    items_.clear();
    unfilled_.clear();
    document_ = &document;
    subscription_ = document.Subscribe(*this);
    const DocumentOrder& order = document.Order();
    std::size_t questions = 0;
    for (const DocumentOrder::DivisionEntry& entry : order.Divisions)
        questions += entry.QuestionKeys.size();
    shownInParts_ = questions > questionsShownAtOnce_;
    items_.reserve((shownInParts_ ? 0 : questions) + order.Divisions.size() + kFixedRoots);

    QList<QTreeWidgetItem*> roots;
    roots.append(MakeItem(std::string(kParametersKey), QStringLiteral("Параметры теста"), TreeImage::Parameters));
    roots.append(MakeItem(std::string(kMarksKey), QStringLiteral("Система оценок"), TreeImage::Marks));
    for (const DocumentOrder::DivisionEntry& entry : order.Divisions)
        roots.append(MakeDivisionItem(document.DivisionAt(entry.Key), entry.QuestionKeys));
    tvTreeView_->addTopLevelItems(roots);
    tvTreeView_->setCurrentItem(roots.front());
    tvTreeView_->setUpdatesEnabled(true);
    selectingInCode_ = false;
}

bool StructureTree::Contains(const std::string& key) const
{
    return items_.count(key) != 0 || (KindOf(key) == NodeKind::Question && document_ && document_->Contains(key));
}

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

int StructureTree::ChildCount(const std::string& key) const
{
    Fill(key);
    return Item(key)->childCount();
}

std::string StructureTree::ChildKey(const std::string& key, int index) const
{
    Fill(key);
    return KeyOf(Item(key)->child(index));
}

QString StructureTree::Text(const std::string& key) const { return Item(key)->text(0); }

void StructureTree::SetText(const std::string& key, const QString& text)
{
    QTreeWidgetItem* item = Item(key);
    if (item->text(0) != text)
        item->setText(0, text);
}

QTreeWidgetItem* StructureTree::ParentItem(const DocumentChange& change) const
{
    return change.Parent.empty() ? tvTreeView_->invisibleRootItem() : Item(change.Parent);
}

int StructureTree::ChildIndex(const DocumentChange& change) const
{
    return static_cast<int>(change.Index) + (change.Parent.empty() ? kFixedRoots : 0);
}

void StructureTree::DocumentChanged(const DocumentChange& change)
{
    const TestDocument& document = *document_;
    if (change.What == DocumentChange::Kind::Edited) {
        const auto found = items_.find(change.Key);
        if (found == items_.end())
            return; // a field of the test, or a question not shown yet
        if (change.Field == DocumentField::DivisionName)
            SetText(change.Key, DivisionLabel(document.DivisionAt(change.Key)));
        else if (change.Field == DocumentField::QuestionText)
            SetText(change.Key, QuestionLabel(document.QuestionAt(change.Key)));
        return;
    }
    // The tree's own reactions to a node coming or going are not the user's
    // selection: the caller decides what is selected afterwards.
    selectingInCode_ = true;
    const QSignalBlocker blocker(tvTreeView_);
    switch (change.What) {
    case DocumentChange::Kind::Added: {
        if (unfilled_.count(change.Parent))
            break; // the division makes its question nodes when it is opened
        // A division put back comes with its questions.
        QTreeWidgetItem* item =
            change.Parent.empty()
                ? MakeDivisionItem(document.DivisionAt(change.Key), document.QuestionKeys(change.Key))
                : MakeItem(change.Key, QuestionLabel(document.QuestionAt(change.Key)), TreeImage::Question);
        ParentItem(change)->insertChild(ChildIndex(change), item);
        break;
    }
    case DocumentChange::Kind::Removed: {
        const auto found = items_.find(change.Key);
        if (found == items_.end())
            break; // a question of a division not opened yet
        QTreeWidgetItem* item = found->second;
        Forget(item);
        delete item;
        break;
    }
    case DocumentChange::Kind::Moved: {
        if (unfilled_.count(change.Parent))
            break;
        QTreeWidgetItem* item = Item(change.Key);
        const bool wasCurrent = tvTreeView_->currentItem() == item;
        QTreeWidgetItem* parent = ParentItem(change);
        parent->takeChild(parent->indexOfChild(item));
        parent->insertChild(ChildIndex(change), item);
        item->setExpanded(false); // a moved division is shown collapsed
        if (wasCurrent) {
            tvTreeView_->setCurrentItem(item);
            item->setSelected(true);
        }
        break;
    }
    case DocumentChange::Kind::None:
    case DocumentChange::Kind::Edited:
        break;
    }
    selectingInCode_ = false;
}

} // namespace mirvane
