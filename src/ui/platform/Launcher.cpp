#include "platform/Launcher.h"

#include <QProcess>

namespace mirvane {

bool QtLauncher::Start(const QString& program, const QStringList& arguments, const QString& workingFolder)
{
    return QProcess::startDetached(program, arguments, workingFolder);
}

} // namespace mirvane
