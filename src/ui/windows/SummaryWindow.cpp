#include "windows/SummaryWindow.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace mirvane {

SummaryWindow::SummaryWindow(QWidget* mainWindow, std::function<QString()> summaryText)
    : QDialog(mainWindow), summaryText_(std::move(summaryText))
{
    setObjectName(QStringLiteral("SummaryWindow"));
    setWindowTitle(QStringLiteral("Сводка"));
    setModal(false);
    Text = new QPlainTextEdit(this);
    Text->setObjectName(QStringLiteral("Text"));
    Text->setReadOnly(true);
    Text->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text->setMinimumSize(Text->fontMetrics().horizontalAdvance(QStringLiteral("x")) * 60,
                         Text->fontMetrics().lineSpacing() * 16);
    CommandRefresh = new QPushButton(QStringLiteral("Обновить"), this);
    CommandRefresh->setObjectName(QStringLiteral("CommandRefresh"));
    CommandClose = new QPushButton(QStringLiteral("Закрыть"), this);
    CommandClose->setObjectName(QStringLiteral("CommandClose"));
    CommandClose->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CommandRefresh);
    buttons->addWidget(CommandClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Text);
    layout->addLayout(buttons);
    connect(CommandRefresh, &QPushButton::clicked, this, &SummaryWindow::Refresh);
    connect(CommandClose, &QPushButton::clicked, this, &QDialog::close);
    Refresh();
}

void SummaryWindow::Refresh() { Text->setPlainText(summaryText_()); }

} // namespace mirvane
