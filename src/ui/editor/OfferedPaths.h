#pragma once
// The file a save dialog offers for the open test, so that Enter in it does
// what the user most likely wants and never destroys a file: the open test
// and the file it was imported from are never offered to an export.
#include <QString>

namespace mirvane {

class FileDialogs;
struct EditorState;

// Save As: the test's own file when it has one; else "<title>.q" in the
// folder of the file it was imported from, or in the folder the dialog last
// used.
QString OfferedSavePath(const EditorState& state, const FileDialogs& dialogs, const QString& dialogTitle);

// An export: "<title><suffix>" in the folder the dialog last used, else in
// the test's folder (its file's, or its import source's).
QString OfferedExportPath(const EditorState& state, const FileDialogs& dialogs, const QString& dialogTitle,
                          const QString& suffix);

} // namespace mirvane
