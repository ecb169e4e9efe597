#pragma once
// Help for the node being edited, and the About window.
#include "platform/Platform.h"

#include <QPointer>
#include <QString>

class QWidget;

namespace mirvane {

class AboutWindow;
struct EditorState;

namespace help_text {
inline const QString kNoHelp =
    QStringLiteral("Unable to display Help Contents. There is no Help associated with this project.");
} // namespace help_text

// The help page of a node kind: the parameters, the marks, a division or a
// question; the index for anything else.
QString HelpTopic(const std::string& currentKey);

class HelpCommands {
public:
    HelpCommands(EditorState& state, const Platform& platform, QWidget& mainWindow, QString programFolder)
        : state_(state), platform_(platform), mainWindow_(mainWindow), programFolder_(std::move(programFolder))
    {
    }
    void SetProgramFolder(QString folder) { programFolder_ = std::move(folder); }

    // "&Справка", the "Help" button and F1: the topic of the selected node.
    void ShowHelpTopic();
    // "&About ": the About window, modal over the main window.
    void ShowAbout();

    // The installed help beside the program (help/) or in the install
    // prefix (share/mirvane/help); empty when there is none.
    QString HelpFolder() const;
    AboutWindow* About() const;

private:
    EditorState& state_;
    Platform platform_;
    QWidget& mainWindow_;
    QString programFolder_;
    QPointer<AboutWindow> about_;
};

} // namespace mirvane
