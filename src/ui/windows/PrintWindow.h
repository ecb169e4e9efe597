#pragma once
// The window "Печать": what the sheet holds (the four contents of the text
// export), then a preview, the printer, or a PDF file. It is modal over the
// main window and works on what the panel holds.
#include "editor/StatusReport.h"
#include "export/TextExport.h"

#include <QDialog>

#include <array>
#include <functional>
#include <string>

class QButtonGroup;
class QRadioButton;
class QPushButton;

namespace mirvane {

class FileDialogs;
class Printing;
class Prompter;

namespace print_text {
inline const QString kCaption = QStringLiteral("Печать");
inline const QString kPdfTitle = QStringLiteral("Сохранить как PDF");
inline const QString kPdfFilter = QStringLiteral("Файлы PDF (*.pdf)|*.pdf");
} // namespace print_text

class PrintWindow : public QDialog {
    Q_OBJECT
public:
    // The sheet (HTML) for a content choice, from the document as the panel
    // holds it.
    using SheetMaker = std::function<std::string(TextContent content)>;

    // The path a save dialog of that title offers for a file of that suffix.
    using Offer = std::function<QString(const QString& title, const QString& suffix)>;

    PrintWindow(QWidget* mainWindow, Printing& printing, FileDialogs& dialogs, Offer offer, Prompter& prompter,
                SheetMaker makeSheet);

    std::array<QRadioButton*, 4> Contents{};
    QPushButton* PreviewButton = nullptr;
    QPushButton* PrintButton = nullptr;
    QPushButton* PdfButton = nullptr;

    // A printed sheet and a written PDF are told here.
    void ReportTo(StatusReport report) { report_ = std::move(report); }

    TextContent Content() const;
    void ShowPreview();
    void PrintOnPrinter();
    void SavePdf();

private:
    QString Sheet() const;

    Printing& printing_;
    FileDialogs& dialogs_;
    Offer offer_;
    Prompter& prompter_;
    SheetMaker makeSheet_;
    QButtonGroup* options_ = nullptr;
    StatusReport report_;
};

} // namespace mirvane
