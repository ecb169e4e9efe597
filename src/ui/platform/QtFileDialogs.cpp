#include "platform/QtFileDialogs.h"

#include <QFileDialog>
#include <QFileInfo>

namespace mirvane {

std::optional<QString> QtFileDialogs::Ask(bool save, const QString& title, const QString& filter,
                                          const QString& suffix, const QString& start)
{
    QFileDialog dialog(parent_, title, QString(), QtFilter(filter));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(suffix);
    if (!start.isEmpty()) {
        const QFileInfo offered(start);
        dialog.setDirectory(offered.absolutePath());
        dialog.selectFile(offered.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

} // namespace mirvane
