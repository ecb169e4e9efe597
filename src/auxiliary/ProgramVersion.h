#pragma once
#include "platform/ProgramName.h"

#include <QString>

namespace mirvane {

// The program's version is 1.0.0.12: major, minor, build, revision.
inline constexpr int kVersionMajor = 1;
inline constexpr int kVersionMinor = 0;
inline constexpr int kVersionRevision = 12;

// "Version " + major + "." + minor + "." + revision: "Version 1.0.12".
inline QString VersionLabel()
{
    return QStringLiteral("Version %1.%2.%3").arg(kVersionMajor).arg(kVersionMinor).arg(kVersionRevision);
}

} // namespace mirvane
