#include "commands/RecentFilesMenu.h"

#include "commands/DocumentCommands.h"
#include "commands/RecentFiles.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>

namespace mirvane {

RecentFilesMenu::RecentFilesMenu(QMenu* file, QAction* before, RecentFiles& recent, DocumentCommands& documents,
                                 CommandGuard guard)
    : QObject(file), file_(file), before_(before), recent_(recent), documents_(documents), guard_(std::move(guard))
{
    connect(file_, &QMenu::aboutToShow, this, &RecentFilesMenu::Refresh);
}

void RecentFilesMenu::Refresh()
{
    for (QAction* old : entries_) {
        file_->removeAction(old);
        old->deleteLater();
    }
    entries_.clear();
    const QStringList files = recent_.Files();
    for (int i = 0; i < files.size(); ++i) {
        const QString path = files[i];
        auto* entry = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName()), file_);
        entry->setToolTip(path);
        entry->setStatusTip(path);
        connect(entry, &QAction::triggered, this,
                [this, path] { guard_(QStringLiteral("Открыть"), [this, path] { documents_.OpenNamed(path); }); });
        file_->insertAction(before_, entry);
        entries_.push_back(entry);
    }
    if (!entries_.empty()) {
        QAction* separator = file_->insertSeparator(before_);
        entries_.push_back(separator);
    }
}

} // namespace mirvane
