#include "platform/QtFileDialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

namespace mirvane {

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

std::optional<QString> QtFileDialogs::OpenFile(const QString& title, const QString& filter)
{
    return Run(false, title, filter, QStringLiteral("q"));
}

std::optional<QString> QtFileDialogs::SaveFile(const QString& title, const QString& filter,
                                               const QString& defaultSuffix)
{
    return Run(true, title, filter, defaultSuffix);
}

std::optional<QString> QtFileDialogs::Run(bool save, const QString& title, const QString& filter,
                                          const QString& suffix)
{
    QFileDialog dialog(parent_, title, QString(), QtFilter(filter));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(suffix);
    if (!lastName_.isEmpty())
        dialog.selectFile(lastName_);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    lastName_ = WithDefaultExtension(dialog.selectedFiles().constFirst(), suffix);
    return lastName_;
}

} // namespace mirvane
