#pragma once
// The main window: the structure tree on the left, the editing panel on the
// right. It owns the editor's parts and wires their events; each part keeps
// its own logic.
#include "editor/EditorState.h"
#include "platform/Platform.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class QLabel;
class QStatusBar;
class QToolBar;

namespace mirvane {

class DocumentCommands;
class FieldEditing;
class MainToolbar;
class StructuralEdits;
class TreeContextMenu;
class EditPanels;
class PanelTransfer;
class WindowLifecycle;
class StructureTree;
class WindowSizing;

inline const QString kProgramName = QStringLiteral("Mirvane");

class frmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit frmMain(const Platform& platform, QWidget* parent = nullptr);
    ~frmMain() override;

    EditorState& State() { return state_; }
    StructureTree& Tree() { return *tree_; }
    EditPanels& Panels() { return *panels_; }
    WindowSizing& Sizing() { return *sizing_; }
    DocumentCommands& Documents() { return *documents_; }
    WindowLifecycle& Lifecycle() { return *lifecycle_; }
    StructuralEdits& Edits() { return *edits_; }
    MainToolbar& Toolbar() { return *toolbar_; }
    TreeContextMenu& ContextMenu() { return *contextMenu_; }
    const Platform& Services() const { return platform_; }

    // The selection procedure: stores the shown panel into its item, makes
    // the selected node current, fills and lays out its panel.
    void tvTreeView_Click();
    void LayOutForm();
    void Form2Data();
    void Data2Form();

    // Replaces the document and shows it: tree rebuilt, "par" current, its
    // panel filled and laid out, caption from the title.
    void ShowDocument(std::unique_ptr<Test> document);
    void SetCaption(const QString& title);

    // Runs an operation from an event: an error never escapes into the event
    // loop; it is reported in a message box.
    void RunGuarded(const std::function<void()>& action);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateParts();
    void CreateCommands();

    Platform platform_;
    EditorState state_;
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
    std::unique_ptr<PanelTransfer> transfer_;
    WindowSizing* sizing_ = nullptr;
    std::unique_ptr<DocumentCommands> documents_;
    WindowLifecycle* lifecycle_ = nullptr;
    std::unique_ptr<StructuralEdits> edits_;
    FieldEditing* fieldEditing_ = nullptr;
    MainToolbar* toolbar_ = nullptr;
    TreeContextMenu* contextMenu_ = nullptr;
};

} // namespace mirvane
