#pragma once
// "Замечания": every finding and warning of the open test in a dock, each
// beside the node it concerns. The list follows the edits: a moment after
// the last one the test is copied as the user sees it and checked on
// another thread, so that a large test never holds up typing. A double-click
// asks for the node to be shown; the list's menu switches each kind of
// warning off and on, and the choice is kept.
#include "check/TestFindings.h"
#include "document/WorkCopy.h"

#include <QDockWidget>
#include <QFutureWatcher>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QMenu;
class QTimer;
class QTreeView;

namespace mirvane {

class FindingsModel;
class Settings;
class Test;

class FindingsDock : public QDockWidget {
    Q_OBJECT
public:
    // One line of the list.
    struct Row {
        QString Key;   // the node: "par", "mrk" or a division's or question's key
        QString Place; // the node as the user knows it
        QString Text;
        bool Warning = false;
    };

    // `snapshot` takes what changed in the test as the window shows it,
    // typed values included; it runs on the user's thread and must be
    // quick. The copy is brought up to date on the checking thread.
    FindingsDock(QWidget* parent, Settings& settings, std::function<WorkCopyStep()> snapshot);
    ~FindingsDock() override;

    // How long the list waits after an edit, so that typing is not checked
    // key by key.
    static constexpr int kRefreshDelayMs = 300;

    // After an edit: the list is checked again once the edits pause.
    void RefreshSoon();
    // On a save or a new document: checked again at once.
    void RefreshNow();

    QTreeView* List() const { return list_; }
    QMenu* ListMenu() const { return menu_; }
    const std::vector<Row>& Rows() const;

    const WarningSwitches& Warnings() const { return warnings_; }
    void SetWarning(WarningKind kind, bool on);

    // The rows for a test, in the order of its divisions and questions
    // after the findings about the test and its marks.
    static std::vector<Row> RowsFor(const Test& test, const WarningSwitches& warnings);

signals:
    void NodeChosen(const QString& key);
    // The list shows the result of a check.
    void Refreshed();

private:
    void StartCheck();
    void CheckDone();

    Settings& settings_;
    std::function<WorkCopyStep()> snapshot_;
    WarningSwitches warnings_;
    QTreeView* list_ = nullptr;
    FindingsModel* model_ = nullptr;
    QMenu* menu_ = nullptr;
    QTimer* delay_ = nullptr;
    QFutureWatcher<std::vector<Row>> running_;
    bool again_ = false; // an edit came while a check ran
};

} // namespace mirvane
