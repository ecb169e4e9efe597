// The quiz formats from the editor: export under "Экспорт", "Импорт..." in
// the File menu.
#include "EditorFixture.h"
#include "ui/WindowParts.h"

#include "commands/CommandActions.h"
#include "editor/EditHistory.h"
#include "mainwindow/StatusFeedback.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QStatusBar>
#include <QTextDocument>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <QTemporaryDir>
#include <QUndoStack>

namespace mirvane::testing {
namespace {

class Interchange : public EditorFixture {
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        Open({"Физика", ")t 30", ")<", "Неуд", ")* 1", "):Механика", ")?", "Сила", ")! 1", "ньютон", ")! 0",
              "джоуль", ")?", "Масса", ")! 1", "кг", ")! 1", "г", ")* 1", "):Оптика", ")?", "Линза", ")! 2",
              "да", ")! 0", "нет"});
        platform.prompter.Clear();
    }
    void Run(Command command) { Parts(*window).Actions().Get(command)->trigger(); }
    QLabel* Bar(const char* name) { return window->statusBar()->findChild<QLabel*>(name); }
    // The status bar's line of feedback as the user reads it, or nothing.
    QString Told()
    {
        QTextDocument text;
        text.setHtml(Bar("FeedbackLine")->isHidden() ? QString() : Bar("FeedbackLine")->text());
        return text.toPlainText();
    }
    QString Path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
    QTemporaryDir dir;
};

TEST_F(Interchange, AnExportImportedAgainIsTheSameTestWithoutAFile)
{
    platform.fileDialogs.answers.push_back(Path("банк"));
    Run(Command::ExportMoodleXml);
    QFile written(Path("банк.xml"));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly)) << "the suffix is added";
    EXPECT_TRUE(written.readAll().startsWith("<?xml"));

    P().TestName->setText("Изменено"); // typed work: the save prompt is answered No
    platform.fileDialogs.answers.push_back(Path("банк.xml"));
    Run(Command::Import);
    ASSERT_EQ(Document().Order().Divisions.size(), 2u);
    EXPECT_EQ(Document().DivisionAt(Document().Order().Divisions[1].Key).Name, "Оптика");
    EXPECT_EQ(Doc().TestName, "банк");
    EXPECT_TRUE(Parts(*window).State().DocumentFile.isEmpty()) << "Save asks for a name";
    EXPECT_FALSE(Parts(*window).History().Stack().canUndo());
    ASSERT_EQ(platform.prompter.shown.size(), 1u);
    EXPECT_EQ(platform.prompter.shown[0].Kind, ScriptedPrompter::Shown::YesNoCancel);
    // "Масса" has two best answers: the import report says so, with its line.
    emit Bar("FeedbackLine")->linkActivated("details");
    ASSERT_EQ(platform.prompter.shown.size(), 2u);
    EXPECT_TRUE(platform.prompter.shown[1].Text.contains(QStringLiteral("вопрос «Масса»: ответов с наибольшим баллом 2")))
        << platform.prompter.shown[1].Text.toStdString();
}

// An imported file is the user's own: Save offers a test file beside it,
// refuses to write over it, and no export offers its name.
TEST_F(Interchange, NothingIsSavedOverTheImportedFile)
{
    platform.fileDialogs.answers.push_back(Path("древний_мир"));
    Run(Command::ExportGift);
    const QString source = Path("древний_мир.gift");
    QFile gift(source);
    ASSERT_TRUE(gift.open(QIODevice::ReadOnly));
    const QByteArray original = gift.readAll();
    platform.fileDialogs.answers.push_back(source);
    Run(Command::Import);
    ASSERT_EQ(Doc().TestName, "древний_мир");

    platform.prompter.Clear();
    platform.fileDialogs.answers.push_back(source);
    Run(Command::Save);
    EXPECT_EQ(platform.fileDialogs.shown.back().Offered, Path("древний_мир.q"));
    ASSERT_EQ(platform.prompter.shown.size(), 1u);
    EXPECT_TRUE(platform.prompter.shown[0].Text.contains("экспорт в него не выполнен"));
    gift.seek(0);
    EXPECT_EQ(gift.readAll(), original);
    EXPECT_TRUE(Parts(*window).State().DocumentFile.isEmpty());

    Run(Command::ExportGift);
    EXPECT_EQ(platform.fileDialogs.shown.back().Offered, Path("древний_мир (2).gift"));
    platform.fileDialogs.answers.push_back(source);
    Run(Command::ExportAiken);
    EXPECT_EQ(platform.fileDialogs.shown.back().Offered, Path("древний_мир.txt"));
    gift.seek(0);
    EXPECT_EQ(gift.readAll(), original);
}

TEST_F(Interchange, WhatIsLeftOutIsToldAndABrokenFileChangesNothing)
{
    platform.fileDialogs.answers.push_back(Path("тест"));
    Run(Command::ExportAiken); // "Масса" has two best answers
    ASSERT_EQ(platform.prompter.shown.size(), 1u);
    EXPECT_TRUE(platform.prompter.shown[0].Text.startsWith("Пропущено вопросов: 1.")) << platform.prompter.Texts().join("|").toStdString();
    EXPECT_TRUE(QFile::exists(Path("тест.txt")));

    QFile broken(Path("сломан.xml"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("<quiz>\n<question type=\"multichoice\">\n");
    broken.close();
    platform.prompter.Clear();
    platform.fileDialogs.answers.push_back(Path("сломан.xml"));
    Run(Command::Import);
    EXPECT_EQ(Doc().TestName, "Физика");
    // Nothing changed since the test was opened: no save prompt, the failure.
    ASSERT_EQ(platform.prompter.shown.size(), 1u) << platform.prompter.Texts().join("|").toStdString();
    EXPECT_TRUE(platform.prompter.shown[0].Text.contains("строка 3")) << platform.prompter.shown[0].Text.toStdString();
}

TEST_F(Interchange, AQuestionMoodleWouldRefuseIsLeftOutOfTheXmlAndNamed)
{
    Click("q3");
    P().TextAnswer[1]->setPlainText(QString()); // "Масса" keeps one answer
    platform.fileDialogs.answers.push_back(Path("банк"));
    Run(Command::ExportMoodleXml);
    ASSERT_EQ(platform.prompter.shown.size(), 1u);
    EXPECT_EQ(platform.prompter.shown[0].Text,
              QStringLiteral("Пропущено вопросов: 1. Moodle не принимает вопрос меньше чем с двумя ответами или без "
                             "ответа на 100 %.\r\nраздел «Механика», вопрос 2 «Масса» не записан: меньше двух ответов "
                             "(notenoughanswers)"));
    QFile written(Path("банк.xml"));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_FALSE(written.readAll().contains("Масса"));
}

TEST_F(Interchange, ALargeImportIsCancelledWithItsProgressBar)
{
    QFile large(Path("большой.gift"));
    ASSERT_TRUE(large.open(QIODevice::WriteOnly));
    for (int i = 0; i < 60000; ++i)
        large.write(QStringLiteral("Вопрос %1{=да ~нет}\n\n").arg(i).toUtf8());
    large.close();
    // "Отмена" pressed as soon as the window waits for the worker.
    bool pressed = false;
    QTimer::singleShot(0, window.get(), [&] {
        if (auto* progress = window->findChild<QProgressDialog*>()) {
            auto* button = progress->findChild<QPushButton*>();
            EXPECT_EQ(button->text(), QStringLiteral("Отмена"));
            button->click();
            pressed = true;
        }
    });
    platform.fileDialogs.answers.push_back(Path("большой.gift"));
    Run(Command::Import);
    EXPECT_TRUE(pressed);
    EXPECT_EQ(Doc().TestName, "Физика") << "the test stays as it was";
    EXPECT_TRUE(platform.prompter.shown.empty()) << "nothing to save, and a cancel is the user's own choice";
}

} // namespace
} // namespace mirvane::testing

#include "commands/ExportCommands.h"
#include "windows/PrintWindow.h"

#include <QPushButton>
#include <QRadioButton>

namespace mirvane::testing {
namespace {

TEST_F(Interchange, ThePrintWindowPreviewsPrintsAndWritesAPdfOfWhatIsTyped)
{
    Click("q3");
    P().TextQuest->setPlainText(QStringLiteral("Сила тока")); // not stored yet
    Parts(*window).Actions().Get(Command::Print)->trigger();
    PrintWindow* print = Parts(*window).Exports().Printer();
    ASSERT_NE(print, nullptr);
    EXPECT_TRUE(print->isVisible());
    print->Contents[3]->setChecked(true);
    print->PreviewButton->click();
    EXPECT_EQ(platform.printing.previewed, 1);
    EXPECT_TRUE(platform.printing.lastPdf.startsWith("%PDF"));

    platform.fileDialogs.answers.push_back(Path("лист"));
    print->PdfButton->click();
    QFile pdf(Path("лист.pdf"));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.readAll().startsWith("%PDF"));
    EXPECT_EQ(Document().QuestionAt("q3").Q(), "Сила тока") << "the panel was stored first";
    EXPECT_FALSE(print->isVisible());
}

TEST_F(Interchange, SavesExportsPrintsAndImportsAreToldInTheStatusBar)
{
    platform.fileDialogs.answers.push_back(Path("история.q"));
    Run(Command::SaveAs);
    EXPECT_EQ(Told(), "Сохранено: " + QDir::toNativeSeparators(Path("история.q")));
    Parts(*window).Feedback().Expire(); // what the timer does a few seconds later
    EXPECT_EQ(Told(), "");
    EXPECT_TRUE(Bar("StatusPanel")->isVisible());
    EXPECT_EQ(Bar("StatusPanel")->text(), "Status");

    platform.fileDialogs.answers.push_back(Path("банк.gift"));
    Run(Command::ExportGift);
    EXPECT_EQ(Told(), "Экспортировано: " + QDir::toNativeSeparators(Path("банк.gift")));
    EXPECT_TRUE(Bar("StatusPanel")->isHidden()) << "the line stands in the panel's place";

    Run(Command::Print);
    EXPECT_EQ(Parts(*window).Exports().Printer()->Content(), TextContent::AllAnswers) << "a handout by default";
    Parts(*window).Exports().Printer()->PrintButton->click();
    EXPECT_EQ(Told(), "Лист отправлен на печать");

    QFile gift(Path("смесь.gift"));
    ASSERT_TRUE(gift.open(QIODevice::WriteOnly));
    gift.write("::В1:: Столица Франции? {=Париж ~Лион}\n\n::В2:: Почему небо синее? {}\n\n"
               "::В3:: Два плюс два? {=4 ~5}\n");
    gift.close();
    platform.prompter.Clear();
    platform.fileDialogs.answers.push_back(Path("смесь.gift"));
    Run(Command::Import);
    EXPECT_EQ(Told(), "Импортировано вопросов: 2; пропущено: 1 (подробности…)");
    EXPECT_TRUE(platform.prompter.shown.empty()) << "saved and unchanged: no prompt, and no box to dismiss";
    emit Bar("FeedbackLine")->linkActivated("details");
    ASSERT_EQ(platform.prompter.shown.size(), 1u);
    EXPECT_TRUE(platform.prompter.shown[0].Text.contains("В2")) << platform.prompter.shown[0].Text.toStdString();
}

} // namespace
} // namespace mirvane::testing
