#include "editor/OfferedPaths.h"

#include "editor/EditorState.h"
#include "platform/FileDialogs.h"
#include "platform/TextBridge.h"

#include <QFileInfo>

namespace mirvane {

namespace {

QString FolderOf(const QString& path) { return path.isEmpty() ? QString() : QFileInfo(path).absolutePath(); }

QString TestFolder(const EditorState& state)
{
    return FolderOf(state.DocumentFile.isEmpty() ? state.ImportSource : state.DocumentFile);
}

QString TitleName(const EditorState& state, const QString& suffix)
{
    return FileNameFromTitle(ToQt(state.Document->Model().TestName), suffix);
}

} // namespace

QString OfferedSavePath(const EditorState& state, const FileDialogs& dialogs, const QString& dialogTitle)
{
    if (!state.DocumentFile.isEmpty())
        return state.DocumentFile;
    const QString folder = state.ImportSource.isEmpty() ? dialogs.LastFolder(dialogTitle) : FolderOf(state.ImportSource);
    return PathAvoiding(folder, TitleName(state, QStringLiteral(".q")), {state.ImportSource});
}

QString OfferedExportPath(const EditorState& state, const FileDialogs& dialogs, const QString& dialogTitle,
                          const QString& suffix)
{
    QString folder = dialogs.LastFolder(dialogTitle);
    if (folder.isEmpty())
        folder = TestFolder(state);
    return PathAvoiding(folder, TitleName(state, suffix), {state.DocumentFile, state.ImportSource});
}

} // namespace mirvane
