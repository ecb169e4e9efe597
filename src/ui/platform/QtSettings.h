#pragma once
#include "platform/Settings.h"

namespace mirvane {

// QSettings for the organisation and application "Mirvane".
class QtSettings : public Settings {
public:
    QString Read(const QString& section, const QString& key, const QString& fallback) override;
    void Write(const QString& section, const QString& key, const QString& value) override;
};

} // namespace mirvane
