#include "windows/Speller.h"

#include "platform/TextBridge.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace mirvane {

Speller::Speller(QWidget* mainWindow, std::function<QString()> spellTest)
    : QDialog(mainWindow), spellTest_(std::move(spellTest))
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

    connect(CommandNext, &QPushButton::clicked, this, &Speller::CommandNext_Click);
    connect(CommandCancel, &QPushButton::clicked, this, &QDialog::close); // Escape closes it too
    CommandNext_Click(); // on load
}

void Speller::CommandNext_Click() { Text->setPlainText(WithLfBreaks(spellTest_())); }

} // namespace mirvane
