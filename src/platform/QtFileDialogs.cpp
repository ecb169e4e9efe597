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

QString WithDefaultExtension(const QString& path)
{
    if (path.isEmpty() || !QFileInfo(path).suffix().isEmpty())
        return path;
    return path + QStringLiteral(".q");
}

std::optional<QString> QtFileDialogs::OpenFile(const QString& title, const QString& filter)
{
    return Run(false, title, filter);
}

std::optional<QString> QtFileDialogs::SaveFile(const QString& title, const QString& filter)
{
    return Run(true, title, filter);
}

std::optional<QString> QtFileDialogs::Run(bool save, const QString& title, const QString& filter)
{
    QFileDialog dialog(parent_, title, QString(), QtFilter(filter));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("q"));
    if (!lastName_.isEmpty())
        dialog.selectFile(lastName_);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    lastName_ = WithDefaultExtension(dialog.selectedFiles().constFirst());
    return lastName_;
}

} // namespace mirvane
