// Nothing typed is lost when the editor ends without closing: the copy of
// the work is offered at the next start.
#include "FakePlatform.h"
#include "TestSupport.h"

#include "editor/StructureTree.h"
#include "mainwindow/EditPanels.h"
#include "mainwindow/frmMain.h"
#include "testfile/DocumentCommands.h"
#include "testfile/FileIo.h"
#include "testfile/RecoveryStore.h"
#include "testfile/TestFileWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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
        auto window = std::make_unique<frmMain>(platform.Services());
        window->Panels().TestName->setText("Несохранённый тест");
        window->tvTreeView_Click(); // the typing reaches the model
        window->SnapshotWork();
        window->Recovery()->Flush();
        const auto& doc = *window->State().Document;
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
    frmMain next(platform.Services());
    platform.prompter.answers = {Answer::Yes};
    next.OfferRecovery();
    ASSERT_EQ(platform.prompter.shown.size(), 1u);
    EXPECT_TRUE(platform.prompter.shown[0].Text.startsWith("Восстановить несохранённую работу от "));
    EXPECT_TRUE(platform.prompter.shown[0].Text.endsWith(" (Новый.q)?"));
    EXPECT_EQ(next.State().Document->Model().TestName, "Несохранённый тест");
    EXPECT_TRUE(next.State().DocumentFile.isEmpty());
    const auto& doc = *next.State().Document;
    EXPECT_EQ(WriteTestFile(doc.Model(), doc.Order()), lost); // what a save would have written
    // The dead editor's copy is gone; the restored work is this one's copy now.
    EXPECT_FALSE(Copies().contains("work-999999999.q"));

    // Saving ends the copy.
    platform.fileDialogs.answers = {dir.filePath("saved.q")};
    ASSERT_TRUE(next.Documents().mnuSaveAs_Click());
    EXPECT_TRUE(Copies().isEmpty());
}

// A teacher types for a long time without leaving the panel: the copy holds
// what is typed, and taking it checks, corrects and tells nothing.
TEST_F(RecoveryTest, TheCopyHoldsWhatThePanelShowsBeforeTheSelectionMoves)
{
    frmMain window(platform.Services());
    window.ShowDocument(std::make_unique<TestDocument>(
        Load({"Т", ")t 20", ")<", "Неуд", ")* 2", "):Раздел", ")?", "Вопрос", ")! 1", "да"}).test));
    const QString copyFile = QDir(platform.recoveryFolder).filePath(
        QStringLiteral("work-%1.q").arg(QCoreApplication::applicationPid()));
    auto copy = [&] {
        window.SnapshotWork();
        window.Recovery()->Flush();
        std::string bytes;
        EXPECT_FALSE(ReadFileBytes(copyFile.toStdString(), bytes).has_value());
        return LoadBytes(bytes);
    };
    EditPanels& p = window.Panels();
    p.TestName->setText("Набирается");
    p.TestTime->setText("abc");
    auto taken = copy();
    EXPECT_EQ(taken.test->TestName, "Набирается");
    EXPECT_EQ(taken.test->TestTime, 20);

    p.TestTime->setText("20");
    const std::string questionKey = window.State().Document->Order().Divisions.at(0).QuestionKeys.at(0);
    window.Tree().Select(questionKey);
    window.tvTreeView_Click();
    p.TextQuest->setPlainText("Долгий вопрос\nв две строки");
    p.TextAnswer[0]->setPlainText("  ");
    p.TextAnswer[1]->setPlainText("нет");
    taken = copy();
    const Question& question = taken.test->Divisions.Item(1).Questions.Item(1);
    EXPECT_EQ(question.Q(), "Долгий вопрос\r\nв две строки");
    EXPECT_EQ(question.AGet(0), "нет"); // the blank answer is left out
    EXPECT_FALSE(question.IsAnswerPresent(1));

    // Only the copy took the typing: the model and the boxes are as they
    // were, and no message was shown.
    EXPECT_EQ(window.State().Document->Model().TestName, "Набирается"); // stored by the selection
    EXPECT_EQ(window.State().Document->QuestionAt(questionKey).Q(), "Вопрос");
    EXPECT_EQ(p.TextAnswer[0]->toPlainText(), "  ");
    EXPECT_TRUE(platform.prompter.shown.empty());
}

TEST_F(RecoveryTest, NoDeletesTheCopyAndRunningEditorsKeepTheirOwn)
{
    WorkLostInACrash();
    {
        frmMain next(platform.Services());
        platform.prompter.answers = {Answer::No};
        next.OfferRecovery();
        EXPECT_TRUE(Copies().isEmpty());
        EXPECT_EQ(next.State().Document->Model().TestName, "Экзамен");
    }
    // A copy of an editor that still runs (here: a process that runs) is
    // never offered.
    RecoveryStore other(platform.recoveryFolder, ::getppid(), &RecoveryStore::ProcessRuns);
    other.Keep("T\r\n)t 30\r\n)< \r\nX\r\n):\r\n", "other.q");
    other.Flush();
    platform.prompter.Clear();
    frmMain third(platform.Services());
    third.OfferRecovery();
    EXPECT_TRUE(platform.prompter.shown.empty());
    EXPECT_EQ(Copies().size(), 2); // its copy and the line beside it
}

} // namespace
} // namespace mirvane::testing
