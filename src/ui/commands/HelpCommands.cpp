#include "commands/HelpCommands.h"

#include "windows/AboutWindow.h"
#include "editor/EditorState.h"
#include "platform/HelpViewer.h"
#include "platform/Prompter.h"

#include <QFileInfo>
#include <QWidget>

namespace mirvane {

QString HelpTopic(const std::string& currentKey)
{
    switch (KindOf(currentKey)) {
    case NodeKind::Parameters:
        return QStringLiteral("Параметры теста.htm");
    case NodeKind::Marks:
        return QStringLiteral("Система оценок.htm");
    case NodeKind::Division:
        return QStringLiteral("Параметры раздела.htm");
    case NodeKind::Question:
        return QStringLiteral("Редактирование вопроса.htm");
    default:
        return QStringLiteral("index.htm");
    }
}

QString HelpCommands::HelpFolder() const
{
    // Beside the program in the build; installed, the program is in
    // lib/mirvane/ (or bin/) below the prefix, the help in share/mirvane/help.
    for (const QString& candidate : {programFolder_ + QStringLiteral("/help"),
                                     programFolder_ + QStringLiteral("/../share/mirvane/help"),
                                     programFolder_ + QStringLiteral("/../../share/mirvane/help")}) {
        if (QFileInfo(candidate + QStringLiteral("/index.htm")).isFile())
            return QFileInfo(candidate).canonicalFilePath();
    }
    return {};
}

void HelpCommands::ShowHelpTopic()
{
    const QString folder = HelpFolder();
    if (folder.isEmpty()) {
        services_.prompter.Inform(help_text::kNoHelp, mainWindow_.windowTitle());
        return;
    }
    services_.helpViewer.ShowTopic(folder, HelpTopic(state_.CurrentKey));
}

AboutWindow* HelpCommands::About() const { return about_; }

void HelpCommands::ShowAbout()
{
    about_ = new AboutWindow(&mainWindow_, services_.registry, services_.launcher, services_.prompter);
    about_->setAttribute(Qt::WA_DeleteOnClose);
    about_->open(); // modal over the main window
}

} // namespace mirvane
