// Nothing typed is lost when the editor ends without closing: the copy of
// the work is offered at the next start.
#include "FakePlatform.h"
#include "ui/WindowParts.h"
#include "TestSupport.h"

#include "tree/StructureTree.h"
#include "mainwindow/EditPanels.h"
#include "mainwindow/MainWindow.h"
#include "commands/DocumentCommands.h"
#include "testfile/FileIo.h"
#include "editor/RecoveryStore.h"
#include "testfile/TestFileWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace mirvane::testing {
namespace {

using Answer = Prompter::Answer;

class RecoveryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        platform.recoveryFolder = dir.filePath("recovery");
    }
    // An editor as a teacher leaves it: the title typed and stored, a copy
    // taken, then the process gone without the closing sequence.
    std::string WorkLostInACrash()
    {
        auto window = std::make_unique<MainWindow>(platform.Services());
        Parts(*window).Panels().TestName->setText("Несохранённый тест");
        window->ShowSelectedNode(); // the typing reaches the model
        window->SnapshotWork();
        Parts(*window).Recovery()->Flush();
        const auto& doc = *Parts(*window).State().Document;
        std::string bytes = WriteTestFile(doc.Model(), doc.Order());
        // The copy belongs to a process that no longer runs.
        const QString mine = QStringLiteral("work-%1.q").arg(QCoreApplication::applicationPid());
        QDir folder(platform.recoveryFolder);
        EXPECT_TRUE(folder.rename(mine, "work-999999999.q"));
        EXPECT_TRUE(folder.rename(mine + ".info", "work-999999999.q.info"));
        window.reset(); // dropped without the closing sequence
        return bytes;
    }
    QStringList Copies() const { return QDir(platform.recoveryFolder).entryList(QDir::Files); }

    FakePlatform platform;
    QTemporaryDir dir;
};

TEST_F(RecoveryTest, WorkLeftByAKilledEditorIsOfferedAndRestored)
{
    const std::string lost = WorkLostInACrash();
    MainWindow next(platform.Services());
    platform.prompter.answers = {Answer::Yes};
    next.OfferRecovery();
    ASSERT_EQ(platform.prompter.shown.size(), 1u);
    EXPECT_TRUE(platform.prompter.shown[0].Text.startsWith("Восстановить несохранённую работу от "));
    EXPECT_TRUE(platform.prompter.shown[0].Text.endsWith(" (Новый.q)?"));
    EXPECT_EQ(Parts(next).State().Document->Model().TestName, "Несохранённый тест");
    EXPECT_TRUE(Parts(next).State().DocumentFile.isEmpty());
    const auto& doc = *Parts(next).State().Document;
    EXPECT_EQ(WriteTestFile(doc.Model(), doc.Order()), lost); // what a save would have written
    // The dead editor's copy is gone; the restored work is this one's copy now.
    EXPECT_FALSE(Copies().contains("work-999999999.q"));

    // Saving ends the copy.
    platform.fileDialogs.answers = {dir.filePath("saved.q")};
    ASSERT_TRUE(Parts(next).Documents().SaveTestAs());
    EXPECT_TRUE(Copies().isEmpty());
}

// A teacher types for a long time without leaving the panel: the copy holds
// what is typed, and taking it checks, corrects and tells nothing.
TEST_F(RecoveryTest, TheCopyHoldsWhatThePanelShowsBeforeTheSelectionMoves)
{
    MainWindow window(platform.Services());
    window.ShowDocument(std::make_unique<TestDocument>(
        Load({"Т", ")t 20", ")<", "Неуд", ")* 2", "):Раздел", ")?", "Вопрос", ")! 1", "да"}).test));
    const QString copyFile = QDir(platform.recoveryFolder).filePath(
        QStringLiteral("work-%1.q").arg(QCoreApplication::applicationPid()));
    auto copy = [&] {
        window.SnapshotWork();
        Parts(window).Recovery()->Flush();
        std::string bytes;
        EXPECT_FALSE(ReadFileBytes(copyFile.toStdString(), bytes).has_value());
        return LoadBytes(bytes);
    };
    EditPanels& p = Parts(window).Panels();
    p.TestName->setText("Набирается");
    p.TestTime->setText("abc");
    auto taken = copy();
    EXPECT_EQ(taken.test->TestName, "Набирается");
    EXPECT_EQ(taken.test->TestTime, 20);

    p.TestTime->setText("20");
    const std::string questionKey = Parts(window).State().Document->Order().Divisions.at(0).QuestionKeys.at(0);
    Parts(window).Tree().Select(questionKey);
    window.ShowSelectedNode();
    p.TextQuest->setPlainText("Долгий вопрос\nв две строки");
    p.TextAnswer[0]->setPlainText("  ");
    p.TextAnswer[1]->setPlainText("нет");
    taken = copy();
    const Question& question = taken.test->Divisions.Item(1).Questions.Item(1);
    EXPECT_EQ(question.Q(), "Долгий вопрос\r\nв две строки");
    EXPECT_EQ(question.AGet(0), "нет"); // the blank answer is left out
    EXPECT_FALSE(question.IsAnswerPresent(1));

    // Taking the copy corrects nothing: the document holds what is typed,
    // the blank answer stays in its box, and no message was shown.
    EXPECT_EQ(Parts(window).State().Document->Model().TestName, "Набирается");
    EXPECT_EQ(Parts(window).State().Document->QuestionAt(questionKey).Q(), "Долгий вопрос\r\nв две строки");
    EXPECT_EQ(p.TextAnswer[0]->toPlainText(), "  ");
    EXPECT_TRUE(platform.prompter.shown.empty());
}

TEST_F(RecoveryTest, NoDeletesTheCopyAndRunningEditorsKeepTheirOwn)
{
    WorkLostInACrash();
    {
        MainWindow next(platform.Services());
        platform.prompter.answers = {Answer::No};
        next.OfferRecovery();
        EXPECT_TRUE(Copies().isEmpty());
        EXPECT_EQ(Parts(next).State().Document->Model().TestName, "Экзамен");
    }
    // A copy of an editor that still runs (here: a process that runs) is
    // never offered.
    RecoveryStore other(platform.recoveryFolder, ::getppid(), &RecoveryStore::ProcessRuns);
    other.Keep("T\r\n)t 30\r\n)< \r\nX\r\n):\r\n", "other.q");
    other.Flush();
    platform.prompter.Clear();
    MainWindow third(platform.Services());
    third.OfferRecovery();
    EXPECT_TRUE(platform.prompter.shown.empty());
    EXPECT_EQ(Copies().size(), 2); // its copy and the line beside it
}

} // namespace
} // namespace mirvane::testing

namespace mirvane::testing {
namespace {

unsigned ModeOf(const QString& path)
{
    struct stat st {};
    EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0) << path.toStdString();
    return st.st_mode & 07777;
}

// Unsaved work may be a test its owner keeps from other users' eyes.
TEST_F(RecoveryTest, CopiesAreTheUsersAlone)
{
    const mode_t mask = ::umask(022);
    RecoveryStore store(platform.recoveryFolder, 4242, [](qint64) { return true; });
    for (const bool earlier : {false, true}) {
        if (earlier) { // as an earlier version left them
            ::chmod(QFile::encodeName(platform.recoveryFolder).constData(), 0755);
            for (const QString& name : Copies())
                ::chmod(QFile::encodeName(platform.recoveryFolder + "/" + name).constData(), 0644);
        }
        store.Keep(earlier ? "T\r\n)t 20\r\n" : "T\r\n)t 30\r\n", "secret.q");
        store.Flush();
        EXPECT_EQ(ModeOf(platform.recoveryFolder), 0700u);
        ASSERT_EQ(Copies().size(), 2);
        for (const QString& name : Copies())
            EXPECT_EQ(ModeOf(platform.recoveryFolder + "/" + name), 0600u) << name.toStdString();
    }
    ::umask(mask);
}

// What a killed editor leaves: its copy, the file naming it (as `info`
// holds it) and its lock file, the lock released with the process.
void LeaveCopy(const QString& folder, const QString& id, const QByteArray& info)
{
    QDir().mkpath(folder);
    const std::string copy = QFile::encodeName(folder + "/work-" + id + ".q").toStdString();
    ASSERT_FALSE(WriteFileReplacing(copy, AnsiToOem("Забытое\r\n)t 30\r\n)< \r\nX\r\n):\r\n")).has_value());
    if (!info.isNull()) {
        ASSERT_FALSE(WriteFileReplacing(copy + ".info", std::string_view(info.constData(), info.size())).has_value());
    }
    ASSERT_FALSE(WriteFileReplacing(QFile::encodeName(folder + "/.work-" + id + ".lock").toStdString(), "").has_value());
}

TEST_F(RecoveryTest, ACopyIsOfferedExactlyWhenItsEditorIsGone)
{
    // The dead editor's number now belongs to a running process.
    const QString running = QString::number(::getppid());
    LeaveCopy(platform.recoveryFolder, running, "lost.q\n2026-01-02T03:04:05\n");
    {
        // A new editor with that same number keeps its hands off the copy.
        RecoveryStore sameNumber(platform.recoveryFolder, ::getppid(), &RecoveryStore::ProcessRuns);
        sameNumber.Discard(); // as at its first Open
        sameNumber.Keep("Мой\r\n)t 30\r\n", "mine.q");
        sameNumber.Flush();
        EXPECT_EQ(Copies().size(), 4) << Copies().join(' ').toStdString();
        MainWindow other(platform.Services());
        const auto orphans = Parts(other).Recovery()->Orphans();
        ASSERT_EQ(orphans.size(), 1u); // the running editor's copy is not
        EXPECT_EQ(orphans[0].DocumentFile, "lost.q");
        EXPECT_EQ(orphans[0].SavedAt, "02.01.2026 03:04");
        sameNumber.Discard(); // it closes as editors do
    }
    MainWindow next(platform.Services());
    platform.prompter.answers = {Answer::Yes};
    next.OfferRecovery();
    EXPECT_EQ(Parts(next).State().Document->Model().TestName, "Забытое");
}

TEST_F(RecoveryTest, AnyPathSurvivesAndEveryLeftCopyIsOffered)
{
    const QString oddPath = dir.filePath("two\nlines.q");
    {
        RecoveryStore crashed(platform.recoveryFolder, 999999997, [](qint64) { return false; });
        crashed.Keep("T\r\n)t 30\r\n", oddPath);
    }
    LeaveCopy(platform.recoveryFolder, "999999998", "one line only");
    LeaveCopy(platform.recoveryFolder, "999999999", QByteArray());
    RecoveryStore reader(platform.recoveryFolder, 1, [](qint64) { return false; });
    QStringList documents;
    for (const auto& copy : reader.Orphans())
        documents << copy.DocumentFile;
    documents.sort();
    EXPECT_EQ(documents, (QStringList{oddPath, "one line only", "Новый.q"}));
}

TEST_F(RecoveryTest, AFailedCopyIsToldOnceAndTriedAgain)
{
    RecoveryStore store(platform.recoveryFolder, 4244, [](qint64) { return true; });
    const std::string work = "T\r\n)t 30\r\n" + std::string(100, 'x');
    WithFileSizeLimit(16, [&] {
        store.Keep(work, "full.q");
        store.Flush();
    });
    EXPECT_TRUE(store.CopyFailed());
    const auto failure = store.NewFailure();
    ASSERT_TRUE(failure.has_value());
    EXPECT_TRUE(failure->contains("Не удалось записать файл")) << failure->toStdString();
    EXPECT_FALSE(store.NewFailure().has_value());
    store.Keep(work, "full.q"); // space is back: the same work is written
    store.Flush();
    EXPECT_FALSE(store.CopyFailed());
    EXPECT_EQ(Copies().size(), 2);
}

} // namespace
} // namespace mirvane::testing
