#include "commands/RecentFiles.h"

#include "platform/Settings.h"

#include <QFileInfo>

namespace mirvane {

namespace {
const QString kSection = QStringLiteral("Settings");
const QString kKey = QStringLiteral("RecentFiles");
} // namespace

QStringList RecentFiles::Files() const
{
    QStringList files = settings_.Read(kSection, kKey, QString()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    while (files.size() > kKept)
        files.removeLast();
    return files;
}

void RecentFiles::Add(const QString& path)
{
    const QString full = QFileInfo(path).absoluteFilePath();
    QStringList files = Files();
    files.removeAll(full);
    files.prepend(full);
    Store(files);
}

void RecentFiles::Remove(const QString& path)
{
    QStringList files = Files();
    files.removeAll(path);
    files.removeAll(QFileInfo(path).absoluteFilePath());
    Store(files);
}

void RecentFiles::Store(const QStringList& files)
{
    settings_.Write(kSection, kKey, files.mid(0, kKept).join(QLatin1Char('\n')));
}

} // namespace mirvane
