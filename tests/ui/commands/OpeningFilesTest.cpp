// Files reach the editor by other roads than the Open dialog: the command
// line, a drop on the window, and the list of recent files.
#include "EditorFixture.h"
#include "ui/WindowParts.h"

#include "commands/RecentFilesMenu.h"
#include "model/CodePage.h"
#include "commands/DocumentCommands.h"
#include "testfile/FileIo.h"
#include "commands/RecentFiles.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>

#include <sys/stat.h>

namespace mirvane::testing {
namespace {

using Answer = Prompter::Answer;

class OpeningFiles : public EditorFixture {
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        ASSERT_TRUE(dir.isValid());
    }
    QString Write(const QString& name, const std::string& title)
    {
        const QString path = dir.filePath(name);
        EXPECT_FALSE(WriteFileReplacing(path.toStdString(), AnsiToOem(title + "\r\n)t 30\r\n)<\r\nНеуд\r\n):\r\n")));
        return path;
    }
    void Drop(const QString& path)
    {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &drop);
    }
    QStringList Recent() { return RecentFiles(platform.settings).Files(); }

    QTemporaryDir dir;
};

TEST_F(OpeningFiles, AFileGivenAtStartUpOpensAsOpenWould)
{
    const QString good = Write("физика.q", "Физика");
    EXPECT_TRUE(Parts(*window).Documents().OpenFile(good));
    EXPECT_EQ(Doc().TestName, "Физика");
    EXPECT_EQ(Parts(*window).State().DocumentFile, good);
    EXPECT_TRUE(platform.prompter.shown.empty()); // no save prompt at start-up

    // Not a test file: its message, and no claim on the document.
    const QString notATest = dir.filePath("notes.q");
    ASSERT_FALSE(WriteFileReplacing(notATest.toStdString(), AnsiToOem("просто текст\r\n")).has_value());
    EXPECT_TRUE(Parts(*window).Documents().OpenFile(notATest));
    EXPECT_TRUE(platform.prompter.Texts().first().startsWith("Данный файл не является файлом теста"));
    EXPECT_TRUE(Parts(*window).State().DocumentFile.isEmpty());

    // Unreadable: reported, and the test shown stays.
    platform.prompter.Clear();
    EXPECT_FALSE(Parts(*window).Documents().OpenFile(dir.filePath("нет такого.q")));
    ASSERT_EQ(platform.prompter.shown.size(), 1u);
    EXPECT_TRUE(platform.prompter.shown[0].Text.contains("нет такого.q"));
    EXPECT_EQ(Doc().TestName, "Экзамен");
}

// A FIFO nobody writes to, as a drop or the command line may name, reads as
// empty instead of keeping the editor waiting; a folder is refused with the
// cause in the user's words.
TEST_F(OpeningFiles, AFifoOrAFolderNeverHoldsTheEditor)
{
    const QString fifo = dir.filePath("канал.q");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_TRUE(Parts(*window).Documents().OpenFile(fifo));
    ASSERT_EQ(platform.prompter.shown.size(), 1u);
    EXPECT_TRUE(platform.prompter.shown[0].Text.startsWith("Данный файл не является файлом теста"));

    const QString good = Write("физика.q", "Физика");
    ASSERT_TRUE(Parts(*window).Documents().OpenFile(good));
    platform.prompter.Clear();
    EXPECT_FALSE(Parts(*window).Documents().OpenFile(dir.path()));
    ASSERT_EQ(platform.prompter.shown.size(), 1u);
    EXPECT_EQ(platform.prompter.shown[0].Text, "Не удалось открыть файл\r\n" + dir.path() + "\r\nэто папка, а не файл");
    EXPECT_EQ(Doc().TestName, "Физика");
    EXPECT_EQ(Parts(*window).State().DocumentFile, good);
}

TEST_F(OpeningFiles, ATestInAnotherEncodingIsReadInItWhenTheUserAgrees)
{
    const std::string utf8 = "Химия\r\n)t 30\r\n)<\r\nНеуд\r\n)* 1\r\n):Вещества\r\n)?\r\n«Вода»?\r\n):\r\n";
    const QString path = dir.filePath("utf8.q");
    ASSERT_FALSE(WriteFileReplacing(path.toStdString(), utf8).has_value());
    platform.prompter.answers = {Answer::Yes};
    Parts(*window).Documents().OpenFile(path);
    ASSERT_EQ(platform.prompter.shown.size(), 1u);
    EXPECT_EQ(platform.prompter.shown[0].Text, "Файл, похоже, записан в кодировке UTF-8. Прочитать его в этой кодировке?");
    EXPECT_EQ(Doc().TestName, "Химия");
    EXPECT_EQ(Doc().Divisions.Item(1).Questions.Item(1).Q(), "\"Вода\"?");

    const QString windows = dir.filePath("1251.q");
    ASSERT_FALSE(WriteFileReplacing(windows.toStdString(), CodePage::Windows().Encode(utf8)).has_value());
    platform.prompter.answers = {Answer::No}; // read as code page 866 after all
    Parts(*window).Documents().OpenFile(windows);
    EXPECT_TRUE(platform.prompter.shown.back().Text.contains("windows-1251"));
    EXPECT_NE(Doc().TestName, "Химия");
}

TEST_F(OpeningFiles, ADroppedFileOpensAfterTheSavePrompt)
{
    const QString path = Write("дроп.q", "Брошенный");
    platform.prompter.answers = {Answer::Cancel};
    Drop(path);
    EXPECT_EQ(Doc().TestName, "Экзамен");
    platform.prompter.answers = {Answer::No};
    Drop(path);
    EXPECT_EQ(Doc().TestName, "Брошенный");
    ASSERT_EQ(platform.prompter.shown.size(), 2u);
    EXPECT_EQ(platform.prompter.shown[1].Kind, ScriptedPrompter::Shown::YesNoCancel);
}

TEST_F(OpeningFiles, RecentFilesKeepTheLastFiveNewestFirst)
{
    QStringList paths;
    for (int i = 0; i < 7; ++i)
        paths << Write(QStringLiteral("t%1.q").arg(i), "T" + std::to_string(i));
    for (const QString& path : paths)
        Parts(*window).Documents().OpenFile(path);
    platform.fileDialogs.answers = {dir.filePath("saved.q")};
    Parts(*window).Documents().SaveTestAs();
    Parts(*window).Documents().OpenFile(paths[4]); // again: moves to the top
    EXPECT_EQ(Recent(), (QStringList{paths[4], dir.filePath("saved.q"), paths[6], paths[5], paths[3]}));

    RecentFilesMenu& menu = Parts(*window).RecentMenu();
    menu.Refresh();
    ASSERT_EQ(menu.Entries().size(), 6u); // five files and a separator
    EXPECT_EQ(menu.Entries()[0]->text(), "&1 t4.q");
    EXPECT_EQ(menu.Entries()[0]->toolTip(), paths[4]);

    // A file gone from the disk is reported and leaves the list.
    QFile::remove(paths[6]);
    platform.prompter.Clear();
    menu.Entries()[2]->trigger();
    ASSERT_EQ(platform.prompter.shown.size(), 1u);
    EXPECT_EQ(platform.prompter.shown[0].Text, QStringLiteral("Файл «%1» не найден.").arg(paths[6]));
    EXPECT_FALSE(Recent().contains(paths[6]));
    menu.Refresh(); // as the menu opens again
    platform.prompter.answers = {Answer::No};
    menu.Entries()[2]->trigger();
    EXPECT_EQ(Doc().TestName, "T5");
}

} // namespace
} // namespace mirvane::testing
