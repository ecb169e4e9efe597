#pragma once
// The findings window "Поиск ошибок в структуре теста": the message of the
// first finding, ">>>" to check again from the first rule after the user
// mended something, "Отмена" to close. It is modeless over the main window,
// so the user goes on editing while it is open.
#include <QDialog>

#include <functional>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace mirvane {

class FindingsWindow : public QDialog {
    Q_OBJECT
public:
    // `runCheck` runs the check (selecting the finding's node) and returns
    // its message; it runs once as the window loads.
    FindingsWindow(QWidget* mainWindow, std::function<QString()> runCheck);

    QLabel* Label1 = nullptr;
    QPlainTextEdit* Text = nullptr;
    QPushButton* CommandNext = nullptr;
    QPushButton* CommandCancel = nullptr;

    void ShowNextFinding();

private:
    std::function<QString()> runCheck_;
};

} // namespace mirvane
