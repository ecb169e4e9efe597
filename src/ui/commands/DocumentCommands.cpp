#include "commands/DocumentCommands.h"

#include "interchange/Interchange.h"

#include "editor/EditorState.h"
#include "editor/OfferedPaths.h"
#include "editor/PanelHost.h"
#include "platform/FileDialogs.h"
#include "platform/OutputFile.h"
#include "testfile/FileIo.h"
#include "windows/ImportPreviewWindow.h"
#include "commands/RecentFiles.h"
#include "editor/RecoveryStore.h"
#include "platform/Prompter.h"
#include "platform/TextBridge.h"
#include "model/EncodingGuess.h"
#include "model/StorableText.h"
#include "platform/ProgramName.h"
#include "testfile/TestFileLoading.h"
#include "testfile/TestFileWriter.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QUndoStack>
#include <QFileInfo>
#include <QProgressDialog>
#include <QTimer>
#include <QWidget>

#include <atomic>
#include <exception>
#include <memory>
#include <thread>

namespace mirvane {

QString SavePromptText(const QString& documentFile)
{
    return QStringLiteral("Сохранить открытый файл\r\n") + documentFile + QStringLiteral(" ?");
}

QString UnstorableNotice(const std::u32string& characters)
{
    QStringList quoted;
    for (char32_t c : characters)
        quoted << QStringLiteral("«") + QString::fromUcs4(&c, 1) + QStringLiteral("»");
    return characters.size() == 1
               ? QStringLiteral("Символ %1 не сохранится в файле теста").arg(quoted.first())
               : QStringLiteral("Символы %1 не сохранятся в файле теста").arg(quoted.join(QStringLiteral(", ")));
}

QString UnstorableWarning(const std::u32string& characters)
{
    return UnstorableNotice(characters) +
           QStringLiteral(": файл теста хранит текст в кодировке DOS, и на их месте будет знак «?».");
}

bool DocumentCommands::AskToSave()
{
    switch (prompter_.AskYesNoCancel(SavePromptText(state_.ShownFileName()), document_text::kSavePromptCaption)) {
    case Prompter::Answer::Cancel:
        return false;
    case Prompter::Answer::Yes:
        return SaveTest();
    case Prompter::Answer::No:
    default:
        if (recovery_)
            recovery_->Saved(0); // the work is given up
        return true;
    }
}

void DocumentCommands::NewTest()
{
    if (!AskToSave())
        return;
    host_.ShowDocument(std::make_unique<TestDocument>());
    SetFiles(QString(), QString());
    if (recovery_)
        recovery_->Saved(0);
}

void DocumentCommands::OpenTest()
{
    if (!AskToSave())
        return;
    LoadAll();
}

bool DocumentCommands::SaveTest()
{
    if (state_.DocumentFile.isEmpty())
        return SaveTestAs();
    return SaveAll(state_.DocumentFile);
}

bool DocumentCommands::SaveTestAs()
{
    host_.CommittedDocument(); // the name offered is made from the title as typed
    const auto chosen = dialogs_.SaveFile(document_text::kSaveTitle, document_text::kTestFilter, QStringLiteral("q"),
                                          OfferedSavePath(state_, dialogs_, document_text::kSaveTitle));
    if (!chosen || chosen->isEmpty())
        return false;
    // The document takes the new name only once the file is really there.
    if (!SaveAll(*chosen))
        return false;
    state_.DocumentFile = QFileInfo(*chosen).absoluteFilePath();
    return true;
}

void DocumentCommands::CloseTest() { window_.close(); }

bool DocumentCommands::SaveAll(const QString& path)
{
    const TestDocument& document = host_.CommittedDocument();
    // An imported file is the user's own, in another format: the test never
    // replaces it.
    if (!state_.ImportSource.isEmpty() && IsSameFile(path, state_.ImportSource)) {
        prompter_.Notice(QString::fromStdString(SameFileRefusal(QFile::encodeName(path).toStdString())));
        return false;
    }
    const std::u32string lost = UnstorableCharacters(document.Model());
    if (!lost.empty() &&
        prompter_.AskSaveOrCancel(UnstorableWarning(lost), kProgramName) != Prompter::Answer::Yes)
        return false;
    std::uint64_t hash = RecoveryStore::Hash({});
    const auto error = WriteOutputFile(path, [&document, &hash](const ChunkSink& sink) {
        WriteTestFile(document.Model(), document.Order(), [&](std::string_view chunk) {
            hash = RecoveryStore::Hash(chunk, hash);
            sink(chunk);
        });
    });
    if (error) {
        prompter_.Notice(*error);
        return false;
    }
    if (recent_)
        recent_->Add(path);
    if (recovery_)
        recovery_->Saved(hash);
    if (history_)
        history_->setClean();
    if (report_)
        report_(QStringLiteral("Сохранено: ") + QDir::toNativeSeparators(path), {});
    return true;
}

void DocumentCommands::LoadAll()
{
    const auto chosen = dialogs_.OpenFile(document_text::kOpenTitle, document_text::kTestFilter);
    if (!chosen || chosen->isEmpty())
        return;
    OpenFile(*chosen);
}

bool DocumentCommands::OpenFile(const QString& path)
{
    ShownMessages shown;
    TestFileLoading how;
    // A test another editor saved as UTF-8 or windows-1251: read in that
    // encoding when the user agrees (the next save writes code page 866).
    how.Encoding.Encoding = std::nullopt;
    how.Encoding.Confirm = [this](TextEncoding guess) {
        return prompter_.AskYesNo(QStringLiteral("Файл, похоже, записан в кодировке %1. Прочитать его в этой кодировке?")
                                      .arg(QLatin1String(EncodingName(guess))),
                                  kProgramName) == Prompter::Answer::Yes;
    };
    how.Messages = shown.Through([this](const std::string& text) { prompter_.Notice(ToQt(text)); });
    LoadedTestFile loaded = LoadTestFile(QFile::encodeName(path).toStdString(), how);
    if (!shown.LeftOut().empty())
        prompter_.Notice(ToQt(shown.LeftOut()));
    const bool isTestFile = !loaded.Error;
    if (loaded.Error) {
        // A file that could not be opened at all is named on a line of its
        // own; a refused reading says what the reading says.
        const ReadRefusal refusal = loaded.Error->Refusal;
        if (refusal == ReadRefusal::Unopened || refusal == ReadRefusal::Folder)
            prompter_.Notice(QStringLiteral("Не удалось открыть файл\r\n") + path + QStringLiteral("\r\n") +
                             ToQt(loaded.Error->Reason));
        else
            prompter_.Notice(ToQt(loaded.Error->Message));
        if (refusal != ReadRefusal::NotATestFile)
            return false; // the document and its file stay as they were
    }

    // A rejected file keeps no claim on the document: a later Save asks for
    // a name instead of replacing it with the empty test.
    host_.ShowDocument(std::make_unique<TestDocument>(std::move(loaded.Read)));
    SetFiles(isTestFile ? path : QString(), QString());
    if (isTestFile && recent_)
        recent_->Add(state_.DocumentFile);
    if (recovery_)
        recovery_->Saved(0);
    return true;
}

void DocumentCommands::ImportTest()
{
    // Nothing to lose when the test is as it was saved or opened.
    host_.CommittedDocument();
    const bool unchanged = history_ && history_->isClean();
    if (!unchanged && !AskToSave())
        return;
    const auto chosen = dialogs_.OpenFile(document_text::kImportTitle, document_text::kImportFilter);
    if (chosen && !chosen->isEmpty())
        ImportFile(*chosen);
}

bool DocumentCommands::ImportFile(const QString& path)
{
    const QFileInfo info(path);
    const QString suffix = info.suffix().toLower();
    // A document is a zip archive; a quiz file is text, so that /dev/zero or
    // a binary file is refused at its first block instead of filling the memory.
    const bool document = suffix == QStringLiteral("docx") || suffix == QStringLiteral("odt");
    constexpr std::uintmax_t kLargestDocument = 512u << 20;
    std::string bytes;
    if (auto error = ReadFileBytes(QFile::encodeName(path).toStdString(), bytes,
                                   document ? kLargestDocument : UINTMAX_MAX,
                                   document ? FileContent::TextOrArchive : FileContent::Text)) {
        prompter_.Notice(ToQt(*error));
        return false;
    }
    const QuizFormat format = DetectQuizFormat(bytes, ToModel(info.fileName()));
    ImportedTest imported;
    try {
        imported = ImportOnWorker(bytes, info, format);
    } catch (const ImportCancelled&) {
        return false; // the user's own choice: the document stays as it was
    } catch (const ImportError& e) {
        const QString where = e.Line() > 0 ? QStringLiteral("строка %1: ").arg(e.Line()) : QString();
        prompter_.Notice(QStringLiteral("Не удалось импортировать файл\r\n%1\r\n%2%3")
                                       .arg(path, where, QString::fromUtf8(e.what())));
        return false; // the document stays as it was
    }
    if (format != QuizFormat::MarkedText && format != QuizFormat::Docx && format != QuizFormat::Odt) {
        TakeImported(std::move(imported), path);
        return true;
    }
    // Typed marks are read by guesswork: the user sees what comes in first.
    // The preview is modal over the window, so nothing changes under it.
    auto* preview = new ImportPreviewWindow(imported, info.fileName(), &window_);
    preview->setAttribute(Qt::WA_DeleteOnClose);
    preview->setWindowModality(Qt::WindowModal);
    auto kept = std::make_shared<ImportedTest>(std::move(imported));
    QObject::connect(preview, &QDialog::accepted, &window_, [this, kept, path] { TakeImported(std::move(*kept), path); });
    preview->show();
    return true;
}

void DocumentCommands::TakeImported(ImportedTest imported, const QString& path)
{
    host_.ShowDocument(std::make_unique<TestDocument>(std::move(imported.Read)));
    SetFiles(QString(), path);
    if (recovery_)
        recovery_->Saved(0);
    QString details;
    if (!imported.Notes.empty()) {
        constexpr int kShownNotes = 20;
        QStringList lines;
        for (std::size_t i = 0; i < imported.Notes.size() && i < kShownNotes; ++i)
            lines << ToQt(imported.Notes[i]);
        if (imported.Notes.size() > kShownNotes)
            lines << QStringLiteral("И ещё %1.").arg(imported.Notes.size() - kShownNotes);
        details = lines.join(QStringLiteral("\r\n"));
    }
    ReportImport(state_.Document->Model(), imported.Skipped, details);
}

ImportedTest DocumentCommands::ImportOnWorker(const std::string& bytes, const QFileInfo& info, QuizFormat format)
{
    // A large file is read on a worker while the window shows how far it has
    // come; "Отмена" stops it. A small one is done before the bar would show.
    constexpr int kSteps = 1000;
    QProgressDialog progress(QStringLiteral("Импорт %1...").arg(info.fileName()), QStringLiteral("Отмена"), 0, kSteps,
                             &window_);
    progress.setWindowTitle(kProgramName);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    progress.setAutoReset(false);
    progress.setAutoClose(false);
    std::atomic<bool> cancelled = false;
    std::atomic<int> step = 0;
    QObject::connect(&progress, &QProgressDialog::canceled, [&cancelled] { cancelled = true; });
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] { progress.setValue(step); });
    tick.start(100);

    const std::string stem = ToModel(info.completeBaseName());
    ImportedTest imported;
    std::exception_ptr failure;
    QEventLoop waiting;
    bool finished = false;
    std::thread worker([&] {
        try {
            imported = ImportQuiz(format, bytes, stem, std::nullopt, [&](std::size_t done, std::size_t total) {
                step = total == 0 ? kSteps : static_cast<int>(static_cast<double>(done) / total * kSteps);
                return !cancelled;
            });
        } catch (...) {
            failure = std::current_exception();
        }
        QMetaObject::invokeMethod(&waiting, [&finished] { finished = true; }, Qt::QueuedConnection);
    });
    // Until the bar shows, and with it the modality that keeps the window
    // still, the window takes no input: nothing may change under the import.
    while (!finished) {
        waiting.processEvents(QEventLoop::WaitForMoreEvents |
                              (progress.isVisible() ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents));
    }
    worker.join();
    if (failure)
        std::rethrow_exception(failure);
    return imported;
}

void DocumentCommands::ReportImport(const Test& test, int skipped, const QString& details)
{
    std::size_t questions = 0;
    for (const Division& division : test.Divisions)
        questions += division.Questions.Count();
    QString text = QStringLiteral("Импортировано вопросов: %1").arg(questions);
    if (skipped > 0)
        text += QStringLiteral("; пропущено: %1").arg(skipped);
    if (report_)
        report_(text, details);
    else if (!details.isEmpty())
        prompter_.Inform(details, kProgramName); // nowhere else to tell
}

bool DocumentCommands::RestoreCopy(const QString& copyFile, const QString& documentFile)
{
    LoadedTestFile loaded = LoadTestFile(QFile::encodeName(copyFile).toStdString());
    if (loaded.Error)
        return false;
    host_.ShowDocument(std::make_unique<TestDocument>(std::move(loaded.Read)));
    // A copy made for a test without a file names none (older copies named
    // it by a bare "Новый.q"): only an absolute path is a file.
    SetFiles(QFileInfo(documentFile).isAbsolute() ? documentFile : QString(), QString());
    return true;
}

void DocumentCommands::SetFiles(const QString& documentFile, const QString& importSource)
{
    auto absolute = [](const QString& path) { return path.isEmpty() ? path : QFileInfo(path).absoluteFilePath(); };
    state_.DocumentFile = absolute(documentFile);
    state_.ImportSource = absolute(importSource);
}

void DocumentCommands::OpenNamed(const QString& path)
{
    if (!QFileInfo::exists(path)) {
        prompter_.Notice(QStringLiteral("Файл «%1» не найден.").arg(path));
        if (recent_)
            recent_->Remove(path);
        return;
    }
    if (AskToSave())
        OpenFile(path);
}

} // namespace mirvane
