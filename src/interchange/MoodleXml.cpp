// Moodle XML, the question bank's import format.
#include "interchange/HtmlText.h"
#include "interchange/ImportedTestBuilder.h"
#include "interchange/Interchange.h"
#include "interchange/XmlTree.h"

#include "model/DocumentOrder.h"
#include "model/Misc.h"
#include "model/Test.h"

namespace mirvane {

namespace {

// Line breaks as the platform shows them in plain text: LF.
std::string WithLf(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        out += text[i];
    }
    return out;
}

void AppendText(std::string& out, const char* indent, std::string_view text)
{
    out += indent;
    out += "<text>";
    out += XmlEscaped(WithLf(text));
    out += "</text>\n";
}

const char* TypeName(std::string_view type)
{
    struct Named {
        std::string_view type;
        const char* name;
    };
    static constexpr Named kTypes[] = {
        {"shortanswer", "короткий ответ"},     {"numerical", "числовой"},
        {"essay", "эссе"},                     {"matching", "на соответствие"},
        {"description", "описание"},           {"multianswer", "вложенные ответы"},
        {"cloze", "вложенные ответы"},         {"calculated", "вычисляемый"},
        {"calculatedsimple", "вычисляемый"},   {"calculatedmulti", "вычисляемый"},
        {"ddwtos", "перетаскивание в текст"},  {"gapselect", "выбор пропущенных слов"},
        {"ddimageortext", "перетаскивание на изображение"}, {"ddmarker", "перетаскивание маркеров"},
        {"randomsamatch", "случайный на соответствие"},     {"random", "случайный"},
    };
    for (const Named& named : kTypes) {
        if (named.type == type)
            return named.name;
    }
    return nullptr;
}

std::string Lines(const std::vector<std::size_t>& numbers)
{
    std::string out;
    for (std::size_t n : numbers)
        out += (out.empty() ? "" : ", ") + std::to_string(n);
    return out;
}

} // namespace

std::string ExportMoodleXml(const Test& test, const DocumentOrder& order)
{
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<quiz>\n";
    for (const DocumentOrder::DivisionEntry& entry : order.Divisions) {
        const Division& division = test.Divisions.Item(entry.Key);
        out += "  <question type=\"category\">\n    <category>\n";
        AppendText(out, "      ", "$course$/" + TrimSpaces(division.Name));
        out += "    </category>\n  </question>\n";
        for (std::size_t j = 0; j < entry.QuestionKeys.size(); ++j) {
            const Question& question = QuestionInOrder(division, entry.QuestionKeys, j);
            const int best = question.GetBestAnswer();
            out += "  <question type=\"multichoice\">\n    <name>\n";
            AppendText(out, "      ", QuestionCaption(question.Q()));
            out += "    </name>\n    <questiontext format=\"plain_text\">\n";
            AppendText(out, "      ", question.Q());
            out += "    </questiontext>\n    <single>true</single>\n    <shuffleanswers>false</shuffleanswers>\n";
            for (int a = 0; a < Question::kAnswerSlots; ++a) {
                if (!question.IsAnswerPresent(a))
                    continue;
                const double fraction =
                    a == best ? 100 : MoodleFraction(question.AScoreGet(a), question.AScoreGet(best));
                out += "    <answer fraction=\"" + FractionText(fraction) + "\" format=\"plain_text\">\n";
                AppendText(out, "      ", question.AGet(a));
                out += "    </answer>\n";
            }
            out += "  </question>\n";
        }
    }
    out += "</quiz>\n";
    return out;
}

ImportedTest ImportMoodleXml(std::string_view bytes, const std::string& fileStem)
{
    ImportedTest result;
    ImportedTestBuilder builder(fileStem, result);
    // HTML put into <text> without CDATA stays HTML, words and all.
    const std::unique_ptr<XmlElement> root = ParseXml(bytes, "text");
    if (root->Name != "quiz")
        throw ImportError(root->Line, "это не файл Moodle XML: корневой элемент <" + root->Name + ">");
    std::size_t questions = 0;
    for (const auto& question : root->Children) {
        if (question->Name != "question")
            continue;
        const std::string type = question->Attribute("type");
        const std::string name = Trimmed(question->TextOf("name"));
        if (type == "category") {
            builder.SetCategory(Trimmed(question->TextOf("category")));
            continue;
        }
        ++questions;
        if (type != "multichoice" && type != "truefalse") {
            const char* named = TypeName(type);
            builder.Skip(named ? named : type.empty() ? "без типа" : type, name, question->Line);
            continue;
        }
        // Moodle reads a question text without a format as HTML, and the
        // answers in the question text's format.
        const XmlElement* questionText = question->Child("questiontext");
        const MoodleTextFormat format =
            TextFormatNamed(questionText ? questionText->Attribute("format") : "", MoodleTextFormat::Html);
        const ShownText text = TextInFormat(question->TextOf("questiontext"), format);
        const std::string about = "вопрос «" + name + "»: ";
        if (text.Images > 0)
            result.Notes.push_back("строка " + std::to_string(question->Line) + ": " + about +
                                   "изображения в тексте не перенесены (" + std::to_string(text.Images) + ")");
        std::vector<ImportedTestBuilder::Answer> answers;
        std::vector<std::size_t> imageOnly;
        for (const auto& answer : question->Children) {
            if (answer->Name != "answer")
                continue;
            const XmlElement* raw = answer->Child("text");
            ShownText shown =
                TextInFormat(raw ? raw->Text : std::string(), TextFormatNamed(answer->Attribute("format"), format));
            std::string answerText = Trimmed(shown.Text);
            if (type == "truefalse")
                answerText = answerText == "true" ? "Верно" : answerText == "false" ? "Неверно" : answerText;
            if (answerText.empty() && shown.Images > 0) {
                answerText = "[изображение]";
                imageOnly.push_back(answer->Line);
            }
            answers.push_back({answerText, ReadFraction(answer->Attribute("fraction"))});
        }
        if (!imageOnly.empty())
            result.Notes.push_back((imageOnly.size() > 1 ? "строки " : "строка ") + Lines(imageOnly) + ": " + about +
                                   "ответ из одного изображения записан как «[изображение]»");
        builder.AddQuestion(name, text.Text, answers, question->Line);
    }
    if (questions == 0)
        result.Notes.push_back("в файле нет вопросов");
    builder.Finish();
    return result;
}

} // namespace mirvane
