#pragma once
// Qt's own dialogs (file dialogs, message box buttons) in Russian.
class QApplication;

namespace mirvane {

// Loads Qt's Russian translations when they are installed.
void InstallRussianTranslations(QApplication& app);

} // namespace mirvane
