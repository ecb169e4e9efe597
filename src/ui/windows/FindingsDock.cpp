#include "windows/FindingsDock.h"

#include "model/Misc.h"
#include "model/Test.h"
#include "platform/Settings.h"
#include "platform/TextBridge.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QMenu>
#include <QTimer>
#include <QTreeView>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <tuple>

namespace mirvane {

namespace {

const QString kSection = QStringLiteral("Settings");
const QString kWarningsOff = QStringLiteral("FindingsWarningsOff");

QString WarningCaption(WarningKind kind)
{
    switch (kind) {
    case WarningKind::SameQuestion:
        return QStringLiteral("Одинаковые вопросы");
    case WarningKind::SameAnswers:
        return QStringLiteral("Одинаковые ответы в вопросе");
    case WarningKind::MarkNeverGiven:
        return QStringLiteral("Оценка, которую нельзя получить");
    case WarningKind::BestAlwaysInPlace:
        return QStringLiteral("Лучший ответ всегда на одном месте");
    case WarningKind::NothingAsked:
        return QStringLiteral("Раздел, из которого ничего не задаётся");
    }
    return {};
}

QString PlaceOf(const FindingNode& node, const Test& test)
{
    switch (node.Kind) {
    case NodeKind::Parameters:
        return QStringLiteral("Параметры теста");
    case NodeKind::Marks:
        return QStringLiteral("Оценки");
    case NodeKind::Division:
        return QStringLiteral("Раздел %1 «%2»")
            .arg(node.Division + 1)
            .arg(ToQt(JoinLines(test.Divisions.Item(node.Division + 1).Name)));
    case NodeKind::Question:
        return QStringLiteral("Раздел %1, вопрос %2").arg(node.Division + 1).arg(node.Question + 1);
    case NodeKind::None:
        break;
    }
    return {};
}

// The test and its marks first, then each division followed by its questions.
auto ListOrder(const FindingNode& node)
{
    const bool inDivision = node.Kind == NodeKind::Division || node.Kind == NodeKind::Question;
    const std::size_t question = node.Kind == NodeKind::Question ? node.Question + 1 : 0;
    return std::make_tuple(inDivision ? 2 : node.Kind == NodeKind::Marks ? 1 : 0, inDivision ? node.Division : 0,
                           question);
}

} // namespace

// The rows of the last check; a new check replaces them all at once, so the
// user's thread never builds the rows one by one.
class FindingsModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    void Show(std::vector<FindingsDock::Row> rows)
    {
        beginResetModel();
        rows_.swap(rows);
        endResetModel();
        // The old rows go on the way out, after the view is told.
    }
    const std::vector<FindingsDock::Row>& Rows() const { return rows_; }

    int rowCount(const QModelIndex& parent) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(rows_.size());
    }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : 2; }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || index.row() >= static_cast<int>(rows_.size()))
            return {};
        const FindingsDock::Row& row = rows_[static_cast<std::size_t>(index.row())];
        if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
            if (index.column() == 0)
                return row.Place;
            return row.Warning ? QStringLiteral("предупреждение: ") + row.Text : row.Text;
        }
        return {};
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return {};
        return section == 0 ? QStringLiteral("Где") : QStringLiteral("Замечание");
    }

private:
    std::vector<FindingsDock::Row> rows_;
};

std::vector<FindingsDock::Row> FindingsDock::RowsFor(const Test& test, const WarningSwitches& warnings)
{
    std::vector<Finding> findings = FindAll(test, warnings);
    std::stable_sort(findings.begin(), findings.end(),
                     [](const Finding& a, const Finding& b) { return ListOrder(a.Node) < ListOrder(b.Node); });
    std::vector<Row> rows;
    rows.reserve(findings.size());
    for (const Finding& f : findings)
        rows.push_back({ToQt(f.Node.Key), PlaceOf(f.Node, test), ToQt(JoinLines(FindingText(f, nullptr))),
                        f.Level == Finding::Severity::Warning});
    return rows;
}

FindingsDock::FindingsDock(QWidget* parent, Settings& settings, std::function<WorkCopyStep()> snapshot)
    : QDockWidget(QStringLiteral("Замечания"), parent), settings_(settings), snapshot_(std::move(snapshot))
{
    setObjectName(QStringLiteral("FindingsDock"));
    const QStringList off = settings_.Read(kSection, kWarningsOff, QString()).split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QString& name : off) {
        if (const auto kind = WarningByName(name.toStdString()))
            warnings_.Set(*kind, false);
    }

    list_ = new QTreeView(this);
    list_->setObjectName(QStringLiteral("FindingsList"));
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true); // a long list is laid out without measuring each row
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    model_ = new FindingsModel(list_);
    list_->setModel(model_);
    list_->header()->setStretchLastSection(true);
    list_->header()->resizeSection(0, 200);
    setWidget(list_);
    connect(list_, &QTreeView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid())
            emit NodeChosen(model_->Rows()[static_cast<std::size_t>(index.row())].Key);
    });

    menu_ = new QMenu(this);
    menu_->setObjectName(QStringLiteral("FindingsMenu"));
    for (std::size_t k = 0; k < kWarningKinds; ++k) {
        const auto kind = static_cast<WarningKind>(k);
        QAction* action = menu_->addAction(WarningCaption(kind));
        action->setCheckable(true);
        action->setChecked(warnings_.IsOn(kind));
        connect(action, &QAction::toggled, this, [this, kind](bool on) { SetWarning(kind, on); });
    }
    connect(list_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { menu_->popup(list_->viewport()->mapToGlobal(at)); });

    delay_ = new QTimer(this);
    delay_->setSingleShot(true);
    delay_->setInterval(kRefreshDelayMs);
    connect(delay_, &QTimer::timeout, this, [this] { StartCheck(); });
    connect(&running_, &QFutureWatcher<std::vector<Row>>::finished, this, [this] { CheckDone(); });
    // Nothing is checked while the list is hidden; it is brought up to date
    // when shown.
    connect(this, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        if (visible)
            RefreshNow();
    });
}

FindingsDock::~FindingsDock()
{
    if (running_.isRunning())
        running_.waitForFinished();
}

const std::vector<FindingsDock::Row>& FindingsDock::Rows() const { return model_->Rows(); }

void FindingsDock::SetWarning(WarningKind kind, bool on)
{
    if (warnings_.IsOn(kind) == on)
        return;
    warnings_.Set(kind, on);
    QStringList off;
    for (std::size_t k = 0; k < kWarningKinds; ++k) {
        if (!warnings_.IsOn(static_cast<WarningKind>(k)))
            off << QString::fromLatin1(WarningName(static_cast<WarningKind>(k)));
    }
    settings_.Write(kSection, kWarningsOff, off.join(QLatin1Char(',')));
    const QList<QAction*> actions = menu_->actions();
    actions[static_cast<int>(kind)]->setChecked(on);
    RefreshNow();
}

void FindingsDock::RefreshSoon()
{
    if (isVisible())
        delay_->start();
}

void FindingsDock::RefreshNow()
{
    delay_->stop();
    if (isVisible())
        StartCheck();
}

void FindingsDock::StartCheck()
{
    if (running_.isRunning()) {
        again_ = true; // after this check, with the test as it is then
        return;
    }
    again_ = false;
    running_.setFuture(QtConcurrent::run([step = snapshot_(), warnings = warnings_]() mutable {
        std::vector<Row> rows;
        step.Use([&rows, &warnings](const Test& test) { rows = RowsFor(test, warnings); });
        return rows;
    }));
}

void FindingsDock::CheckDone()
{
    model_->Show(running_.future().takeResult());
    emit Refreshed();
    if (again_)
        StartCheck();
}

} // namespace mirvane
