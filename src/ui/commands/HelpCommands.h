#pragma once
// Help for the node being edited, and the About window.
#include <QPointer>
#include <QString>

class QWidget;

namespace mirvane {

class AboutWindow;
class HelpViewer;
class Launcher;
class Prompter;
class Registry;
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
    // The services of the help and of the About window.
    struct Services {
        Prompter& prompter;
        HelpViewer& helpViewer;
        Registry& registry;
        Launcher& launcher;
    };

    HelpCommands(EditorState& state, Services services, QWidget& mainWindow, QString programFolder)
        : state_(state), services_(services), mainWindow_(mainWindow), programFolder_(std::move(programFolder))
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
    Services services_;
    QWidget& mainWindow_;
    QString programFolder_;
    QPointer<AboutWindow> about_;
};

} // namespace mirvane
