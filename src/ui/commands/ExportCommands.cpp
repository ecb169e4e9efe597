#include "commands/ExportCommands.h"

#include "editor/EditorState.h"
#include "editor/OfferedPaths.h"
#include "editor/PanelHost.h"
#include "export/HtmlExport.h"
#include "export/PrintSheet.h"
#include "windows/PrintWindow.h"
#include "interchange/Interchange.h"
#include "windows/SaveAsText.h"
#include "export/TextExport.h"
#include "platform/FileDialogs.h"
#include "platform/Prompter.h"
#include "platform/TextBridge.h"
#include "commands/DocumentCommands.h"
#include "testfile/FileIo.h"
#include "platform/OutputFile.h"

#include <QDir>
#include <QFile>

namespace mirvane {

std::optional<QString> ExportCommands::OntoTheDocument(const QString& path) const
{
    for (const QString& own : {state_.DocumentFile, state_.ImportSource}) {
        if (!own.isEmpty() && IsSameFile(path, own))
            return QString::fromStdString(SameFileRefusal(QFile::encodeName(path).toStdString()));
    }
    return std::nullopt;
}

std::optional<QString> ExportCommands::AskForFile(const QString& title, const QString& filter, const QString& suffix,
                                                  const QString& nameEnding)
{
    host_.CommittedDocument(); // the name offered is made from the title as typed
    FileDialogs& dialogs = dialogs_;
    const auto chosen = dialogs.SaveFile(title, filter, suffix,
                                         OfferedExportPath(state_, dialogs, title,
                                                                           nameEnding.isEmpty() ? QLatin1Char('.') + suffix
                                                                                                : nameEnding));
    if (!chosen || chosen->isEmpty())
        return std::nullopt;
    return chosen;
}

void ExportCommands::Exported(const QString& path) const
{
    if (report_)
        report_(QStringLiteral("Экспортировано: ") + QDir::toNativeSeparators(path), {});
}

void ExportCommands::ExportPlayerPage()
{
    // The page's files are ".q" files too: its name says which it is.
    const auto chosen = AskForFile(export_text::kV25Title, document_text::kTestFilter, QStringLiteral("q"), QStringLiteral("-2.5.q"));
    if (!chosen)
        return;
    const TestDocument& document = host_.CommittedDocument();
    if (const auto refusal = OntoTheDocument(*chosen)) {
        prompter_.Notice(*refusal);
        return;
    }
    const std::string journalPath = QFile::encodeName(*chosen).toStdString();
    if (const auto error = WriteOutputFile(*chosen, [&](const ChunkSink& sink) {
            WriteHtmlPage(document.Model(), document.Order(), journalPath, sink);
        }))
        prompter_.Notice(*error);
    else
        Exported(*chosen);
}

void ExportCommands::ExportTo(const QString& title, const QString& filter, const QString& suffix,
                              const std::function<std::string(const TestDocument&)>& produce)
{
    const auto chosen = AskForFile(title, filter, suffix);
    if (!chosen)
        return;
    const TestDocument& document = host_.CommittedDocument();
    if (const auto refusal = OntoTheDocument(*chosen)) {
        prompter_.Notice(*refusal);
        return;
    }
    const std::string bytes = produce(document);
    if (const auto error = WriteOutputFile(*chosen, [&](const ChunkSink& sink) { sink(bytes); }))
        prompter_.Notice(*error);
    else
        Exported(*chosen);
}

void ExportCommands::ExportAsMoodleXml()
{
    ExportCounted(QStringLiteral("Экспорт в Moodle XML"), QStringLiteral("Moodle XML (*.xml)|*.xml"),
                  QStringLiteral("xml"), &ExportMoodleXml,
                  QStringLiteral("Moodle не принимает вопрос меньше чем с двумя ответами или без ответа на 100 %."));
}

void ExportCommands::ExportAsGift()
{
    ExportCounted(QStringLiteral("Экспорт в GIFT"), QStringLiteral("GIFT (*.gift)|*.gift|Текст (*.txt)|*.txt"),
                  QStringLiteral("gift"), &ExportGift, QStringLiteral("В формате GIFT у вопроса не меньше двух ответов."));
}

void ExportCommands::ExportAsAiken()
{
    ExportCounted(QStringLiteral("Экспорт в Aiken"), QStringLiteral("Aiken (*.txt)|*.txt"), QStringLiteral("txt"),
                  &ExportAiken, QStringLiteral("В формате Aiken у вопроса ровно один лучший ответ."));
}

void ExportCommands::ExportAsMarkedText()
{
    ExportTo(QStringLiteral("Экспорт в текст с разметкой"), QStringLiteral("Текст (*.txt)|*.txt"), QStringLiteral("txt"),
             [](const TestDocument& d) { return ExportMarkedText(d.Model(), d.Order()); });
}

void ExportCommands::ExportCounted(const QString& title, const QString& filter, const QString& suffix,
                                   QuizExport (*write)(const Test&, const DocumentOrder&), const QString& why)
{
    int skipped = 0;
    QStringList notes;
    ExportTo(title, filter, suffix, [&](const TestDocument& d) {
        QuizExport written = write(d.Model(), d.Order());
        skipped = written.Skipped;
        for (const std::string& note : written.Notes)
            notes << ToQt(note);
        return std::move(written.Text);
    });
    if (skipped > 0)
        notes.prepend(QStringLiteral("Пропущено вопросов: %1. %2").arg(skipped).arg(why));
    if (!notes.isEmpty())
        prompter_.Inform(notes.join(QStringLiteral("\r\n")), title);
}

void ExportCommands::OpenPrintWindow()
{
    auto offer = [this](const QString& title, const QString& suffix) {
        host_.CommittedDocument(); // the name is made from the title as typed
        return OfferedExportPath(state_, dialogs_, title, suffix);
    };
    printWindow_ = new PrintWindow(&mainWindow_, printing_, dialogs_, offer, prompter_,
                                   [this](TextContent content) {
                                       const TestDocument& document = host_.CommittedDocument();
                                       return PrintSheetHtml(document.Model(), document.Order(), content);
                                   });
    printWindow_->ReportTo(report_);
    printWindow_->setAttribute(Qt::WA_DeleteOnClose);
    printWindow_->open(); // modal over the main window
}

PrintWindow* ExportCommands::Printer() const { return printWindow_; }

SaveAsText* ExportCommands::TextWindow() const { return textWindow_; }

void ExportCommands::OpenTextExportWindow()
{
    auto write = [this](const QString& path, TextContent content, const CodePage& page) -> std::optional<QString> {
        if (auto refusal = OntoTheDocument(path))
            return refusal;
        const TestDocument& document = *state_.Document;
        auto error = WriteOutputFile(path, [&](const ChunkSink& sink) {
            WriteTextExport(document.Model(), document.Order(), content, page, sink);
        });
        if (!error)
            Exported(path);
        return error;
    };
    auto offer = [this](const QString& title, const QString& suffix) {
        host_.CommittedDocument(); // the name is made from the title as typed
        return OfferedExportPath(state_, dialogs_, title, suffix);
    };
    textWindow_ = new SaveAsText(&mainWindow_, dialogs_, offer, prompter_,
                                 [this] { host_.CommittedDocument(); }, write);
    textWindow_->setAttribute(Qt::WA_DeleteOnClose);
    textWindow_->open(); // modal over the main window
}

} // namespace mirvane
