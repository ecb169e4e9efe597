#pragma once
// The test's way in and out of files: New, Open (from the dialog, the recent
// files, a drop, the command line), Save, Save As, Import, Exit, and the
// restoring of a copy of unsaved work. Saving writes the test in document
// order and replaces the old file only when the new one was written
// completely; every failure is reported and nothing is lost. The document's
// file and import source are absolute paths; a test without a file has none.
#include "interchange/Interchange.h"
#include "editor/StatusReport.h"
#include "testfile/ReaderMessages.h"

#include <QString>

#include <string>

class QFileInfo;
class QUndoStack;
class QWidget;

namespace mirvane {

class FileDialogs;
class PanelHost;
class Prompter;
class RecentFiles;
class RecoveryStore;
class Test;
struct EditorState;

namespace document_text {
inline const QString kSavePromptCaption = QStringLiteral("Внимание!!!");
inline const QString kOpenTitle = QStringLiteral("Открыть");
inline const QString kSaveTitle = QStringLiteral("Сохранить");
inline const QString kTestFilter = QStringLiteral("Файлы тестов (*.q)|*.q|Все файлы (*.*)|*.*");
inline const QString kImportTitle = QStringLiteral("Импорт");
inline const QString kImportFilter = QStringLiteral(
    "Вопросы (*.xml *.gift *.txt *.docx *.odt)|*.xml;*.gift;*.txt;*.docx;*.odt|Moodle XML (*.xml)|*.xml|"
    "GIFT (*.gift *.txt)|*.gift;*.txt|Aiken (*.txt)|*.txt|Текст с разметкой (*.txt)|*.txt|"
    "Документы Word и OpenDocument (*.docx *.odt)|*.docx;*.odt|Все файлы (*.*)|*.*");
} // namespace document_text

// "Сохранить открытый файл", CR LF, the file, " ?".
QString SavePromptText(const QString& documentFile);

// "Символ «€» не сохранится в файле теста", or the same for several.
QString UnstorableNotice(const std::u32string& characters);
// The question before a save that would turn them into "?".
QString UnstorableWarning(const std::u32string& characters);

class DocumentCommands {
public:
    // `window` is the main window, which Exit closes.
    DocumentCommands(EditorState& state, Prompter& prompter, FileDialogs& dialogs, PanelHost& host, QWidget& window)
        : state_(state), prompter_(prompter), dialogs_(dialogs), host_(host), window_(window)
    {
    }

    void NewTest();
    void OpenTest();
    // Each true when the test was written.
    bool SaveTest();
    bool SaveTestAs();
    void CloseTest();

    // Commits the panel, then writes the test in document order to `path`.
    // False, after a message naming the file and the reason, when it could
    // not be written; the old file is then untouched.
    bool SaveAll(const QString& path);

    // The open dialog and the reading of the chosen file.
    void LoadAll();

    // Reads the file as Open does once its dialog named it: the reader's
    // messages, and a rejected file keeps no claim on the document. False,
    // after a message, when the file cannot be read; the document stays.
    bool OpenFile(const QString& path);

    // "Импорт...": the save prompt, the open dialog, then the questions of a
    // Moodle XML, GIFT or Aiken file, or of a marked text or document, as a
    // new test, which has no file yet: the next Save asks for a name, and no
    // save replaces the imported file. What was left out is told.
    void ImportTest();
    // A marked text or document is first shown in the import preview, and
    // taken when the user says "Импортировать". False when nothing was read.
    bool ImportFile(const QString& path);

    // A file named outside the dialog (the recent files, a drop): a missing
    // one is reported (and leaves the recent files); otherwise the save
    // prompt of Open, then the file.
    void OpenNamed(const QString& path);

    // Files opened or saved are added to `recent` from now on.
    void KeepRecentFiles(RecentFiles* recent) { recent_ = recent; }
    // Saving, and a save prompt answered, end the copy of unsaved work.
    void KeepRecoveryCopies(RecoveryStore* recovery) { recovery_ = recovery; }

    // Saves and imports are told here when done.
    void ReportTo(StatusReport report) { report_ = std::move(report); }
    // The document's history: a save marks its step as the saved one, and
    // an import does not ask about a test unchanged since then.
    void FollowHistory(QUndoStack* history) { history_ = history; }

    // Shows a copy of unsaved work left by an editor that ended: the test
    // it holds, under the file it belongs to. False when it cannot be read.
    bool RestoreCopy(const QString& copyFile, const QString& documentFile);

    // Asks whether to save. False, and the document is to stay, when the
    // user cancelled, or answered Yes and no file was written (the dialog
    // cancelled, the write failed): the work the user asked to keep is kept.
    bool AskToSave();

    // Reader messages shown one by one before the rest are summed up, so that
    // a broken file cannot bury the user under boxes.
    static constexpr int kShownReaderMessages = ShownMessages::kShown;

private:
    // Reads the quiz file on a worker thread, with a progress bar and
    // "Отмена" once it takes a while. Throws what the import throws.
    ImportedTest ImportOnWorker(const std::string& bytes, const QFileInfo& info, QuizFormat format);
    // The imported test becomes the document.
    void TakeImported(ImportedTest imported, const QString& path);
    // The document's file and import source, made absolute.
    void SetFiles(const QString& documentFile, const QString& importSource);
    // "Импортировано вопросов: N; пропущено: M", what was left out on request.
    void ReportImport(const Test& test, int skipped, const QString& details);

    EditorState& state_;
    Prompter& prompter_;
    FileDialogs& dialogs_;
    PanelHost& host_;
    QWidget& window_;
    RecentFiles* recent_ = nullptr;
    RecoveryStore* recovery_ = nullptr;
    StatusReport report_;
    QUndoStack* history_ = nullptr;
};

} // namespace mirvane
