#pragma once
// Every way the test leaves the editor other than its own file: the page for
// the 2.5 player, the text-export window, the quiz formats (Moodle XML, GIFT,
// Aiken) and the print window with its PDF. Each writes what the panel
// holds, in document order, through the one safe file helper, never onto
// the test being edited or the file it was imported from; each save dialog
// offers a name made from the test's title.
#include "editor/StatusReport.h"

#include <QPointer>
#include <QString>

#include <functional>
#include <optional>
#include <string>

class QWidget;

namespace mirvane {

class FileDialogs;
class PanelHost;
class Printing;
class PrintWindow;
class Prompter;
class Test;
class TestDocument;
struct DocumentOrder;
struct QuizExport;
class SaveAsText;
struct EditorState;

namespace export_text {
inline const QString kV25Title = QStringLiteral("Сохранить в формате V2.5");
} // namespace export_text

class ExportCommands {
public:
    ExportCommands(EditorState& state, Prompter& prompter, FileDialogs& dialogs, Printing& printing, PanelHost& host,
                   QWidget& mainWindow)
        : state_(state), prompter_(prompter), dialogs_(dialogs), printing_(printing), host_(host),
          mainWindow_(mainWindow)
    {
    }

    // Every written export and every print is told here.
    void ReportTo(StatusReport report) { report_ = std::move(report); }

    // "Тулимар 2.5 (Windows версия)": the save dialog, then the page.
    void ExportPlayerPage();

    // "Moodle XML", "GIFT", "Aiken": the save dialog, then the file, in UTF-8.
    // GIFT and Aiken tell how many questions they could not say.
    void ExportAsMoodleXml();
    void ExportAsGift();
    void ExportAsAiken();
    // The test in the marks a teacher types (UTF-8), which "Импорт..." reads back.
    void ExportAsMarkedText();

    // "Печать..." and "Лист для печати (PDF)": opens the window "Печать",
    // modal over the main window.
    void OpenPrintWindow();
    PrintWindow* Printer() const;

    // "Текстовый файл": opens the window "Сохранить как текст", modal over
    // the main window, with its defaults.
    void OpenTextExportWindow();
    SaveAsText* TextWindow() const;

private:
    // Commits the panel, then the save dialog offering "<title>.<suffix>"
    // (or "<title><nameEnding>"); nothing when it is cancelled.
    std::optional<QString> AskForFile(const QString& title, const QString& filter, const QString& suffix,
                                      const QString& nameEnding = QString());
    // The save dialog, then what `produce` makes of the document.
    void ExportTo(const QString& title, const QString& filter, const QString& suffix,
                  const std::function<std::string(const TestDocument&)>& produce);
    // The same for a format that leaves some questions out, and tells how
    // many and why.
    void ExportCounted(const QString& title, const QString& filter, const QString& suffix,
                       QuizExport (*write)(const Test&, const DocumentOrder&), const QString& why);
    // The refusal when `path` is the document's own file, else nothing.
    std::optional<QString> OntoTheDocument(const QString& path) const;
    // "Экспортировано: " and the file.
    void Exported(const QString& path) const;

    EditorState& state_;
    Prompter& prompter_;
    FileDialogs& dialogs_;
    Printing& printing_;
    PanelHost& host_;
    QWidget& mainWindow_;
    QPointer<SaveAsText> textWindow_;
    QPointer<PrintWindow> printWindow_;
    StatusReport report_;
};

} // namespace mirvane
