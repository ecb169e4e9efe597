// Questions typed with simple marks in a text file, a .docx or an .odt: each
// mark, the encodings, what is left out with its line, and the way back.
#include "core/interchange/ZipWriter.h"

#include "interchange/Interchange.h"
#include "interchange/XmlTree.h"
#include "interchange/ZipArchive.h"
#include "model/CodePage.h"
#include "model/DocumentOrder.h"
#include "model/KeyCounter.h"
#include "model/Misc.h"
#include "model/Test.h"

#include "core/interchange/QuestionLines.h"

#include <gtest/gtest.h>

namespace mirvane::testing {
namespace {

using Lines = std::vector<std::string>;


ImportedTest Marked(const std::string& text)
{
    ResetKeyNumbers();
    return ImportMarkedText(text, "урок");
}

TEST(MarkedText, EveryMarkOfAQuestionAndItsAnswers)
{
    const ImportedTest read = Marked("1. Столица России?\n"
                                     "+ Москва\n"
                                     "- Казань\n"
                                     "\n"
                                     "12) Сколько будет\n"
                                     "2 + 2?\n"
                                     "а) три\n"
                                     "б) четыре*\n"
                                     "\n"
                                     "# Физика\n"
                                     "?Единица силы\n"
                                     "A) ватт\n"
                                     "*B) ньютон\n"
                                     "\n"
                                     "3. Буквы заглавные\n"
                                     "А. первая\n"
                                     "Б. вторая\n"
                                     "Ответ: б\n"
                                     "\n"
                                     "4. Latin\n"
                                     "a. one\n"
                                     "b. two\n"
                                     "c. three\n"
                                     "ANSWER: C\n"
                                     "5. Баллы\n"
                                     "+ верно {2}\n"
                                     "- почти {-1}\n"
                                     "в) неверно {0}\n");
    EXPECT_EQ(Questions(*read.Read),
              (Lines{"урок | Столица России?: Москва 1; Казань 0;",
                     "урок | Сколько будет\r\n2 + 2?: три 0; четыре 1;",
                     "Физика | Единица силы: ватт 0; ньютон 1;",
                     "Физика | Буквы заглавные: первая 0; вторая 1;",
                     "Физика | Latin: one 0; two 0; three 1;",
                     "Физика | Баллы: верно 2; почти -1; неверно 0;"}));
    EXPECT_EQ(read.Notes, Lines{});
}

TEST(MarkedText, TheThreeEncodingsOfATextFile)
{
    const std::string text = "# Раздел\r\n1. Какой ответ?\r\n+ да\r\n- нет\r\n";
    for (const std::string& bytes :
         {text, "\xEF\xBB\xBF" + text, CodePage::Windows().Encode(text), CodePage::Dos().Encode(text)})
        EXPECT_EQ(Questions(*Marked(bytes).Read), Lines{"Раздел | Какой ответ?: да 1; нет 0;"});
    // Typographic characters become the plain ones typing gives.
    EXPECT_EQ(Questions(*Marked("1. «Вопрос» — какой…\n+ да\n- нет\n").Read),
              Lines{"урок | \"Вопрос\" - какой...: да 1; нет 0;"});
}

TEST(MarkedText, WhatIsLeftOutIsToldWithItsLine)
{
    std::string many = "3. Много\n";
    for (char c = 'a'; c <= 'j'; ++c)
        many += std::string(1, c) + ") ответ\n";
    const ImportedTest read = Marked("Введение без номера\n"
                                     "+ ответ без вопроса\n"
                                     "\n"
                                     "1. Без ответов\n"
                                     "\n"
                                     "2. Без верного\n"
                                     "- раз\n"
                                     "- два\n"
                                     "\n" +
                                     many +
                                     "\n"
                                     "4. Буква мимо\n"
                                     "а) раз\n"
                                     "б) два\n"
                                     "Ответ: я\n"
                                     "\n"
                                     "5. Евро €\n"
                                     "+ да\n"
                                     "- нет\n"
                                     "\n"
                                     "6.\n"
                                     "+ да\n");
    EXPECT_EQ(read.Notes,
              (Lines{"строка 1: текст вне вопроса пропущен (вопрос начинается с номера или «?»): Введение без номера",
                     "строка 2: ответ вне вопроса пропущен: ответ без вопроса",
                     "строка 4: вопрос «Без ответов» пропущен: у вопроса нет ответов",
                     "строка 6: вопрос «Без верного»: нет верного ответа",
                     "строка 10: вопрос «Много» пропущен: ответов 10, а у вопроса их не больше девяти",
                     "строка 25: в строке «Ответ:» нет буквы ни одного из ответов: я",
                     "строка 22: вопрос «Буква мимо»: нет верного ответа",
                     "строка 27: вопрос «Евро €»: символов нет в кодовой странице 866, в файле теста станут «?»: €",
                     "строка 31: вопрос «» пропущен: у вопроса нет текста"}));
    EXPECT_EQ(read.NoteLines, (std::vector<std::size_t>{1, 2, 4, 6, 10, 25, 22, 27, 31}));
    EXPECT_EQ(read.Skipped, 3);
    EXPECT_EQ(Questions(*read.Read).size(), 3u); // the ones without a right answer come in
    EXPECT_EQ(read.SourceLines.at(0), "Введение без номера");
}

TEST(MarkedText, ExportedMarksImportAsTheSameTest)
{
    const ImportedTest first = Marked("# Первый\n"
                                      "1. Текст в две строки\n"
                                      "- и строка, похожая на ответ\n"
                                      "+ верный {3}\n"
                                      "- неверный\n"
                                      "- фигурные {5}\n"
                                      "Ответ: мимо\n"
                                      "\n"
                                      "# Второй\n"
                                      "1. Ещё\n"
                                      "+ да\n"
                                      "- нет {-2}\n");
    // The second line of the first question must stay its text.
    mirvane::Test& test = *first.Read;
    Question& q = test.Divisions.Item(1).Questions.Item(1);
    // Lines that read as marks, an indent, and the blanks the rewrap leaves
    // where it breaks a long line stay the question's.
    q.QSet(WrapEditText("Текст в две строки\r\n- и строка, похожая на ответ\r\n\r\n2. и на вопрос\r\n    с отступом\r\n" +
                            std::string(60, 'x') + "  " + std::string(30, 'y'),
                        0)
               .Text);
    q.ASet(2, "фигурные {5}");
    const std::string exported = ExportMarkedText(test, DocumentOrder::FromCollections(test));
    const ImportedTest again = Marked(exported);
    EXPECT_EQ(Questions(*again.Read), Questions(test)) << exported;

    // A soft hyphen or a typographic space after the mark is dropped with
    // the blanks behind it, which the way back could not keep.
    const ImportedTest hyphen = Marked("1. Сколько?\nа)\u00AD четыре*\nб)\u2003три\n");
    const Question& read = hyphen.Read->Divisions.Item(1).Questions.Item(1);
    EXPECT_EQ(read.AGet(0), "четыре");
    EXPECT_EQ(read.AGet(1), "три");
    EXPECT_EQ(Questions(*Marked(ExportMarkedText(*hyphen.Read, DocumentOrder::FromCollections(*hyphen.Read))).Read),
              Questions(*hyphen.Read));

    // Pseudo-graphics, which code page 866 holds, are read back as UTF-8 too.
    const ImportedTest boxes = Marked("\xEF\xBB\xBF# ╔═╗\n1. ╔══╗ ║\n+ ║ ║\n- ╚══╝\n");
    const std::string boxesExported = ExportMarkedText(*boxes.Read, DocumentOrder::FromCollections(*boxes.Read));
    EXPECT_EQ(Questions(*Marked(boxesExported).Read), Lines{"╔═╗ | ╔══╗ ║: ║ ║ 1; ╚══╝ 0;"});
}

TEST(MarkedDocuments, AWordDocumentWithTwoListLevelsAndABoldAnswer)
{
    auto p = [](const std::string& level, const std::string& runs) {
        return "<w:p><w:pPr>" +
               (level.empty() ? std::string() : "<w:numPr><w:ilvl w:val=\"" + level + "\"/><w:numId w:val=\"3\"/></w:numPr>") +
               "</w:pPr>" + runs + "</w:p>";
    };
    auto r = [](const std::string& text, const std::string& properties = {}) {
        return "<w:r><w:rPr>" + properties + "</w:rPr><w:t xml:space=\"preserve\">" + text + "</w:t></w:r>";
    };
    const std::string bytes = DocxBytes(
        p("", r("Контрольная")) + p("", "") +
        p("0", r("Сколько ") + r("будет") + "<w:r><w:br/></w:r>" + r("2 + 2?")) +
        p("1", r("три")) + p("1", r("четы", "<w:b/>") + r("ре", "<w:b w:val=\"1\"/>")) +
        p("1", r("пять", "<w:b w:val=\"0\"/>")) +
        p("", "<w:r><w:drawing/></w:r>") +
        p("0", r("Формула") + "<m:oMath/>") + p("1", r("да", "<w:u w:val=\"single\"/>")) + p("1", r("нет")) +
        "<w:tbl><w:tr><w:tc><w:p>" + r("ячейка") + "</w:p></w:tc></w:tr></w:tbl>" +
        p("", r("3. Набранный номер")) + p("", r("+ верно {2}")) + p("", r("- неверно")));
    ResetKeyNumbers();
    const ImportedTest read = ImportDocx(bytes, "тест");
    EXPECT_EQ(Questions(*read.Read), (Lines{"тест | Сколько будет\r\n2 + 2?: три 0; четыре 1; пять 0;",
                                            "тест | Формула: да 1; нет 0;",
                                            "тест | Набранный номер: верно 2; неверно 0;"}));
    EXPECT_EQ(read.Notes, (Lines{"абзац 1: текст вне вопроса пропущен (вопрос начинается с номера или «?»): Контрольная",
                                 "абзац 7: рисунок не перенесён", "абзац 8: формула не перенесена",
                                 "абзац 11: таблица не перенесена"}));
    EXPECT_TRUE(read.Paragraphs);
}

TEST(MarkedDocuments, AnOpenDocumentWithTwoListLevelsAndABoldAnswer)
{
    const std::string styles =
        "<style:style style:name=\"T1\" style:family=\"text\"><style:text-properties fo:font-weight=\"bold\"/></style:style>"
        "<style:style style:name=\"P2\" style:family=\"paragraph\" style:parent-style-name=\"P1\"/>"
        "<style:style style:name=\"P1\" style:family=\"paragraph\"><style:text-properties style:text-underline-style=\"solid\"/></style:style>";
    const std::string text =
        "<text:p>Тест</text:p>"
        "<text:list><text:list-item><text:p>Сколько   будет<text:line-break/>2 + 2?</text:p>"
        "<text:list><text:list-item><text:p>три</text:p></text:list-item>"
        "<text:list-item><text:p><text:span text:style-name=\"T1\">четыре</text:span> </text:p></text:list-item>"
        "</text:list></text:list-item>"
        "<text:list-item><text:p>Второй<draw:frame><draw:object/></draw:frame></text:p>"
        "<text:list><text:list-item><text:p text:style-name=\"P2\">да</text:p></text:list-item>"
        "<text:list-item><text:p>нет</text:p></text:list-item></text:list></text:list-item></text:list>"
        "<table:table/>";
    ResetKeyNumbers();
    const ImportedTest read = ImportOdt(OdtBytes(styles, text), "тест");
    EXPECT_EQ(Questions(*read.Read),
              (Lines{"тест | Сколько будет\r\n2 + 2?: три 0; четыре 1;", "тест | Второй: да 1; нет 0;"}));
    EXPECT_EQ(read.Notes, (Lines{"абзац 1: текст вне вопроса пропущен (вопрос начинается с номера или «?»): Тест",
                                 "абзац 5: формула не перенесена", "абзац 8: таблица не перенесена"}));
}

// What word processors write beside the text: an empty numbered paragraph
// left at a list's end, a picture in Word's alternate content, and the
// number OpenDocument keeps rendered in its list items.
TEST(MarkedDocuments, WhatWordProcessorsAddIsNoQuestionText)
{
    const std::string numbered = "<w:pPr><w:numPr><w:ilvl w:val=\"0\"/><w:numId w:val=\"1\"/></w:numPr></w:pPr>";
    ResetKeyNumbers();
    const ImportedTest word = ImportDocx(
        DocxBytes("<w:p>" + numbered + "<w:r><w:t>Вопрос</w:t></w:r><w:r><mc:AlternateContent><mc:Choice><w:drawing/>"
                  "</mc:Choice></mc:AlternateContent></w:r></w:p>"
                  "<w:p><w:r><w:t>+ да</w:t></w:r></w:p><w:p><w:r><w:t>- нет</w:t></w:r></w:p><w:p>" + numbered + "</w:p>"),
        "т");
    EXPECT_EQ(Questions(*word.Read), Lines{"т | Вопрос: да 1; нет 0;"});
    EXPECT_EQ(word.Notes, Lines{"абзац 1: рисунок не перенесён"});
    ResetKeyNumbers();
    const ImportedTest odf = ImportOdt(OdtBytes("", "<text:list><text:list-item><text:number>1.</text:number>"
                                                    "<text:p><text:number>1.</text:number>Вопрос</text:p>"
                                                    "<text:list><text:list-item><text:p>да*</text:p></text:list-item>"
                                                    "<text:list-item><text:p>нет</text:p></text:list-item></text:list>"
                                                    "</text:list-item></text:list>"),
                                       "т");
    EXPECT_EQ(Questions(*odf.Read), Lines{"т | Вопрос: да 1; нет 0;"});
}

TEST(MarkedDocuments, BrokenEncryptedAndForeignArchivesAreRefusedByName)
{
    const std::string docx = DocxBytes("<w:p><w:r><w:t>1. Вопрос</w:t></w:r></w:p>");
    auto refusal = [](const std::function<void()>& import) {
        try {
            import();
        } catch (const ImportError& e) {
            return std::string(e.what());
        }
        return std::string("принят");
    };
    EXPECT_EQ(refusal([&] { ImportDocx(docx.substr(0, docx.size() / 2), "т"); }),
              "архив документа повреждён: его не удаётся открыть");
    EXPECT_EQ(refusal([&] { ImportDocx("просто текст", "т"); }), "файл не документ: это не zip-архив .docx или .odt");
    EXPECT_EQ(refusal([&] { ImportDocx(ZipBytes({{"word/document.xml", "<w:document/>", true}}), "т"); }),
              "документ зашифрован: сохраните его без пароля");
    EXPECT_EQ(refusal([&] { ImportDocx(ZipBytes({{"readme.txt", "нет"}}), "т"); }),
              "в архиве нет word/document.xml: это не документ Word (.docx)");
    EXPECT_EQ(refusal([&] { ImportOdt(docx, "т"); }), "в архиве нет content.xml: это не документ OpenDocument (.odt)");
    EXPECT_EQ(refusal([&] { ImportDocx(ZipBytes({{"word/document.xml", "<w:document><w:body>"}}), "т"); }),
              "документ повреждён (word/document.xml, строка 1): не закрыт элемент <w:body>");
    // A part that inflates beyond the cap is not read whole.
    const std::string bomb = ZipBytes({{"zeros", std::string(1 << 20, '\0')}});
    const ZipArchive zeros(bomb);
    EXPECT_EQ(refusal([&] { zeros.Part("zeros", 1000); }), "текст документа больше 0 МБ: такой документ не импортируется");
    EXPECT_EQ(zeros.Part("zeros", 1 << 20)->size(), 1u << 20);
    // Nor does a part of countless tiny elements grow a tree beyond measure.
    std::string tiny = "<w:document><w:body>";
    for (int i = 0; i < 200; ++i)
        tiny += "<w:p/>";
    EXPECT_EQ(refusal([&] { ParseXmlInOrder(tiny + "</w:body></w:document>", {}, 100); }),
              "в документе больше 100 элементов разметки: такой документ не импортируется");
}

TEST(MarkedDocuments, TheFormatIsToldByNameAndContent)
{
    EXPECT_EQ(DetectQuizFormat(DocxBytes(""), "вопросы"), QuizFormat::Docx);
    EXPECT_EQ(DetectQuizFormat(OdtBytes("", ""), "вопросы"), QuizFormat::Odt);
    EXPECT_EQ(DetectQuizFormat("", "ВОПРОСЫ.ODT"), QuizFormat::Odt);
    EXPECT_EQ(DetectQuizFormat("1. Вопрос\n+ да\n- нет {2}\n", "вопросы.txt"), QuizFormat::MarkedText);
    EXPECT_EQ(DetectQuizFormat("1. Вопрос {=да ~нет}\n", "вопросы.txt"), QuizFormat::Gift);
    EXPECT_EQ(DetectQuizFormat("Вопрос\nA. да\nB. нет\nANSWER: A\n", "вопросы.txt"), QuizFormat::Aiken);
}

} // namespace
} // namespace mirvane::testing
