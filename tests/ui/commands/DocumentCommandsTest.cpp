#include "EditorFixture.h"
#include "ui/WindowParts.h"

#include "commands/ExportCommands.h"
#include "commands/DocumentCommands.h"
#include "testfile/FileIo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace mirvane::testing {
namespace {

using Answer = Prompter::Answer;

bool StartsWith(const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; }

class DocumentCommandsTest : public EditorFixture {
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        ASSERT_TRUE(dir.isValid());
    }
    DocumentCommands& Commands() { return Parts(*window).Documents(); }
    QString Path(const QString& name) const { return dir.filePath(name); }
    void WriteBytes(const QString& path, const std::string& bytes) const
    {
        ASSERT_FALSE(WriteFileReplacing(path.toStdString(), bytes).has_value());
    }
    // Opens the file through the command, answering No to the save question.
    void OpenFile(const QString& path)
    {
        platform.prompter.answers = {Answer::No};
        platform.fileDialogs.answers = {path};
        Commands().OpenTest();
    }
    QString SavedTestFile()
    {
        const QString path = Path("saved.q");
        WriteBytes(path, AnsiToOem("Химия\r\n)t 25\r\n)<\r\nНеуд\r\n)> 3\r\nЗачёт\r\n)* 1\r\n):Раздел\r\n)?\r\n"
                                   "Вопрос\r\n)! 1\r\nда\r\n)! 0\r\nнет\r\n):\r\n"));
        return path;
    }

    QTemporaryDir dir;
};

// Yes asks to keep the work: when no file was written (the dialog
// cancelled, the write failed), the document stays.
TEST_F(DocumentCommandsTest, NewPromptsWithTheFileNameAndYesWithoutAFileKeepsTheWork)
{
    P().TestName->setText("Черновик");
    platform.prompter.answers = {Answer::Yes};
    Commands().NewTest(); // Yes: Save runs Save As, whose dialog is cancelled
    ASSERT_EQ(platform.prompter.shown.size(), 1u);
    EXPECT_EQ(platform.prompter.shown[0].Text, "Сохранить открытый файл\r\nНовый.q ?");
    EXPECT_EQ(platform.prompter.shown[0].Caption, "Внимание!!!");
    EXPECT_EQ(platform.prompter.shown[0].Kind, ScriptedPrompter::Shown::YesNoCancel);
    ASSERT_EQ(platform.fileDialogs.shown.size(), 1u);
    EXPECT_TRUE(platform.fileDialogs.shown[0].Save);
    EXPECT_EQ(platform.fileDialogs.shown[0].Title, "Сохранить");
    EXPECT_EQ(platform.fileDialogs.shown[0].Filter, "Файлы тестов (*.q)|*.q|Все файлы (*.*)|*.*");
    EXPECT_EQ(P().TestName->text(), "Черновик");
    EXPECT_EQ(Current(), "par");

    // The write fails: the same.
    platform.prompter.answers = {Answer::Yes};
    platform.fileDialogs.answers = {Path("no/such/folder/x.q")};
    Commands().NewTest();
    EXPECT_EQ(Doc().TestName, "Черновик"); // committed by the attempt to save
    EXPECT_TRUE(platform.prompter.shown.back().Text.contains("не найдена"));

    // Saved: the new test comes.
    platform.prompter.answers = {Answer::Yes};
    platform.fileDialogs.answers = {Path("draft.q")};
    Commands().NewTest();
    EXPECT_EQ(Doc().TestName, "Экзамен");
    EXPECT_TRUE(Parts(*window).State().DocumentFile.isEmpty());
    EXPECT_EQ(Current(), "par");
    EXPECT_TRUE(QFile::exists(Path("draft.q")));
}

TEST_F(DocumentCommandsTest, CancelInThePromptChangesNothing)
{
    OpenFile(SavedTestFile());
    Click("d1");
    platform.prompter.answers = {Answer::Cancel};
    Commands().NewTest();
    platform.prompter.answers = {Answer::Cancel};
    Commands().OpenTest();
    EXPECT_EQ(Doc().TestName, "Химия");
    EXPECT_EQ(Parts(*window).State().DocumentFile, Path("saved.q"));
    EXPECT_EQ(Parts(*window).Tree().Widget()->model()->rowCount(), 3);
    EXPECT_EQ(Current(), "d1");
    EXPECT_EQ(platform.fileDialogs.shown.size(), 1u); // only the first Open's
}

TEST_F(DocumentCommandsTest, OpenReadsTheFileAndSaveWritesItBackWithoutADialog)
{
    const QString path = SavedTestFile();
    OpenFile(path);
    EXPECT_EQ(platform.fileDialogs.shown.back().Title, "Открыть");
    EXPECT_FALSE(platform.fileDialogs.shown.back().Save);
    EXPECT_EQ(Parts(*window).State().DocumentFile, path);
    EXPECT_EQ(window->windowTitle(), "Химия - Mirvane");
    EXPECT_EQ(Current(), "par");
    EXPECT_EQ(P().TestTime->text(), "25");

    const std::size_t dialogs = platform.fileDialogs.shown.size();
    P().TestTime->setText("35"); // typed, not yet stored: Save commits the panel
    Commands().SaveTest();
    EXPECT_EQ(platform.fileDialogs.shown.size(), dialogs);
    const std::string saved = Bytes(path);
    EXPECT_NE(saved.find(")t 35\r\n"), std::string::npos);

    // Reopening and saving again gives the same bytes.
    OpenFile(path);
    Commands().SaveTest();
    EXPECT_EQ(Bytes(path), saved);
}

TEST_F(DocumentCommandsTest, SaveAsKeepsTheCaptionAndRedirectsLaterSaves)
{
    OpenFile(SavedTestFile());
    platform.fileDialogs.answers = {Path("copy")}; // typed without an extension
    Commands().SaveTestAs();
    EXPECT_EQ(Parts(*window).State().DocumentFile, Path("copy.q"));
    EXPECT_EQ(window->windowTitle(), "Химия - Mirvane");
    EXPECT_TRUE(StartsWith(OemToAnsi(Bytes(Path("copy.q"))), "Химия\r\n)t 25\r\n"));

    P().TestName->setText("Химия 2");
    Commands().SaveTest();
    EXPECT_TRUE(StartsWith(OemToAnsi(Bytes(Path("copy.q"))), "Химия 2\r\n"));
    EXPECT_TRUE(StartsWith(OemToAnsi(Bytes(Path("saved.q"))), "Химия\r\n)t 25\r\n)<\r\n"));
}

TEST_F(DocumentCommandsTest, SaveOnANewTestAsksForAName)
{
    platform.fileDialogs.answers = {Path("first.q")};
    Commands().SaveTest();
    EXPECT_EQ(platform.fileDialogs.shown.size(), 1u);
    EXPECT_EQ(Parts(*window).State().DocumentFile, Path("first.q"));
    EXPECT_TRUE(StartsWith(OemToAnsi(Bytes(Path("first.q"))), "Экзамен\r\n)t 30\r\n"));
}

// "Новый.q" is a name like any other: a file of that name, opened by a
// relative name as the command line gives it, is saved without a dialog and
// no export replaces it.
TEST_F(DocumentCommandsTest, AFileNamedLikeANewTestIsAFileAndKeepsItsFolder)
{
    const QString file = Path("Новый.q");
    ASSERT_TRUE(QFile::copy(SavedTestFile(), file));
    const QString started = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    EXPECT_TRUE(Commands().OpenFile("Новый.q"));
    QDir::setCurrent(started);
    EXPECT_EQ(Parts(*window).State().DocumentFile, file);

    P().TestTime->setText("35");
    EXPECT_TRUE(Commands().SaveTest());
    EXPECT_TRUE(platform.fileDialogs.shown.empty());
    const std::string saved = Bytes(file);
    EXPECT_NE(saved.find(")t 35\r\n"), std::string::npos);

    platform.fileDialogs.answers = {file};
    Parts(*window).Exports().ExportPlayerPage();
    ASSERT_FALSE(platform.prompter.shown.empty());
    EXPECT_TRUE(platform.prompter.shown.back().Text.contains("экспорт в него не выполнен"));
    EXPECT_EQ(Bytes(file), saved);
}

TEST_F(DocumentCommandsTest, OpeningANonTestFileLeavesADefaultTest)
{
    OpenFile(SavedTestFile());
    const QString plain = Path("notes.txt");
    WriteBytes(plain, "just some\r\nnotes\r\n");
    platform.prompter.Clear();
    OpenFile(plain);
    ASSERT_EQ(platform.prompter.shown.size(), 2u); // the save question, then the reader's message
    EXPECT_EQ(platform.prompter.shown[1].Text, "Данный файл не является файлом теста тулимара v1.x.\r\n"
                                               "Возможно это файл теста тулимара v2.x,\r\n"
                                               "формат которого не поддерживается программой.");
    EXPECT_EQ(platform.prompter.shown[1].Caption, "Mirvane");
    EXPECT_EQ(Doc().TestName, "Экзамен");
    EXPECT_EQ(Doc().Divisions.Count(), 0u);
    EXPECT_EQ(Parts(*window).Tree().Widget()->model()->rowCount(), 2);
    EXPECT_TRUE(Parts(*window).State().DocumentFile.isEmpty());
    EXPECT_EQ(Current(), "par");
    EXPECT_TRUE(P().TestName->isVisible());
    EXPECT_EQ(Bytes(plain), "just some\r\nnotes\r\n");
}

TEST_F(DocumentCommandsTest, ReaderMessagesAreShownAndAFloodIsSummedUp)
{
    std::string bytes = "T\r\n)t x\r\n) a\r\n) b\r\n";
    for (int i = 0; i < 100; ++i)
        bytes += ")t y\r\n";
    WriteBytes(Path("bad.q"), bytes);
    platform.prompter.Clear();
    OpenFile(Path("bad.q"));
    const QStringList texts = platform.prompter.Texts();
    ASSERT_EQ(texts.size(), 1 + DocumentCommands::kShownReaderMessages + 1);
    EXPECT_EQ(texts[1], "Ошибка при попытку считать время теста");
    EXPECT_EQ(texts.last(), "Ещё 76 сообщений о строках этого файла не показано.");
    EXPECT_EQ(Parts(*window).State().DocumentFile, Path("bad.q"));
}

TEST_F(DocumentCommandsTest, FileThatCannotBeOpenedIsReportedAndNothingChanges)
{
    OpenFile(SavedTestFile());
    platform.prompter.Clear();
    OpenFile(Path("missing.q"));
    ASSERT_EQ(platform.prompter.shown.size(), 2u);
    EXPECT_TRUE(platform.prompter.shown[1].Text.startsWith("Не удалось открыть файл\r\n" + Path("missing.q")));
    EXPECT_EQ(Doc().TestName, "Химия");
    EXPECT_EQ(Parts(*window).State().DocumentFile, Path("saved.q"));

    platform.prompter.answers = {Answer::No};
    Commands().OpenTest(); // the dialog is cancelled
    EXPECT_EQ(Doc().TestName, "Химия");
}

TEST_F(DocumentCommandsTest, FailedSaveReportsAndLeavesTheOldFile)
{
    const QString path = SavedTestFile();
    OpenFile(path);
    const std::string old = Bytes(path);
    P().TestName->setText(QString(60, QChar('x')));

    platform.prompter.Clear();
    WithFileSizeLimit(64, [&] { Commands().SaveTest(); });

    ASSERT_EQ(platform.prompter.shown.size(), 1u);
    EXPECT_TRUE(platform.prompter.shown[0].Text.startsWith("Не удалось записать файл «" + path + "»"));
    EXPECT_TRUE(platform.prompter.shown[0].Text.contains("допустимый размер"));
    EXPECT_EQ(Bytes(path), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"saved.q"}); // no temporary left

    // Save As into a folder that does not exist: reported, name unchanged.
    platform.prompter.Clear();
    platform.fileDialogs.answers = {Path("no/such/folder/x.q")};
    Commands().SaveTestAs();
    ASSERT_EQ(platform.prompter.shown.size(), 1u);
    EXPECT_TRUE(platform.prompter.shown[0].Text.contains("no/such/folder/x.q"));
    EXPECT_EQ(Parts(*window).State().DocumentFile, path);
}

TEST_F(DocumentCommandsTest, SaveWarnsOnceAboutCharactersTheFileCannotStore)
{
    P().TestName->setText("Цена €, ✓");
    platform.fileDialogs.answers = {Path("euro.q"), Path("euro.q")};
    platform.prompter.answers = {Answer::Cancel};
    EXPECT_FALSE(Commands().SaveTestAs());
    ASSERT_EQ(platform.prompter.shown.size(), 1u);
    EXPECT_EQ(platform.prompter.shown[0].Kind, ScriptedPrompter::Shown::SaveOrCancel);
    EXPECT_TRUE(platform.prompter.shown[0].Text.startsWith("Символы «€», «✓» не сохранятся в файле теста"));
    EXPECT_FALSE(QFile::exists(Path("euro.q")));

    platform.prompter.answers = {Answer::Yes}; // "Сохранить": they become "?"
    EXPECT_TRUE(Commands().SaveTestAs());
    EXPECT_TRUE(StartsWith(Bytes(Path("euro.q")), AnsiToOem("Цена ?, ?\r\n")));
    EXPECT_EQ(platform.prompter.shown.size(), 2u);
}

TEST_F(DocumentCommandsTest, SavingKeepsPermissionsAndWritesThroughALink)
{
    const QString path = SavedTestFile();
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0640), 0);
    OpenFile(path);
    P().TestName->setText("Физика");
    Commands().SaveTest();
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_TRUE(StartsWith(Bytes(path), AnsiToOem("Физика\r\n")));

    // Saving onto a link writes the file it points to; the link stays.
    ASSERT_TRUE(QFile::link(path, Path("link.q")));
    P().TestName->setText("Биология");
    platform.fileDialogs.answers = {Path("link.q")};
    Commands().SaveTestAs();
    EXPECT_TRUE(QFileInfo(Path("link.q")).isSymLink());
    EXPECT_TRUE(StartsWith(Bytes(path), AnsiToOem("Биология\r\n")));
    EXPECT_EQ(Parts(*window).State().DocumentFile, Path("link.q"));
}

} // namespace
} // namespace mirvane::testing
