#pragma once
#include "platform/ProgramName.h"

#include <QString>

namespace mirvane {

// The program's version, major.minor.build.revision, as the build gives it
// (the project's version in CMakeLists.txt).
inline constexpr int kVersionMajor = MIRVANE_VERSION_MAJOR;
inline constexpr int kVersionMinor = MIRVANE_VERSION_MINOR;
inline constexpr int kVersionBuild = MIRVANE_VERSION_BUILD;
inline constexpr int kVersionRevision = MIRVANE_VERSION_REVISION;

// "Version " + major + "." + minor + "." + revision: "Version 1.0.12".
inline QString VersionLabel()
{
    return QStringLiteral("Version %1.%2.%3").arg(kVersionMajor).arg(kVersionMinor).arg(kVersionRevision);
}

} // namespace mirvane
