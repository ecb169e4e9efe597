#pragma once
// The "Preview" command: the selected question written as a one-question
// test file, "temp.q" in the player's folder pv/ beside the program (or, when
// that is not writable, in pv/ under the user's cache folder), and the
// preview player started on it there, detached. Failures are told; the
// document stays as it was.
#include <QString>

namespace mirvane {

class Launcher;
class PanelHost;
class Prompter;
struct EditorState;

class PreviewCommand {
public:
    PreviewCommand(EditorState& state, PanelHost& host, Prompter& prompter, Launcher& launcher, QString programFolder,
                   QString cacheFolder)
        : state_(state), host_(host), prompter_(prompter), launcher_(launcher), programFolder_(std::move(programFolder)),
          cacheFolder_(std::move(cacheFolder))
    {
    }

    // The folders the preview uses (tests put them elsewhere).
    void SetFolders(QString programFolder, QString cacheFolder)
    {
        programFolder_ = std::move(programFolder);
        cacheFolder_ = std::move(cacheFolder);
    }

    void Preview();

    // The player: vexopv in pv/ beside the program.
    QString PlayerPath() const;

private:
    EditorState& state_;
    PanelHost& host_;
    Prompter& prompter_;
    Launcher& launcher_;
    QString programFolder_;
    QString cacheFolder_;
};

} // namespace mirvane
