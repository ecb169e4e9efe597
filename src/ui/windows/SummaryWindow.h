#pragma once
// "Сводка": the numbers of the open test a teacher weighs before giving it,
// as the command line's stats prints them. Modeless, so the user edits on
// with it open; "Обновить" takes the test as it is then.
#include <QDialog>

#include <functional>

class QPlainTextEdit;
class QPushButton;

namespace mirvane {

class SummaryWindow : public QDialog {
    Q_OBJECT
public:
    // `summaryText` gives the summary of the test as the window shows it.
    SummaryWindow(QWidget* mainWindow, std::function<QString()> summaryText);

    QPlainTextEdit* Text = nullptr;
    QPushButton* CommandRefresh = nullptr;
    QPushButton* CommandClose = nullptr;

    void Refresh();

private:
    std::function<QString()> summaryText_;
};

} // namespace mirvane
