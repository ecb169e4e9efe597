// Moodle XML, the question bank's import format.
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

std::string TextIn(const XmlElement& question, std::string_view child)
{
    const XmlElement* element = question.Child(child);
    if (!element)
        return {};
    const XmlElement* text = element->Child("text");
    const std::string raw = text ? text->Text : std::string();
    return element->Attribute("format") == "html" || raw.find('<') != std::string::npos ? PlainFromHtml(raw) : raw;
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
    const std::unique_ptr<XmlElement> root = ParseXml(bytes);
    if (root->Name != "quiz")
        throw ImportError(root->Line, "это не файл Moodle XML: корневой элемент <" + root->Name + ">");
    for (const auto& question : root->Children) {
        if (question->Name != "question")
            continue;
        const std::string type = question->Attribute("type");
        const std::string name = TrimSpaces(question->TextOf("name"));
        if (type == "category") {
            builder.SetCategory(question->TextOf("category"));
            continue;
        }
        std::vector<ImportedTestBuilder::Answer> answers;
        if (type == "multichoice" || type == "truefalse") {
            for (const auto& answer : question->Children) {
                if (answer->Name != "answer")
                    continue;
                const XmlElement* text = answer->Child("text");
                const std::string raw = text ? text->Text : std::string();
                std::string shown = answer->Attribute("format") == "html" ? PlainFromHtml(raw) : raw;
                if (type == "truefalse")
                    shown = shown == "true" ? "Верно" : shown == "false" ? "Неверно" : shown;
                answers.push_back({shown, ReadFraction(answer->Attribute("fraction"))});
            }
            builder.AddQuestion(name, TextIn(*question, "questiontext"), answers, question->Line);
        } else {
            builder.Skip(type.empty() ? "без типа" : type, name, question->Line);
        }
    }
    builder.Finish();
    return result;
}

} // namespace mirvane
