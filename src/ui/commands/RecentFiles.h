#pragma once
// The last five files opened or saved, newest first, kept in the settings
// beside the window's geometry ("Settings", "RecentFiles", one path a line).
#include <QStringList>

namespace mirvane {

class Settings;

class RecentFiles {
public:
    static constexpr int kKept = 5;

    explicit RecentFiles(Settings& settings) : settings_(settings) {}

    QStringList Files() const;
    // Puts the file first (once).
    void Add(const QString& path);
    void Remove(const QString& path);

private:
    void Store(const QStringList& files);
    Settings& settings_;
};

} // namespace mirvane
