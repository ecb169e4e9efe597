#include "platform/QtSettings.h"

#include "platform/ProgramName.h"

#include <QSettings>

namespace mirvane {

QString QtSettings::Read(const QString& section, const QString& key, const QString& fallback)
{
    QSettings settings(kProgramName, kProgramName);
    return settings.value(section + QLatin1Char('/') + key, fallback).toString();
}

void QtSettings::Write(const QString& section, const QString& key, const QString& value)
{
    QSettings settings(kProgramName, kProgramName);
    settings.setValue(section + QLatin1Char('/') + key, value);
}

} // namespace mirvane
