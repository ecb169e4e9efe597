#include "export/ExportCommands.h"

#include "editor/EditorState.h"
#include "editor/PanelHost.h"
#include "export/HtmlExport.h"
#include "export/SaveAsText.h"
#include "export/TextExport.h"
#include "platform/FileDialogs.h"
#include "platform/Prompter.h"
#include "testfile/DocumentCommands.h"
#include "testfile/FileIo.h"
#include "testfile/OutputFile.h"

#include <QFile>

namespace mirvane {

std::optional<QString> ExportCommands::OntoTheDocument(const QString& path) const
{
    if (state_.DocumentFile != kNewDocumentFile && IsSameFile(path, state_.DocumentFile))
        return QString::fromStdString(SameFileRefusal(QFile::encodeName(path).toStdString()));
    return std::nullopt;
}

void ExportCommands::mnuExportV25_Click()
{
    const auto chosen = platform_.fileDialogs->SaveFile(export_text::kV25Title, document_text::kTestFilter);
    if (!chosen || chosen->isEmpty())
        return;
    const TestDocument& document = host_.CommittedDocument();
    if (const auto refusal = OntoTheDocument(*chosen)) {
        platform_.prompter->Notice(*refusal);
        return;
    }
    const std::string journalPath = QFile::encodeName(*chosen).toStdString();
    if (const auto error = WriteOutputFile(*chosen, [&](const ChunkSink& sink) {
            WriteHtmlPage(document.Model(), document.Order(), journalPath, sink);
        }))
        platform_.prompter->Notice(*error);
}

SaveAsText* ExportCommands::TextWindow() const { return textWindow_; }

void ExportCommands::mnuExportTxt_Click()
{
    auto write = [this](const QString& path, TextContent content, const CodePage& page) -> std::optional<QString> {
        if (auto refusal = OntoTheDocument(path))
            return refusal;
        const TestDocument& document = *state_.Document;
        return WriteOutputFile(path, [&](const ChunkSink& sink) {
            WriteTextExport(document.Model(), document.Order(), content, page, sink);
        });
    };
    textWindow_ = new SaveAsText(&mainWindow_, *platform_.fileDialogs, *platform_.prompter,
                                 [this] { host_.CommittedDocument(); }, write);
    textWindow_->setAttribute(Qt::WA_DeleteOnClose);
    textWindow_->open(); // modal over the main window
}

} // namespace mirvane
