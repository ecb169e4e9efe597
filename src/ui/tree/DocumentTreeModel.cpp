#include "tree/DocumentTreeModel.h"

#include "document/TestDocument.h"
#include "tree/TreeImages.h"
#include "model/Misc.h"
#include "platform/TextBridge.h"

#include <QMimeData>

#include <algorithm>

namespace mirvane {

namespace {

const QString kNodeMime = QStringLiteral("application/x-mirvane-node");

// Restores the count on every way out, an exception included.
class Counting {
public:
    explicit Counting(int& count) : count_(count) { ++count_; }
    ~Counting() { --count_; }
    Counting(const Counting&) = delete;
    Counting& operator=(const Counting&) = delete;

private:
    int& count_;
};

} // namespace

DocumentTreeModel::DocumentTreeModel(QObject* parent) : QAbstractItemModel(parent) {}

void DocumentTreeModel::SetDocument(TestDocument& document)
{
    beginResetModel();
    document_ = &document;
    subscription_ = document.Subscribe(*this);
    divisions_.clear();
    divisions_.reserve(document.Order().Divisions.size());
    for (const DocumentOrder::DivisionEntry& entry : document.Order().Divisions)
        divisions_.push_back(std::make_unique<DivisionRows>(DivisionRows{entry.Key, entry.QuestionKeys.empty(), {}}));
    endResetModel();
}

DocumentTreeModel::DivisionRows* DocumentTreeModel::Division(const std::string& key, int* row) const
{
    const auto it = std::find_if(divisions_.begin(), divisions_.end(), [&](const auto& d) { return d->key == key; });
    if (it == divisions_.end())
        return nullptr;
    if (row)
        *row = kFixedRows + static_cast<int>(it - divisions_.begin());
    return it->get();
}

DocumentTreeModel::DivisionRows* DocumentTreeModel::DivisionOf(const QModelIndex& index) const
{
    // A division's row is a top row below the fixed ones.
    if (!index.isValid() || index.internalPointer() || index.row() < kFixedRows)
        return nullptr;
    return divisions_.at(static_cast<std::size_t>(index.row() - kFixedRows)).get();
}

QModelIndex DocumentTreeModel::IndexOf(const std::string& key)
{
    switch (KindOf(key)) {
    case NodeKind::Parameters:
        return index(0, 0);
    case NodeKind::Marks:
        return index(1, 0);
    case NodeKind::Division: {
        int row = 0;
        return Division(key, &row) ? index(row, 0) : QModelIndex();
    }
    case NodeKind::Question: {
        if (!document_ || !document_->Contains(key))
            return {};
        int row = 0;
        DivisionRows* division = Division(document_->ParentOf(key), &row);
        if (!division)
            return {};
        const QModelIndex parent = index(row, 0);
        if (!division->fetched)
            fetchMore(parent);
        const auto it = std::find(division->questions.begin(), division->questions.end(), key);
        if (it == division->questions.end())
            return {};
        return index(static_cast<int>(it - division->questions.begin()), 0, parent);
    }
    default:
        return {};
    }
}

std::string DocumentTreeModel::KeyOf(const QModelIndex& index)
{
    return index.data(kKeyRole).toString().toStdString();
}

bool DocumentTreeModel::Contains(const std::string& key) const
{
    switch (KindOf(key)) {
    case NodeKind::Parameters:
    case NodeKind::Marks:
        return true;
    case NodeKind::Division:
        return Division(key) != nullptr;
    case NodeKind::Question:
        return document_ && document_->Contains(key);
    default:
        return false;
    }
}

QModelIndex DocumentTreeModel::index(int row, int column, const QModelIndex& parent) const
{
    if (column != 0 || row < 0)
        return {};
    if (!parent.isValid())
        return row < rowCount() ? createIndex(row, 0, nullptr) : QModelIndex();
    DivisionRows* division = DivisionOf(parent);
    if (!division || row >= static_cast<int>(division->questions.size()))
        return {};
    return createIndex(row, 0, division);
}

QModelIndex DocumentTreeModel::parent(const QModelIndex& child) const
{
    const auto* division = static_cast<const DivisionRows*>(child.internalPointer());
    if (!child.isValid() || !division)
        return {};
    int row = 0;
    Division(division->key, &row);
    return createIndex(row, 0, nullptr);
}

int DocumentTreeModel::rowCount(const QModelIndex& parent) const
{
    if (!parent.isValid())
        return document_ ? kFixedRows + static_cast<int>(divisions_.size()) : 0;
    const DivisionRows* division = DivisionOf(parent);
    return division ? static_cast<int>(division->questions.size()) : 0;
}

int DocumentTreeModel::columnCount(const QModelIndex&) const { return 1; }

bool DocumentTreeModel::hasChildren(const QModelIndex& parent) const
{
    if (!parent.isValid())
        return rowCount() > 0;
    const DivisionRows* division = DivisionOf(parent);
    if (!division)
        return false;
    return division->fetched ? !division->questions.empty() : !document_->QuestionKeys(division->key).empty();
}

bool DocumentTreeModel::canFetchMore(const QModelIndex& parent) const
{
    const DivisionRows* division = DivisionOf(parent);
    return division && !division->fetched;
}

void DocumentTreeModel::fetchMore(const QModelIndex& parent)
{
    DivisionRows* division = DivisionOf(parent);
    if (!division || division->fetched)
        return;
    const std::vector<std::string>& keys = document_->QuestionKeys(division->key);
    division->fetched = true;
    if (keys.empty())
        return;
    beginInsertRows(parent, 0, static_cast<int>(keys.size()) - 1);
    division->questions = keys;
    endInsertRows();
}

Qt::ItemFlags DocumentTreeModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractItemModel::flags(index) | Qt::ItemIsDropEnabled;
    const NodeKind kind = KindOf(KeyOf(index));
    if (kind == NodeKind::Division || kind == NodeKind::Question)
        flags |= Qt::ItemIsDragEnabled;
    return flags;
}

QStringList DocumentTreeModel::mimeTypes() const { return {kNodeMime}; }

QMimeData* DocumentTreeModel::mimeData(const QModelIndexList& indexes) const
{
    if (indexes.size() != 1)
        return nullptr;
    auto* data = new QMimeData;
    data->setData(kNodeMime, QByteArray::fromStdString(KeyOf(indexes.front())));
    return data;
}

bool DocumentTreeModel::DropPlace(const QMimeData* data, int row, const QModelIndex& parent, Drop& drop) const
{
    if (!data || !data->hasFormat(kNodeMime) || !document_)
        return false;
    drop.key = data->data(kNodeMime).toStdString();
    if (!document_->Contains(drop.key))
        return false;
    const std::string onto = KeyOf(parent);
    if (KindOf(drop.key) == NodeKind::Division) {
        int at = 0; // the row it goes before, among the top rows
        if (!parent.isValid())
            at = row < 0 ? rowCount() : row;
        else if (KindOf(onto) == NodeKind::Division && row < 0)
            at = parent.row() + 1;
        else
            return false;
        if (at < kFixedRows)
            return false; // the parameters and the marks stay first
        int from = 0;
        Division(drop.key, &from);
        drop.index = static_cast<std::size_t>(at - kFixedRows - (at > from ? 1 : 0));
        return drop.index != static_cast<std::size_t>(from - kFixedRows);
    }
    // A question: into a division, or after the question it is dropped onto.
    std::size_t at = 0;
    if (KindOf(onto) == NodeKind::Division) {
        drop.division = onto;
        const DivisionRows* division = Division(onto);
        at = row < 0 || !division->fetched ? document_->QuestionKeys(onto).size() : static_cast<std::size_t>(row);
    } else if (KindOf(onto) == NodeKind::Question && row < 0) {
        drop.division = document_->ParentOf(onto);
        const std::vector<std::string>& keys = document_->QuestionKeys(drop.division);
        at = static_cast<std::size_t>(std::find(keys.begin(), keys.end(), onto) - keys.begin()) + 1;
    } else {
        return false;
    }
    if (document_->ParentOf(drop.key) == drop.division) {
        const std::vector<std::string>& keys = document_->QuestionKeys(drop.division);
        const auto from = static_cast<std::size_t>(std::find(keys.begin(), keys.end(), drop.key) - keys.begin());
        drop.index = at - (at > from ? 1 : 0);
        return drop.index != from;
    }
    drop.index = at;
    return true;
}

bool DocumentTreeModel::canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int,
                                        const QModelIndex& parent) const
{
    Drop drop;
    return action == Qt::MoveAction && DropPlace(data, row, parent, drop);
}

bool DocumentTreeModel::dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int,
                                     const QModelIndex& parent)
{
    Drop drop;
    if (action != Qt::MoveAction || !DropPlace(data, row, parent, drop))
        return false;
    emit MoveRequested(drop.key, drop.division, drop.index);
    return true;
}

QString DocumentTreeModel::Label(const std::string& key) const
{
    switch (KindOf(key)) {
    case NodeKind::Parameters:
        return QStringLiteral("Параметры теста");
    case NodeKind::Marks:
        return QStringLiteral("Система оценок");
    case NodeKind::Division:
        return ToQt(TrimSpaces(document_->DivisionAt(key).Name));
    case NodeKind::Question:
        return ToQt(QuestionCaption(document_->QuestionAt(key).Q()));
    default:
        return {};
    }
}

QVariant DocumentTreeModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !document_)
        return {};
    const auto* division = static_cast<const DivisionRows*>(index.internalPointer());
    const std::size_t row = static_cast<std::size_t>(index.row());
    std::string key;
    if (division)
        key = division->questions.at(row);
    else if (row >= kFixedRows)
        key = divisions_.at(row - kFixedRows)->key;
    else
        key = std::string(row == 0 ? kParametersKey : kMarksKey);
    switch (role) {
    case Qt::DisplayRole:
        return Label(key);
    case Qt::DecorationRole: {
        static const TreeImage images[] = {TreeImage::Parameters, TreeImage::Parameters, TreeImage::Marks,
                                           TreeImage::Division, TreeImage::Question};
        return TreeIcon(images[static_cast<int>(KindOf(key))]);
    }
    case kKeyRole:
        return ToQt(key);
    default:
        return {};
    }
}

void DocumentTreeModel::DocumentChanged(const DocumentChange& change)
{
    const Counting following(following_);
    Follow(change);
}

void DocumentTreeModel::Follow(const DocumentChange& change)
{
    using Kind = DocumentChange::Kind;
    if (change.What == Kind::Edited) {
        if (change.Field != DocumentField::DivisionName && change.Field != DocumentField::QuestionText)
            return;
        int row = 0;
        if (change.Parent.empty()) {
            if (Division(change.Key, &row))
                emit dataChanged(index(row, 0), index(row, 0), {Qt::DisplayRole});
            return;
        }
        DivisionRows* division = Division(change.Parent, &row);
        if (!division || !division->fetched)
            return;
        const auto it = std::find(division->questions.begin(), division->questions.end(), change.Key);
        if (it != division->questions.end()) {
            const QModelIndex at = index(static_cast<int>(it - division->questions.begin()), 0, index(row, 0));
            emit dataChanged(at, at, {Qt::DisplayRole});
        }
        return;
    }
    if (change.What == Kind::Moved && !change.Parent.empty()) {
        FollowQuestionMove(change);
        return;
    }

    // The rows among which the change happened.
    QModelIndex parent;
    int offset = kFixedRows;
    std::vector<std::string>* questions = nullptr;
    if (!change.Parent.empty()) {
        int row = 0;
        DivisionRows* division = Division(change.Parent, &row);
        if (!division || !division->fetched)
            return; // its rows are made from the document when it is opened
        parent = index(row, 0);
        offset = 0;
        questions = &division->questions;
    }
    const int at = offset + static_cast<int>(change.Index);
    switch (change.What) {
    case Kind::Added:
        beginInsertRows(parent, at, at);
        if (questions) {
            questions->insert(questions->begin() + static_cast<std::ptrdiff_t>(change.Index), change.Key);
        } else {
            // A division put back comes with its question rows: made later,
            // they would be inserted while the view still takes in this row.
            divisions_.insert(divisions_.begin() + static_cast<std::ptrdiff_t>(change.Index),
                              std::make_unique<DivisionRows>(
                                  DivisionRows{change.Key, true, document_->QuestionKeys(change.Key)}));
        }
        endInsertRows();
        break;
    case Kind::Removed:
        beginRemoveRows(parent, at, at);
        if (questions)
            questions->erase(questions->begin() + static_cast<std::ptrdiff_t>(change.Index));
        else
            divisions_.erase(divisions_.begin() + static_cast<std::ptrdiff_t>(change.Index));
        endRemoveRows();
        break;
    case Kind::Moved: {
        const int from = offset + static_cast<int>(change.From);
        if (from == at)
            break;
        // Qt counts the destination before the move: one more when moving down.
        beginMoveRows(parent, from, from, parent, at > from ? at + 1 : at);
        auto moved = std::move(divisions_[change.From]);
        divisions_.erase(divisions_.begin() + static_cast<std::ptrdiff_t>(change.From));
        divisions_.insert(divisions_.begin() + static_cast<std::ptrdiff_t>(change.Index), std::move(moved));
        endMoveRows();
        break;
    }
    default:
        break;
    }
}

void DocumentTreeModel::FollowQuestionMove(const DocumentChange& change)
{
    // A division not opened yet makes its rows from the document later: the
    // question only leaves or joins the rows that exist.
    int fromRow = 0, toRow = 0;
    DivisionRows* source = Division(change.FromParent, &fromRow);
    DivisionRows* target = Division(change.Parent, &toRow);
    const bool leaves = source && source->fetched;
    const bool joins = target && target->fetched;
    const int from = static_cast<int>(change.From);
    const int to = static_cast<int>(change.Index);
    const QModelIndex sourceIndex = index(fromRow, 0);
    const QModelIndex targetIndex = index(toRow, 0);
    if (leaves && joins) {
        const bool same = source == target;
        if (same && from == to)
            return;
        // Qt counts the destination before the move: one more when moving down.
        beginMoveRows(sourceIndex, from, from, targetIndex, same && to > from ? to + 1 : to);
        source->questions.erase(source->questions.begin() + from);
        target->questions.insert(target->questions.begin() + to, change.Key);
        endMoveRows();
    } else if (leaves) {
        beginRemoveRows(sourceIndex, from, from);
        source->questions.erase(source->questions.begin() + from);
        endRemoveRows();
    } else if (joins) {
        beginInsertRows(targetIndex, to, to);
        target->questions.insert(target->questions.begin() + to, change.Key);
        endInsertRows();
    }
}

} // namespace mirvane
