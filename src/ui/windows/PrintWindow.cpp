#include "windows/PrintWindow.h"

#include "windows/SaveAsText.h"
#include "pdf/SheetPdf.h"
#include "platform/FileDialogs.h"
#include "platform/Printing.h"
#include "platform/Prompter.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QDir>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace mirvane {

PrintWindow::PrintWindow(QWidget* mainWindow, Printing& printing, FileDialogs& dialogs, Offer offer, Prompter& prompter,
                         SheetMaker makeSheet)
    : QDialog(mainWindow), printing_(printing), dialogs_(dialogs), offer_(std::move(offer)), prompter_(prompter),
      makeSheet_(std::move(makeSheet))
{
    setObjectName(QStringLiteral("PrintWindow"));
    setWindowTitle(print_text::kCaption);
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* frame = new QGroupBox(QStringLiteral("Печатать:"), this);
    auto* frameLayout = new QVBoxLayout(frame);
    options_ = new QButtonGroup(this);
    const auto& captions = text_export_text::kContents;
    for (int i = 0; i < 4; ++i) {
        Contents[static_cast<std::size_t>(i)] = new QRadioButton(captions[i], frame);
        options_->addButton(Contents[static_cast<std::size_t>(i)], i);
        frameLayout->addWidget(Contents[static_cast<std::size_t>(i)]);
    }
    // A handout by default: the questions with every answer to choose from.
    Contents[static_cast<std::size_t>(TextContent::AllAnswers)]->setChecked(true);
    layout->addWidget(frame);
    auto* buttons = new QDialogButtonBox(this);
    PreviewButton = buttons->addButton(QStringLiteral("Пр&осмотр..."), QDialogButtonBox::ActionRole);
    PrintButton = buttons->addButton(QStringLiteral("П&ечать..."), QDialogButtonBox::ActionRole);
    PdfButton = buttons->addButton(QStringLiteral("P&DF..."), QDialogButtonBox::ActionRole);
    buttons->addButton(QStringLiteral("&Закрыть"), QDialogButtonBox::RejectRole);
    connect(PreviewButton, &QPushButton::clicked, this, [this] { ShowPreview(); });
    connect(PrintButton, &QPushButton::clicked, this, [this] { PrintOnPrinter(); });
    connect(PdfButton, &QPushButton::clicked, this, [this] { SavePdf(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

TextContent PrintWindow::Content() const { return static_cast<TextContent>(options_->checkedId()); }

QString PrintWindow::Sheet() const { return QString::fromStdString(makeSheet_(Content())); }

void PrintWindow::ShowPreview()
{
    const QString sheet = Sheet();
    printing_.Preview(this, [&sheet](QPagedPaintDevice& device) { PaintSheet(sheet, device); });
}

void PrintWindow::PrintOnPrinter()
{
    const QString sheet = Sheet();
    if (printing_.Print(this, [&sheet](QPagedPaintDevice& device) { PaintSheet(sheet, device); })) {
        if (report_)
            report_(QStringLiteral("Лист отправлен на печать"), {});
        accept();
    }
}

void PrintWindow::SavePdf()
{
    const auto chosen = dialogs_.SaveFile(print_text::kPdfTitle, print_text::kPdfFilter, QStringLiteral("pdf"),
                                          offer_(print_text::kPdfTitle, QStringLiteral(".pdf")));
    if (!chosen || chosen->isEmpty())
        return;
    if (const auto error = WriteSheetPdf(Sheet(), *chosen)) {
        prompter_.Notice(*error);
        return;
    }
    if (report_)
        report_(QStringLiteral("Экспортировано: ") + QDir::toNativeSeparators(*chosen), {});
    accept();
}

} // namespace mirvane
