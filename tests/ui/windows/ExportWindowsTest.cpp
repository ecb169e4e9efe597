// Both exports from the editor: the same bytes as the command-line tool, in
// the order the tree shows, and every failure reported with the old file
// intact.
#include "EditorFixture.h"
#include "ui/WindowParts.h"

#include "cli/Cli.h"
#include "commands/CommandActions.h"
#include "commands/StructuralEdits.h"
#include "commands/ExportCommands.h"
#include "export/HtmlExport.h"
#include "windows/PrintWindow.h"
#include "windows/SaveAsText.h"
#include "export/TextExport.h"
#include "model/CodePage.h"
#include "commands/DocumentCommands.h"
#include "testfile/FileIo.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include <sstream>

namespace mirvane::testing {
namespace {

using Answer = Prompter::Answer;

class ExportTest : public EditorFixture {
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        ASSERT_TRUE(dir.isValid());
        QDir(dir.path()).mkpath("cli");
        Open({"Химия", ")t 20", ")<", "Неуд", ")> 5", "Зачёт", ")* 1", "):Первый", ")?", "Вода?", ")! 1", "да", ")! 0",
              "нет", ")* 2", "):Второй", ")?", "Соль?", ")! 3", "NaCl"});
        platform.prompter.Clear();
    }
    QString Path(const QString& name) const { return dir.filePath(name); }
    void Trigger(Command command) { Parts(*window).Actions().Get(command)->trigger(); }
    SaveAsText* TextWindow()
    {
        Trigger(Command::ExportText);
        return Parts(*window).Exports().TextWindow();
    }
    // Saves the document where the command-line tool can read it.
    QString SavedCopy()
    {
        platform.fileDialogs.answers = {Path("copy.q")};
        Parts(*window).Documents().SaveTestAs();
        return Path("copy.q");
    }
    int Cli(std::vector<std::string> args)
    {
        std::ostringstream out, err;
        return RunCli(args, out, err);
    }

    QTemporaryDir dir;
};

TEST_F(ExportTest, HtmlPageIsTheCommandLinePageForTheTreeOrderAndTheTypedValues)
{
    Click("d3");
    Parts(*window).Edits().MoveUp(); // the exports follow the tree
    Click("par");
    P().TestName->setText("Химия, 9 класс"); // typed, not stored yet

    platform.fileDialogs.answers = {std::nullopt};
    Trigger(Command::ExportV25);
    ASSERT_EQ(platform.fileDialogs.shown.size(), 1u);
    EXPECT_EQ(platform.fileDialogs.shown[0].Title, "Сохранить в формате V2.5");
    EXPECT_EQ(platform.fileDialogs.shown[0].Filter, "Файлы тестов (*.q)|*.q|Все файлы (*.*)|*.*");
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty()); // cancelled: nothing written

    platform.fileDialogs.answers = {Path("page")}; // the dialog adds ".q"
    Trigger(Command::ExportV25);
    const std::string page = Bytes(Path("page.q"));
    EXPECT_NE(page.find(CodePage::Windows().Encode("<TITLE>Химия, 9 класс</title>")), std::string::npos);
    EXPECT_LT(page.find(CodePage::Windows().Encode("<h3>Второй</h3>")),
              page.find(CodePage::Windows().Encode("<h3>Первый</h3>")));

    const QString copy = SavedCopy();
    ASSERT_EQ(Cli({"html", copy.toStdString(), Path("cli/page.q").toStdString()}), 0);
    EXPECT_EQ(page, Bytes(Path("cli/page.q")));
    EXPECT_TRUE(platform.prompter.shown.empty());
}

TEST_F(ExportTest, ExportsNeverReplaceTheTestBeingEdited)
{
    const QString copy = SavedCopy();
    const std::string test = Bytes(copy);
    QFile::link(copy, Path("alias.q"));
    platform.fileDialogs.answers = {Path("alias.q")};
    Trigger(Command::ExportV25);
    ASSERT_EQ(platform.prompter.shown.size(), 1u);
    EXPECT_TRUE(platform.prompter.shown[0].Text.contains("экспорт в него не выполнен"));
    EXPECT_EQ(Bytes(copy), test);

    SaveAsText* text = TextWindow();
    text->TextFileName->setText(Path("./copy.q"));
    text->SaveText();
    EXPECT_TRUE(platform.prompter.shown.back().Text.contains("экспорт в него не выполнен"));
    EXPECT_TRUE(text->isVisible());
    EXPECT_EQ(Bytes(copy), test);
}

TEST_F(ExportTest, FailedWritesAreReportedAndKeepTheOldFile)
{
    ASSERT_FALSE(WriteFileReplacing(Path("old.htm").toStdString(), "old page").has_value());
    platform.fileDialogs.answers = {Path("old.htm")};
    WithFileSizeLimit(64, [&] { Trigger(Command::ExportV25); });
    ASSERT_EQ(platform.prompter.shown.size(), 1u);
    EXPECT_TRUE(platform.prompter.shown[0].Text.startsWith("Не удалось записать файл «" + Path("old.htm") + "»"));
    EXPECT_EQ(Bytes(Path("old.htm")), "old page");

    SaveAsText* text = TextWindow();
    text->Option1[2]->click();
    text->TextFileName->setText(Path("old.htm"));
    WithFileSizeLimit(16, [&] { text->SaveText(); });
    EXPECT_TRUE(platform.prompter.shown.back().Text.contains("допустимый размер"));
    EXPECT_TRUE(text->isVisible()); // kept open with its choices
    EXPECT_TRUE(text->Option1[2]->isChecked());
    EXPECT_EQ(Bytes(Path("old.htm")), "old page");
}

TEST_F(ExportTest, TextWindowStartsWithItsDefaultsAndWritesTheChosenForm)
{
    SaveAsText* text = TextWindow();
    EXPECT_EQ(text->windowTitle(), "Сохранить как текст");
    EXPECT_TRUE(text->isModal());
    EXPECT_TRUE(text->Option1[0]->isChecked());
    EXPECT_EQ(text->Combo1->currentText(), "ANSI - Кодировка WINDOWS");
    EXPECT_TRUE(text->TextFileName->text().isEmpty());

    text->TextFileName->setText("   ");
    text->SaveText();
    EXPECT_EQ(platform.prompter.Texts(), QStringList{"Введите имя файла!!!"});
    EXPECT_TRUE(text->isVisible());

    platform.fileDialogs.answers = {std::nullopt, Path("out")};
    text->ChooseFile(); // cancelled: the name stays
    EXPECT_EQ(text->TextFileName->text(), "   ");
    text->ChooseFile();
    EXPECT_EQ(platform.fileDialogs.shown.back().Title, "Сохранить как текст");
    EXPECT_EQ(platform.fileDialogs.shown.back().Filter, "Текстовые файлы (*.txt)|*.txt|Все файлы (*.*)|*.*");
    EXPECT_EQ(text->TextFileName->text(), Path("out.txt"));

    text->Option1[3]->click();
    text->Combo1->setCurrentIndex(0);
    text->TextFileName->setFocus();
    const QPointer<SaveAsText> saving = text; // a closed window deletes itself
    QTest::keyClick(text->TextFileName, Qt::Key_Return); // Enter saves
    QApplication::processEvents();
    EXPECT_TRUE(saving.isNull() || !saving->isVisible()) << platform.prompter.Texts().join("|").toStdString();
    const std::string written = Bytes(Path("out.txt"));
    EXPECT_NE(written.find(AnsiToOem("Ответ*1: да")), std::string::npos);
    ASSERT_EQ(Cli({"text", SavedCopy().toStdString(), Path("cli/out.txt").toStdString(), "--content", "3",
                   "--codepage", "oem"}),
              0);
    EXPECT_EQ(written, Bytes(Path("cli/out.txt")));

    // Every opening starts again from the defaults; Escape cancels.
    text = TextWindow();
    EXPECT_TRUE(text->Option1[0]->isChecked());
    EXPECT_EQ(text->Combo1->currentIndex(), 1);
    EXPECT_TRUE(text->TextFileName->text().isEmpty());
    QTest::keyClick(text, Qt::Key_Escape);
    EXPECT_FALSE(text->isVisible());
}

// Each save dialog starts with a name made from the test, in the folder it
// used last; what one dialog chose never shows up in another.
TEST_F(ExportTest, EachDialogOffersANameFromTheTestInItsOwnFolder)
{
    const QString copy = SavedCopy();
    auto offered = [this] { return platform.fileDialogs.shown.back().Offered; };
    Parts(*window).Documents().SaveTestAs();
    EXPECT_EQ(offered(), copy);
    Trigger(Command::ExportV25);
    EXPECT_EQ(offered(), Path("Химия-2.5.q"));
    Trigger(Command::ExportMoodleXml);
    EXPECT_EQ(offered(), Path("Химия.xml"));
    Trigger(Command::ExportGift);
    EXPECT_EQ(offered(), Path("Химия.gift"));
    Trigger(Command::ExportAiken);
    EXPECT_EQ(offered(), Path("Химия.txt"));
    Trigger(Command::Print);
    Parts(*window).Exports().Printer()->PdfButton->click();
    EXPECT_EQ(offered(), Path("Химия.pdf"));
    Parts(*window).Exports().Printer()->reject();

    // "otchet" chosen in the text window's dialog stays there.
    QDir(dir.path()).mkpath("other");
    SaveAsText* text = TextWindow();
    platform.fileDialogs.answers = {Path("other/otchet")};
    text->ChooseFile();
    EXPECT_EQ(offered(), Path("Химия.txt"));
    text->reject();
    Parts(*window).Documents().SaveTestAs();
    EXPECT_EQ(offered(), copy);
    Trigger(Command::ExportV25);
    EXPECT_EQ(offered(), Path("Химия-2.5.q"));
    TextWindow()->ChooseFile();
    EXPECT_EQ(offered(), Path("other/Химия.txt"));
    Parts(*window).Exports().TextWindow()->reject();

    // A title a file name cannot hold; a new test offers a name from its
    // title in the folder Save As last used.
    P().TestName->setText(" Физика: 9/10 класс?.");
    Trigger(Command::ExportMoodleXml);
    EXPECT_EQ(offered(), Path("Физика_ 9_10 класс_.xml"));
    platform.prompter.answers = {Answer::No};
    Parts(*window).Documents().NewTest();
    Parts(*window).Documents().SaveTestAs();
    EXPECT_EQ(offered(), Path("Экзамен.q"));
}

TEST_F(ExportTest, TextWindowWritesUtf8ForLinuxAsTheCommandLineDoes)
{
    SaveAsText* text = TextWindow();
    const int utf8 = text->Combo1->findText("UTF-8 (Linux)");
    ASSERT_GE(utf8, 0);
    text->Combo1->setCurrentIndex(utf8);
    text->Option1[2]->click();
    text->TextFileName->setText(Path("utf.txt"));
    text->CommandSave->click();
    const std::string written = Bytes(Path("utf.txt"));
    EXPECT_NE(written.find("=== Первый ===\r\n\r\nВопрос:\r\nВода?\r\nОтвет 1: да"), std::string::npos) << written;
    ASSERT_EQ(Cli({"text", SavedCopy().toStdString(), Path("cli/utf.txt").toStdString(), "--content", "2",
                   "--codepage", "utf-8"}),
              0);
    EXPECT_EQ(written, Bytes(Path("cli/utf.txt")));
}

} // namespace
} // namespace mirvane::testing
