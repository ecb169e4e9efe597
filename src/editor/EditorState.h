#pragma once
// The one small state the editor's parts share: the open document, its file
// and the key of the node whose panel is shown.
#include "document/TestDocument.h"

#include <QString>

#include <memory>
#include <string>

namespace mirvane {

inline const QString kNewDocumentFile = QStringLiteral("Новый.q");

struct EditorState {
    std::unique_ptr<TestDocument> Document = std::make_unique<TestDocument>();
    QString DocumentFile = kNewDocumentFile;
    std::string CurrentKey = std::string(kParametersKey);
};

} // namespace mirvane
