#include "platform/Registry.h"

#include "platform/Settings.h"

#include <QFileInfo>
#include <QStandardPaths>

namespace mirvane {

std::optional<QString> QtRegistry::SystemInfoTool()
{
    const QString configured = settings_.Read(QStringLiteral("Settings"), QStringLiteral("SysInfoPath"), QString());
    if (!configured.isEmpty() && QFileInfo(configured).isExecutable())
        return configured;
    for (const char* name : {"hardinfo", "gnome-system-monitor", "plasma-systemmonitor", "ksysguard",
                             "xfce4-taskmanager", "mate-system-monitor"}) {
        const QString found = QStandardPaths::findExecutable(QLatin1String(name));
        if (!found.isEmpty())
            return found;
    }
    return std::nullopt;
}

} // namespace mirvane
