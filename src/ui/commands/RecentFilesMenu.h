#pragma once
// The last files opened or saved, listed in "&Файл" above "&Выход" each time
// the menu opens: "&1 name" and so on, the full path as the tooltip.
#include "commands/CommandActions.h"

#include <QObject>

#include <vector>

class QAction;
class QMenu;

namespace mirvane {

class DocumentCommands;
class RecentFiles;

class RecentFilesMenu : public QObject {
    Q_OBJECT
public:
    RecentFilesMenu(QMenu* file, QAction* before, RecentFiles& recent, DocumentCommands& documents,
                    CommandGuard guard);

    // Lists the files again, as opening the menu does.
    void Refresh();
    const std::vector<QAction*>& Entries() const { return entries_; }

private:
    QMenu* file_;
    QAction* before_;
    RecentFiles& recent_;
    DocumentCommands& documents_;
    CommandGuard guard_;
    std::vector<QAction*> entries_; // the files, then a separator
};

} // namespace mirvane
