#include "windows/FindingsWindow.h"

#include "platform/TextBridge.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace mirvane {

FindingsWindow::FindingsWindow(QWidget* mainWindow, std::function<QString()> runCheck)
    : QDialog(mainWindow), runCheck_(std::move(runCheck))
{
    setObjectName(QStringLiteral("Speller"));
    setWindowTitle(QStringLiteral("Поиск ошибок в структуре теста"));
    setModal(false);

    Label1 = new QLabel(QStringLiteral("&Ошибка:"), this);
    Text = new QPlainTextEdit(this);
    Text->setObjectName(QStringLiteral("Text"));
    Text->setReadOnly(true);
    Text->setTabChangesFocus(true);
    // Room for the longest finding, two lines, and a little more.
    Text->setFixedHeight(Text->fontMetrics().lineSpacing() * 3 + 2 * Text->frameWidth() + 8);
    Text->setMinimumWidth(Text->fontMetrics().horizontalAdvance(QStringLiteral("x")) * 64);
    Label1->setBuddy(Text);
    CommandNext = new QPushButton(QStringLiteral(">>>"), this);
    CommandNext->setObjectName(QStringLiteral("CommandNext"));
    CommandNext->setDefault(true); // Enter checks again
    CommandNext->setToolTip(QStringLiteral("Проверить снова (Enter)"));
    CommandCancel = new QPushButton(QStringLiteral("Отмена"), this);
    CommandCancel->setObjectName(QStringLiteral("CommandCancel"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CommandNext);
    buttons->addWidget(CommandCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Text);
    layout->addLayout(buttons);

    connect(CommandNext, &QPushButton::clicked, this, &FindingsWindow::ShowNextFinding);
    connect(CommandCancel, &QPushButton::clicked, this, &QDialog::close); // Escape closes it too
    ShowNextFinding(); // on load
}

void FindingsWindow::ShowNextFinding() { Text->setPlainText(WithLfBreaks(runCheck_())); }

} // namespace mirvane
