#include "windows/SaveAsText.h"

#include "model/CodePage.h"
#include "platform/FileDialogs.h"
#include "platform/Prompter.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace mirvane {

SaveAsText::SaveAsText(QWidget* mainWindow, FileDialogs& dialogs, Offer offer, Prompter& prompter,
                       std::function<void()> commitPanel, Writer write)
    : QDialog(mainWindow), dialogs_(dialogs), offer_(std::move(offer)), prompter_(prompter), commitPanel_(std::move(commitPanel)),
      write_(std::move(write))
{
    setObjectName(QStringLiteral("SaveAsText"));
    setWindowTitle(text_export_text::kCaption);
    setModal(true);

    Frame1 = new QGroupBox(QStringLiteral("Сохранить:"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    options_ = new QButtonGroup(this);
    const auto& captions = text_export_text::kContents;
    auto* frameLayout = new QVBoxLayout(Frame1);
    for (int i = 0; i < 4; ++i) {
        Option1[i] = new QRadioButton(captions[i], Frame1);
        Option1[i]->setObjectName(QStringLiteral("Option1_%1").arg(i));
        options_->addButton(Option1[i], i);
        frameLayout->addWidget(Option1[i]);
    }
    Option1[0]->setChecked(true);

    Combo1 = new QComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->addItems({text_export_text::kDos, text_export_text::kWindows, text_export_text::kUtf8});
    Combo1->setCurrentIndex(1);
    Combo1->setToolTip(QStringLiteral("Выбор кодировки файла"));

    Label1 = new QLabel(QStringLiteral("&Файл:"), this);
    TextFileName = new QLineEdit(this);
    TextFileName->setObjectName(QStringLiteral("TextFileName"));
    TextFileName->setMinimumWidth(280);
    Label1->setBuddy(TextFileName);
    CommandOpen = new QPushButton(QStringLiteral("..."), this);
    CommandOpen->setObjectName(QStringLiteral("CommandOpen"));
    CommandOpen->setToolTip(QStringLiteral("Выбрать файл"));
    CommandOpen->setAutoDefault(false);
    CommandOpen->setFixedWidth(CommandOpen->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 24);
    CommandSave = new QPushButton(QStringLiteral("&Сохранить"), this);
    CommandSave->setObjectName(QStringLiteral("CommandSave"));
    CommandSave->setDefault(true); // Enter saves
    CommandCancel = new QPushButton(QStringLiteral("Отмена"), this);
    CommandCancel->setObjectName(QStringLiteral("CommandCancel"));
    CommandCancel->setAutoDefault(false);

    auto* file = new QHBoxLayout;
    file->addWidget(Label1);
    file->addWidget(TextFileName, 1);
    file->addWidget(CommandOpen);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CommandSave);
    buttons->addWidget(CommandCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame1);
    layout->addWidget(Combo1);
    layout->addLayout(file);
    layout->addLayout(buttons);

    setTabOrder(Option1[0], Combo1);
    setTabOrder(Combo1, TextFileName);
    setTabOrder(TextFileName, CommandOpen);
    setTabOrder(CommandOpen, CommandSave);
    setTabOrder(CommandSave, CommandCancel);

    connect(CommandOpen, &QPushButton::clicked, this, &SaveAsText::ChooseFile);
    connect(CommandSave, &QPushButton::clicked, this, &SaveAsText::SaveText);
    connect(CommandCancel, &QPushButton::clicked, this, &QDialog::reject); // Escape too
}

TextContent SaveAsText::Content() const { return static_cast<TextContent>(options_->checkedId()); }

const CodePage& SaveAsText::ChosenPage() const
{
    // The DOS entry is the one that begins with "O".
    const QString chosen = Combo1->currentText();
    if (chosen == text_export_text::kUtf8)
        return CodePage::Utf8();
    return chosen.startsWith(QLatin1Char('O')) ? CodePage::Dos() : CodePage::Windows();
}

void SaveAsText::ChooseFile()
{
    const QString offered = TextFileName->text().trimmed().isEmpty()
                                ? offer_(text_export_text::kCaption, QStringLiteral(".txt"))
                                : TextFileName->text();
    const auto chosen =
        dialogs_.SaveFile(text_export_text::kCaption, text_export_text::kFilter, QStringLiteral("txt"), offered);
    if (chosen && !chosen->isEmpty())
        TextFileName->setText(*chosen);
}

void SaveAsText::SaveText()
{
    commitPanel_();
    const QString path = TextFileName->text(); // used untrimmed
    if (path.trimmed().isEmpty()) {
        prompter_.Notice(text_export_text::kNoFileName);
        return;
    }
    if (const auto error = write_(path, Content(), ChosenPage())) {
        prompter_.Notice(*error); // the window stays open with its choices
        return;
    }
    accept();
}

} // namespace mirvane
