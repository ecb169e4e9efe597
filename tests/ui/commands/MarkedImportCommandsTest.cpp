// A marked text or document imported from the editor: the preview first,
// then the document; "Экспорт → Текст с разметкой" writes what imports back.
#include "EditorFixture.h"
#include "ui/WindowParts.h"

#include "commands/CommandActions.h"
#include "core/interchange/ZipWriter.h"
#include "windows/ImportPreviewWindow.h"

#include <QFile>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>

namespace mirvane::testing {
namespace {

class MarkedImport : public EditorFixture {
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        Open({"Физика", ")t 30", ")<", "Неуд", ")* 1", "):Механика", ")?", "Сила", ")! 1", "ньютон", ")! 0", "джоуль"});
        platform.prompter.Clear();
    }
    void Run(Command command) { Parts(*window).Actions().Get(command)->trigger(); }
    QString Path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
    void Write(const char* name, const std::string& bytes)
    {
        QFile file(Path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }
    ImportPreviewWindow* Import(const char* name)
    {
        platform.fileDialogs.answers.push_back(Path(name));
        Run(Command::Import);
        return window->findChild<ImportPreviewWindow*>();
    }
    QTemporaryDir dir;
};

TEST_F(MarkedImport, ThePreviewShowsWhatComesInBeforeTheDocumentChanges)
{
    Write("контрольная.txt", "# Первый\n"
                             "1. Сколько будет 2+2?\n"
                             "а) три\n"
                             "б) четыре*\n"
                             "\n"
                             "2. Без верного\n"
                             "- да\n"
                             "- нет\n"
                             "\n"
                             "Строка без номера\n");
    ImportPreviewWindow* preview = Import("контрольная.txt");
    ASSERT_NE(preview, nullptr);
    EXPECT_TRUE(preview->isVisible());
    EXPECT_EQ(Doc().TestName, "Физика") << "nothing changes before the user says so";
    ASSERT_EQ(preview->Divisions->topLevelItemCount(), 1);
    QTreeWidgetItem* division = preview->Divisions->topLevelItem(0);
    EXPECT_EQ(division->text(0), QStringLiteral("Первый"));
    EXPECT_EQ(division->text(1), QStringLiteral("2"));
    ASSERT_EQ(division->childCount(), 1);
    EXPECT_EQ(division->child(0)->text(0), QStringLiteral("без верного ответа: «Без верного»"));
    ASSERT_EQ(preview->LeftOut->count(), 2);

    // A double-click on the left-out line shows it in the file.
    QListWidgetItem* stray = preview->LeftOut->item(1);
    EXPECT_TRUE(stray->text().startsWith(QStringLiteral("строка 10: текст вне вопроса")));
    emit preview->LeftOut->itemDoubleClicked(stray);
    EXPECT_EQ(preview->Source->textCursor().selectedText(), QStringLiteral("Строка без номера"));

    EXPECT_EQ(preview->ImportButton->text(), QStringLiteral("Импортировать"));
    preview->ImportButton->click();
    EXPECT_EQ(Doc().TestName, "контрольная");
    EXPECT_EQ(Document().Order().Divisions.size(), 1u);
    EXPECT_TRUE(Parts(*window).State().DocumentFile.isEmpty()) << "an unsaved test: Save asks for a name";
}

TEST_F(MarkedImport, CancelInThePreviewLeavesTheDocument)
{
    Write("вопросы.docx", DocxBytes("<w:p><w:pPr><w:numPr><w:ilvl w:val=\"0\"/><w:numId w:val=\"1\"/></w:numPr></w:pPr>"
                                    "<w:r><w:t>Вопрос</w:t></w:r></w:p>"
                                    "<w:p><w:r><w:t>+ да</w:t></w:r></w:p><w:p><w:r><w:t>- нет</w:t></w:r></w:p>"));
    ImportPreviewWindow* preview = Import("вопросы.docx");
    ASSERT_NE(preview, nullptr) << "a .docx is read as the archive it is";
    EXPECT_EQ(preview->CancelButton->text(), QStringLiteral("Отмена"));
    preview->CancelButton->click();
    EXPECT_EQ(Doc().TestName, "Физика");
    EXPECT_TRUE(platform.prompter.shown.empty());
}

TEST_F(MarkedImport, TheMarkedTextExportImportsAsTheSameQuestions)
{
    platform.fileDialogs.answers.push_back(Path("физика"));
    Run(Command::ExportMarkedText);
    ImportPreviewWindow* preview = Import("физика.txt");
    ASSERT_NE(preview, nullptr) << "the suffix .txt is added";
    preview->ImportButton->click();
    ASSERT_EQ(Document().Order().Divisions.size(), 1u);
    EXPECT_EQ(Document().DivisionAt(Document().Order().Divisions[0].Key).Name, "Механика");
    const Question& question = Document().QuestionAt(Document().Order().Divisions[0].QuestionKeys[0]);
    EXPECT_EQ(question.Q(), "Сила");
    EXPECT_EQ(question.AGet(0), "ньютон");
    EXPECT_EQ(question.AScoreGet(0), 1);
    EXPECT_EQ(question.AGet(1), "джоуль");
}

} // namespace
} // namespace mirvane::testing
