#pragma once
// The one small state the editor's parts share: the open test, its file and
// the key of the node whose panel is shown.
#include "model/Test.h"

#include <QString>

#include <memory>
#include <string>

namespace mirvane {

inline const QString kNewDocumentFile = QStringLiteral("Новый.q");

struct EditorState {
    std::unique_ptr<Test> Document = std::make_unique<Test>();
    QString DocumentFile = kNewDocumentFile;
    std::string CurrentKey = "par";
};

} // namespace mirvane
