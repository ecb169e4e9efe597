#include "platform/FileDialogs.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace mirvane {

std::optional<QString> FileDialogs::OpenFile(const QString& title, const QString& filter)
{
    return Remembered(title, Ask(false, title, filter, QStringLiteral("q"), lastChosen_.value(title)),
                      QStringLiteral("q"));
}

std::optional<QString> FileDialogs::SaveFile(const QString& title, const QString& filter, const QString& defaultSuffix,
                                             const QString& offered)
{
    return Remembered(title, Ask(true, title, filter, defaultSuffix, offered), defaultSuffix);
}

QString FileDialogs::LastFolder(const QString& title) const
{
    const QString last = lastChosen_.value(title);
    return last.isEmpty() ? QString() : QFileInfo(last).absolutePath();
}

std::optional<QString> FileDialogs::Remembered(const QString& title, std::optional<QString> chosen,
                                               const QString& suffix)
{
    if (!chosen || chosen->isEmpty())
        return std::nullopt;
    QString path = WithDefaultExtension(*chosen, suffix);
    lastChosen_.insert(title, path);
    return path;
}

QString QtFilter(const QString& filter)
{
    // Pairs of description and pattern; Qt shows the description, which
    // already names the pattern.
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList entries;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        entries << parts[i];
    return entries.join(QStringLiteral(";;"));
}

QString WithDefaultExtension(const QString& path, const QString& suffix)
{
    if (path.isEmpty() || suffix.isEmpty() || !QFileInfo(path).suffix().isEmpty())
        return path;
    return path + QLatin1Char('.') + suffix;
}

QString FileNameFromTitle(const QString& title, const QString& suffix)
{
    // What Windows refuses is a superset of what Linux does; a file made here
    // may travel to the player's machine.
    static const QString kRefused = QStringLiteral("/\\:*?\"<>|");
    QString name;
    for (const QChar c : title)
        name += (c.unicode() < 32 || c.unicode() == 127 || kRefused.contains(c)) ? QLatin1Char('_') : c;
    while (!name.isEmpty() && (name.front().isSpace() || name.front() == QLatin1Char('.')))
        name.remove(0, 1);
    while (!name.isEmpty() && (name.back().isSpace() || name.back() == QLatin1Char('.')))
        name.chop(1);
    if (name.isEmpty())
        name = QStringLiteral("Новый");
    return name + suffix;
}

QString PathAvoiding(const QString& folder, const QString& name, const QStringList& avoid)
{
    auto taken = [&avoid](const QString& path) {
        const QString wanted = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
        for (const QString& other : avoid) {
            if (other.isEmpty())
                continue;
            const QFileInfo file(other);
            if (QDir::cleanPath(file.absoluteFilePath()) == wanted ||
                (file.exists() && QFileInfo(path).exists() && file.canonicalFilePath() == QFileInfo(path).canonicalFilePath()))
                return true;
        }
        return false;
    };
    const QDir dir(folder);
    QString path = folder.isEmpty() ? name : dir.filePath(name);
    const QFileInfo info(name);
    const QString base = info.completeBaseName();
    const QString dotSuffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    for (int n = 2; taken(path); ++n) {
        const QString other = QStringLiteral("%1 (%2)%3").arg(base).arg(n).arg(dotSuffix);
        path = folder.isEmpty() ? other : dir.filePath(other);
    }
    return path;
}

} // namespace mirvane
