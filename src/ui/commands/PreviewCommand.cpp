#include "commands/PreviewCommand.h"

#include "player/PreviewFile.h"
#include "editor/EditorState.h"
#include "editor/PanelHost.h"
#include "platform/Launcher.h"
#include "platform/Prompter.h"
#include "platform/OutputFile.h"

#include <QDir>
#include <QFileInfo>

namespace mirvane {

namespace {
const QString kPreviewFile = QStringLiteral("temp.q");
}

QString PreviewCommand::PlayerPath() const
{
#ifdef _WIN32
    return programFolder_ + QStringLiteral("/pv/vexopv.exe");
#else
    return programFolder_ + QStringLiteral("/pv/vexopv");
#endif
}

void PreviewCommand::Preview()
{
    if (KindOf(state_.CurrentKey) != NodeKind::Question)
        return;
    const TestDocument& document = host_.CommittedDocument();
    const std::string bytes = BuildPreviewFile(document.QuestionAt(state_.CurrentKey));
    auto write = [&bytes](const QString& folder) {
        QDir().mkpath(folder);
        return WriteOutputFile(folder + QLatin1Char('/') + kPreviewFile,
                               [&bytes](const ChunkSink& sink) { sink(bytes); });
    };
    // An installed program may not write beside itself: the user's cache
    // folder takes the file then.
    QString folder = programFolder_ + QStringLiteral("/pv");
    if (write(folder)) {
        folder = cacheFolder_ + QStringLiteral("/pv");
        if (const auto error = write(folder)) {
            prompter_.Notice(*error);
            return;
        }
    }
    const QString player = PlayerPath();
    if (!QFileInfo(player).isExecutable()) {
        prompter_.Notice(QStringLiteral("Не найдена программа просмотра «%1».").arg(player));
        return;
    }
    // The bare name, in the folder of the file, so the player finds it
    // wherever the editor was started from.
    if (!launcher_.Start(player, {kPreviewFile}, folder))
        prompter_.Notice(QStringLiteral("Не удалось запустить программу просмотра «%1».").arg(player));
}

} // namespace mirvane
