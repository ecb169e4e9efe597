#pragma once
// The main window: the structure tree on the left, the editing panel on the
// right. It owns the editor's parts and wires their events: the one place
// that includes them all. Each part keeps its own logic and is given only
// what it uses.
#include "editor/EditorState.h"
#include "editor/PanelHost.h"
#include "platform/Platform.h"

#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <memory>

class QLabel;
class QStatusBar;
class QToolBar;

namespace mirvane {

class ClipboardCommands;
class CommandActions;
class DocumentCommands;
class ExportCommands;
class HelpCommands;
class PreviewCommand;
class RecentFiles;
class RecoveryStore;
class RecentFilesMenu;
class StructureCheckCommand;
class EditHistory;
class FindingsDock;
class SummaryWindow;
class Test;
class EditPanels;
class FieldHistory;
class FindBar;
class FieldEditing;
class PanelSpelling;
class PanelFields;
class PanelTransfer;
class StatusFeedback;
class StructuralEdits;
class StructureTree;
class TreeContextMenu;
class WindowLifecycle;
class WindowSizing;
class WorkCopyKeeper;

namespace testing {
class WindowParts;
}

class MainWindow : public QMainWindow, public PanelHost {
    Q_OBJECT
public:
    explicit MainWindow(const Platform& platform, QWidget* parent = nullptr);
    ~MainWindow() override;

    // PanelHost
    void ShowSelectedNode() override;
    void Data2Form() override;
    void ShowDocument(std::unique_ptr<TestDocument> document) override;
    TestDocument& CommittedDocument() override;

    // Keeps a copy of the work as the window shows it, what is typed in the
    // panel included, when it changed (every 30 seconds by the window's
    // timer).
    void SnapshotWork();
    // At start: offers the work an editor left behind when it ended
    // without closing.
    void OfferRecovery();
    // Opens a test named on the command line.
    void OpenFile(const QString& path);

    void LayOutForm();
    void Form2Data();
    void SetCaption(const QString& title);

    // Runs an operation from an event: an error never escapes into the event
    // loop; it is reported in a message box naming what failed.
    void RunGuarded(const QString& what, const std::function<void()>& action);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // A test file dropped on the window is opened, after the save prompt.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Alt+F4 closes the window when the key reaches the editor itself.
    void keyPressEvent(QKeyEvent* event) override;
    // The panel is laid out again when a dock takes room from it.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Tests and benchmarks reach the parts through it; the window offers
    // none of them to the program.
    friend class testing::WindowParts;

    void CreateParts();
    void CreateCommands();
    void FocusAdded(const std::string& key);
    void CreateFindings();
    // The test as the window shows it, typed values included, in document
    // order; the document and the panel stay as they are.
    std::unique_ptr<Test> WorkCopy() const;
    void ShowSummary();
    // A node the findings list names: selected, its panel shown.
    void ShowNode(const std::string& key);

    Platform platform_;
    EditorState state_;
    // The findings list's copy of the document, brought up to date by steps.
    std::unique_ptr<WorkCopyKeeper> workCopies_;
    QToolBar* tbToolBar_ = nullptr;
    QStatusBar* sbStatusBar_ = nullptr;
    QWidget* client_ = nullptr;
    QWidget* picTitles_ = nullptr;
    QLabel* lblTitle_[2] = {nullptr, nullptr};
    QWidget* imgSplitter_ = nullptr;
    QWidget* picSplitter_ = nullptr;
    QWidget* pane_ = nullptr;
    StructureTree* tree_ = nullptr;
    EditPanels* panels_ = nullptr;
    std::unique_ptr<PanelFields> panelFields_;
    std::unique_ptr<PanelTransfer> transfer_;
    WindowSizing* sizing_ = nullptr;
    std::unique_ptr<DocumentCommands> documents_;
    WindowLifecycle* lifecycle_ = nullptr;
    EditHistory* history_ = nullptr;
    std::unique_ptr<StructuralEdits> edits_;
    FieldHistory* fieldHistory_ = nullptr;
    FindBar* findBar_ = nullptr;
    FieldEditing* fieldEditing_ = nullptr;
    std::unique_ptr<StructureCheckCommand> check_;
    std::unique_ptr<ExportCommands> exports_;
    std::unique_ptr<ClipboardCommands> clipboard_;
    std::unique_ptr<PreviewCommand> preview_;
    std::unique_ptr<HelpCommands> help_;
    std::unique_ptr<RecentFiles> recent_;
    std::unique_ptr<RecoveryStore> recovery_;
    RecentFilesMenu* recentMenu_ = nullptr;
    CommandActions* actions_ = nullptr;
    TreeContextMenu* contextMenu_ = nullptr;
    StatusFeedback* feedback_ = nullptr;
    FindingsDock* findings_ = nullptr;
    QPointer<SummaryWindow> summary_;
    PanelSpelling* spelling_ = nullptr;
};

} // namespace mirvane
