#include "testfile/DocumentCommands.h"

#include "editor/StructureTree.h"
#include "editor/TextBridge.h"
#include "mainwindow/frmMain.h"
#include "platform/FileDialogs.h"
#include "platform/Prompter.h"
#include "testfile/TestFileReader.h"
#include "testfile/TestFileWriter.h"

#include <QFile>
#include <QSaveFile>

namespace mirvane {

QString SavePromptText(const QString& documentFile)
{
    return QStringLiteral("Сохранить открытый файл\r\n") + documentFile + QStringLiteral(" ?");
}

bool DocumentCommands::AskToSave()
{
    Prompter& prompter = *window_.Services().prompter;
    switch (prompter.AskYesNoCancel(SavePromptText(window_.State().DocumentFile), document_text::kSavePromptCaption)) {
    case Prompter::Answer::Cancel:
        return false;
    case Prompter::Answer::Yes:
        mnuSave_Click();
        return true;
    case Prompter::Answer::No:
    default:
        return true;
    }
}

void DocumentCommands::mnuFileNew_Click()
{
    if (!AskToSave())
        return;
    window_.ShowDocument(std::make_unique<Test>());
    window_.State().DocumentFile = kNewDocumentFile;
}

void DocumentCommands::mnuFileOpen_Click()
{
    if (!AskToSave())
        return;
    LoadAll();
}

void DocumentCommands::mnuSave_Click()
{
    if (window_.State().DocumentFile == kNewDocumentFile) {
        mnuSaveAs_Click();
        return;
    }
    SaveAll(window_.State().DocumentFile);
}

void DocumentCommands::mnuSaveAs_Click()
{
    const auto chosen = window_.Services().fileDialogs->SaveFile(document_text::kSaveTitle, document_text::kTestFilter);
    if (!chosen || chosen->isEmpty())
        return;
    // The document takes the new name only once the file is really there.
    if (SaveAll(*chosen))
        window_.State().DocumentFile = *chosen;
}

void DocumentCommands::mnuFileClose_Click() { window_.close(); }

bool DocumentCommands::SaveAll(const QString& path)
{
    window_.tvTreeView_Click();
    const std::string bytes = WriteTestFile(*window_.State().Document, window_.Tree().Order());
    // Unbuffered, so that a short write (a full disk, a size limit) is seen
    // here: a buffered QSaveFile can commit a cut file and call it success.
    QSaveFile file(path);
    bool ok = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    if (ok)
        ok = file.write(bytes.data(), static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size());
    if (ok)
        ok = file.commit();
    if (!ok) {
        const QString reason = file.error() == QFileDevice::NoError
                                   ? QStringLiteral("файл записан не полностью (нет места на диске?)")
                                   : file.errorString();
        file.cancelWriting();
        window_.Services().prompter->Notice(QStringLiteral("Не удалось сохранить файл\r\n") + path +
                                            QStringLiteral("\r\n") + reason);
    }
    return ok;
}

void DocumentCommands::LoadAll()
{
    const auto chosen = window_.Services().fileDialogs->OpenFile(document_text::kOpenTitle, document_text::kTestFilter);
    if (!chosen || chosen->isEmpty())
        return;

    QFile file(*chosen);
    QByteArray bytes;
    bool ok = file.open(QIODevice::ReadOnly);
    if (ok) {
        bytes = file.readAll();
        ok = file.error() == QFileDevice::NoError;
    }
    if (!ok) {
        window_.Services().prompter->Notice(QStringLiteral("Не удалось открыть файл\r\n") + *chosen +
                                            QStringLiteral("\r\n") + file.errorString());
        return; // the document and its file stay as they were
    }
    file.close();

    Prompter& prompter = *window_.Services().prompter;
    int messages = 0;
    auto test = std::make_unique<Test>();
    TestFileReader reader(*test, [&](const ReaderMessage& m) {
        if (++messages <= kShownReaderMessages)
            prompter.Notice(ToQt(m.Text));
    });
    const bool isTestFile = reader.LoadFile(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    if (messages > kShownReaderMessages)
        prompter.Notice(QStringLiteral("Ещё %1 сообщений о строках этого файла не показано.")
                            .arg(messages - kShownReaderMessages));

    // A rejected file keeps no claim on the document: a later Save asks for
    // a name instead of replacing it with the empty test.
    window_.State().DocumentFile = isTestFile ? *chosen : kNewDocumentFile;
    window_.ShowDocument(std::move(test));
}

} // namespace mirvane
