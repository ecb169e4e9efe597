#include "commands/StructureCheckCommand.h"

#include "windows/Speller.h"
#include "check/StructureCheck.h"
#include "document/TestDocument.h"
#include "editor/EditorState.h"
#include "editor/PanelHost.h"
#include "tree/StructureTree.h"
#include "platform/TextBridge.h"

#include <QScreen>
#include <QWidget>

namespace mirvane {

QString StructureCheckCommand::SpellTest()
{
    const TestDocument& document = host_.CommittedDocument();
    const CheckFinding finding = CheckStructure(document.Model());
    if (finding.Found) {
        // The shown panel was stored above; the finding's node becomes
        // current and its panel is shown.
        tree_.Select(finding.NodeKey);
        host_.tvTreeView_Click();
        tree_.Select(state_.CurrentKey); // scrolled into view
    }
    return ToQt(finding.Message);
}

Speller* StructureCheckCommand::Window() const { return speller_; }

void StructureCheckCommand::ShowSpeller()
{
    if (!speller_) {
        speller_ = new Speller(&mainWindow_, [this] { return SpellTest(); });
        speller_->setAttribute(Qt::WA_DeleteOnClose);
        // Beside the main window where the screen has room, so that the
        // panel the user mends stays in view.
        speller_->adjustSize();
        const QRect main = mainWindow_.frameGeometry();
        const QScreen* screen = mainWindow_.screen();
        const QRect room = screen ? screen->availableGeometry() : QRect();
        QPoint at(main.right() + 8, main.top());
        if (!room.contains(QRect(at, speller_->frameSize())))
            at = QPoint(main.left(), main.bottom() + 8);
        if (room.contains(QRect(at, speller_->frameSize())))
            speller_->move(at);
    }
    speller_->show();
    speller_->raise();
    speller_->activateWindow();
}

} // namespace mirvane
