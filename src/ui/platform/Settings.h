#pragma once
// The per-user settings store: string values by section and key under the
// application's name.
#include <QString>

namespace mirvane {

class Settings {
public:
    virtual ~Settings() = default;
    virtual QString Read(const QString& section, const QString& key, const QString& fallback) = 0;
    virtual void Write(const QString& section, const QString& key, const QString& value) = 0;
};

} // namespace mirvane
