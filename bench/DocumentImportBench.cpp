// Importing a 300-page document of 5,000 numbered questions (a .docx and an
// .odt, with the word processor's lists and a bold right answer), against
// the floor of the same run: inflating the document's XML and parsing it
// with expat, doing nothing with what is read.
#include "interchange/Interchange.h"
#include "interchange/ZipArchive.h"
#include "model/KeyCounter.h"
#include "model/Test.h"
#include "ZipWriter.h"

#include <benchmark/benchmark.h>
#include <expat.h>

#include <string>

namespace mirvane::bench {
namespace {

constexpr int kQuestions = 5000;

// A run as a word processor writes it: fonts, size and language each time.
std::string WordRun(const std::string& text, bool bold)
{
    return "<w:r w:rsidR=\"00A1B2C3\"><w:rPr><w:rFonts w:ascii=\"Times New Roman\" w:hAnsi=\"Times New Roman\"/>" +
           std::string(bold ? "<w:b/>" : "") + "<w:sz w:val=\"24\"/><w:lang w:val=\"ru-RU\"/></w:rPr><w:t xml:space=\"preserve\">" +
           text + "</w:t></w:r>";
}

std::string QuestionText(int i)
{
    return "Вопрос " + std::to_string(i + 1) +
           ": какое из утверждений о законах механики, изученных на уроках физики в этой четверти, верно для тела, "
           "движущегося равномерно и прямолинейно под действием нескольких сил?";
}

std::string AnswerText(int i, int a)
{
    return "Ответ " + std::string(1, static_cast<char>('1' + a)) + " к вопросу " + std::to_string(i + 1) +
           ": равнодействующая сил равна нулю";
}

const std::string& Docx()
{
    static const std::string bytes = [] {
        std::string body;
        for (int i = 0; i < kQuestions; ++i) {
            auto paragraph = [&](int level, const std::string& runs) {
                body += "<w:p w:rsidR=\"00A1B2C3\"><w:pPr><w:pStyle w:val=\"ListParagraph\"/><w:numPr><w:ilvl w:val=\"" +
                        std::to_string(level) + "\"/><w:numId w:val=\"1\"/></w:numPr></w:pPr>" + runs + "</w:p>";
            };
            const std::string text = QuestionText(i);
            const std::size_t split = text.find(' ', 40); // Word splits runs between edits
            paragraph(0, WordRun(text.substr(0, split), false) + WordRun(text.substr(split), false));
            for (int a = 0; a < 4; ++a)
                paragraph(1, WordRun(AnswerText(i, a), a == i % 4));
        }
        return testing::DocxBytes(body);
    }();
    return bytes;
}

const std::string& Odt()
{
    static const std::string bytes = [] {
        std::string text = "<text:list text:style-name=\"L1\">";
        for (int i = 0; i < kQuestions; ++i) {
            text += "<text:list-item><text:p text:style-name=\"P1\">" + QuestionText(i) + "</text:p><text:list>";
            for (int a = 0; a < 4; ++a) {
                const std::string answer = AnswerText(i, a);
                text += "<text:list-item><text:p text:style-name=\"P1\">" +
                        (a == i % 4 ? "<text:span text:style-name=\"T1\">" + answer + "</text:span>" : answer) +
                        "</text:p></text:list-item>";
            }
            text += "</text:list></text:list-item>";
        }
        text += "</text:list>";
        return testing::OdtBytes(
            "<style:style style:name=\"T1\" style:family=\"text\"><style:text-properties fo:font-weight=\"bold\"/></style:style>"
            "<style:style style:name=\"P1\" style:family=\"paragraph\"/>",
            text);
    }();
    return bytes;
}

void BM_DocumentImport(benchmark::State& state)
{
    const bool odt = state.range(0) == 1;
    const std::string& bytes = odt ? Odt() : Docx();
    std::size_t questions = 0;
    for (auto _ : state) {
        ResetKeyNumbers();
        const ImportedTest read = odt ? ImportOdt(bytes, "bench") : ImportDocx(bytes, "bench");
        questions = 0;
        for (const Division& d : read.Read->Divisions)
            questions += d.Questions.Count();
    }
    if (questions != kQuestions)
        state.SkipWithError("the document's questions did not all come in");
    state.SetLabel(std::string(odt ? "odt" : "docx") + ", " + std::to_string(bytes.size() >> 10) + " KB");
}
BENCHMARK(BM_DocumentImport)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The floor: the XML inflated and parsed by expat, nothing kept.
void BM_DocumentBaseline(benchmark::State& state)
{
    const bool odt = state.range(0) == 1;
    const std::string& bytes = odt ? Odt() : Docx();
    for (auto _ : state) {
        const ZipArchive zip(bytes);
        const std::string xml = *zip.Part(odt ? "content.xml" : "word/document.xml", kDocumentPartLimit);
        XML_Parser parser = XML_ParserCreate(nullptr);
        benchmark::DoNotOptimize(XML_Parse(parser, xml.data(), static_cast<int>(xml.size()), XML_TRUE));
        XML_ParserFree(parser);
    }
    state.SetLabel(odt ? "odt" : "docx");
}
BENCHMARK(BM_DocumentBaseline)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace mirvane::bench
