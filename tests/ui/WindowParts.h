#pragma once
// The main window's parts, as tests and benchmarks reach them: the window
// itself offers none of them.
#include "mainwindow/MainWindow.h"
#include "windows/SummaryWindow.h"

namespace mirvane::testing {

class WindowParts {
public:
    explicit WindowParts(MainWindow& window) : window_(window) {}

    EditorState& State() const { return window_.state_; }
    StructureTree& Tree() const { return *window_.tree_; }
    EditPanels& Panels() const { return *window_.panels_; }
    WindowSizing& Sizing() const { return *window_.sizing_; }
    DocumentCommands& Documents() const { return *window_.documents_; }
    StructuralEdits& Edits() const { return *window_.edits_; }
    EditHistory& History() const { return *window_.history_; }
    FindBar& Find() const { return *window_.findBar_; }
    CommandActions& Actions() const { return *window_.actions_; }
    StructureCheckCommand& Check() const { return *window_.check_; }
    ExportCommands& Exports() const { return *window_.exports_; }
    PreviewCommand& Preview() const { return *window_.preview_; }
    HelpCommands& Help() const { return *window_.help_; }
    RecentFilesMenu& RecentMenu() const { return *window_.recentMenu_; }
    TreeContextMenu& ContextMenu() const { return *window_.contextMenu_; }
    StatusFeedback& Feedback() const { return *window_.feedback_; }
    FindingsDock& Findings() const { return *window_.findings_; }
    PanelSpelling& Spelling() const { return *window_.spelling_; }
    RecoveryStore* Recovery() const { return window_.recovery_.get(); }
    SummaryWindow* Summary() const { return window_.summary_; }

private:
    MainWindow& window_;
};

} // namespace mirvane::testing

namespace mirvane {
// Found by argument lookup from any namespace.
inline testing::WindowParts Parts(MainWindow& window) { return testing::WindowParts(window); }
} // namespace mirvane
