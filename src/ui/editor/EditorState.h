#pragma once
// The one small state the editor's parts share: the open document, its file
// and the key of the node whose panel is shown.
#include "document/TestDocument.h"

#include <QString>

#include <memory>
#include <string>

namespace mirvane {

// What the save question calls a test that has no file yet.
inline const QString kNewDocumentName = QStringLiteral("Новый.q");

struct EditorState {
    std::unique_ptr<TestDocument> Document = std::make_unique<TestDocument>();
    // The document's file, an absolute path; empty while it has none (a new
    // test, an import): Save then asks for a name.
    QString DocumentFile;
    // The file an imported test was read from, absolute: no save or export
    // replaces it. Empty for a test that was not imported.
    QString ImportSource;
    std::string CurrentKey = std::string(kParametersKey);

    // The document's file, or "Новый.q" while it has none.
    QString ShownFileName() const { return DocumentFile.isEmpty() ? kNewDocumentName : DocumentFile; }
};

} // namespace mirvane
