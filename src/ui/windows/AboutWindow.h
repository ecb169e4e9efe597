#pragma once
// "About Mirvane": the icon, the title, the version, what the program is for,
// "OK" and "&System Info...", which starts the system's information tool.
#include <QDialog>

class QLabel;
class QPushButton;

namespace mirvane {

class Launcher;
class Prompter;
class Registry;

namespace about_text {
inline const QString kDescription = QStringLiteral("Программа предназначена для создания тестов тулимара vexo v1.x");
inline const QString kNoSystemInfo = QStringLiteral("System Information Is Unavailable At This Time");
} // namespace about_text

class AboutWindow : public QDialog {
    Q_OBJECT
public:
    AboutWindow(QWidget* mainWindow, Registry& registry, Launcher& launcher, Prompter& prompter);

    QLabel* picIcon = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblDescription = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdSysInfo = nullptr;

    void StartSysInfo();

private:
    Registry& registry_;
    Launcher& launcher_;
    Prompter& prompter_;
};

} // namespace mirvane
