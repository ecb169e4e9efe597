#include "commands/StructureCheckCommand.h"

#include "windows/FindingsWindow.h"
#include "check/StructureCheck.h"
#include "document/TestDocument.h"
#include "editor/EditorState.h"
#include "editor/PanelHost.h"
#include "tree/StructureTree.h"
#include "platform/TextBridge.h"

#include <QScreen>
#include <QWidget>

namespace mirvane {

QString StructureCheckCommand::RunCheck()
{
    const TestDocument& document = host_.CommittedDocument();
    const CheckFinding finding = CheckStructure(document.Model());
    if (finding.Found) {
        // The shown panel was stored above; the finding's node becomes
        // current and its panel is shown.
        tree_.Select(finding.NodeKey);
        host_.ShowSelectedNode();
        tree_.Select(state_.CurrentKey); // scrolled into view
    }
    return ToQt(finding.Message);
}

FindingsWindow* StructureCheckCommand::Window() const { return findings_; }

void StructureCheckCommand::ShowFindingsWindow()
{
    if (!findings_) {
        findings_ = new FindingsWindow(&mainWindow_, [this] { return RunCheck(); });
        findings_->setAttribute(Qt::WA_DeleteOnClose);
        // Beside the main window where the screen has room, so that the
        // panel the user mends stays in view.
        findings_->adjustSize();
        const QRect main = mainWindow_.frameGeometry();
        const QScreen* screen = mainWindow_.screen();
        const QRect room = screen ? screen->availableGeometry() : QRect();
        QPoint at(main.right() + 8, main.top());
        if (!room.contains(QRect(at, findings_->frameSize())))
            at = QPoint(main.left(), main.bottom() + 8);
        if (room.contains(QRect(at, findings_->frameSize())))
            findings_->move(at);
    }
    findings_->show();
    findings_->raise();
    findings_->activateWindow();
}

} // namespace mirvane
