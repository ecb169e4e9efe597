// Moodle XML, the question bank's import format.
#include "interchange/HtmlText.h"
#include "interchange/ImportedTestBuilder.h"
#include "interchange/Interchange.h"
#include "interchange/XmlTree.h"

#include "model/DocumentOrder.h"
#include "model/Misc.h"
#include "model/Test.h"
#include "model/Utf8.h"

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

// Control characters as a DOS screen shows them (a test may hold the arrows
// and card suits of code page 866's first 32 bytes); 0 for those XML allows.
constexpr char32_t kDosGlyphs[32] = {
    0xFFFD, 0x263A, 0x263B, 0x2665, 0x2666, 0x2663, 0x2660, 0x2022, 0x25D8, 0,      0,      0x2642, 0x2640, 0,      0x266B, 0x263C,
    0x25BA, 0x25C4, 0x2195, 0x203C, 0x00B6, 0x00A7, 0x25AC, 0x21A8, 0x2191, 0x2193, 0x2192, 0x2190, 0x221F, 0x2194, 0x25B2, 0x25BC,
};

// Only characters XML allows: a control character becomes its DOS glyph,
// anything else XML refuses (a broken byte, U+FFFE, U+FFFF) the
// replacement character; each counted.
std::string XmlAllowed(std::string_view text, std::size_t& replaced)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t from = i;
        char32_t cp = Utf8Next(text, i);
        const bool broken = cp == 0xFFFD && text.substr(from, 3) != "\xEF\xBF\xBD";
        if (cp < 0x20 && kDosGlyphs[cp] != 0) {
            cp = kDosGlyphs[cp];
        } else if (broken || cp == 0xFFFE || cp == 0xFFFF) {
            cp = 0xFFFD;
        } else {
            out.append(text.substr(from, i - from));
            continue;
        }
        AppendUtf8(out, cp);
        ++replaced;
    }
    return out;
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

class XmlWriter {
public:
    explicit XmlWriter(QuizExport& result) : result_(result) {}

    // `counted`: false for a text that repeats another (a question's name),
    // so that each replaced character is counted once.
    void Text(const char* indent, std::string_view text, bool counted = true)
    {
        std::size_t uncounted = 0;
        out() += indent;
        out() += "<text>";
        out() += XmlEscaped(XmlAllowed(WithLf(text), counted ? replaced_ : uncounted));
        out() += "</text>\n";
    }

    void Question(const Division& division, const Question& question, std::size_t number)
    {
        const int best = question.GetBestAnswer();
        std::vector<std::pair<int, double>> answers;
        bool full = false;
        for (int a = 0; a < Question::kAnswerSlots; ++a) {
            if (!question.IsAnswerPresent(a))
                continue;
            const double fraction = a == best ? 100 : MoodleFraction(question.AScoreGet(a), question.AScoreGet(best));
            full = full || fraction == 100;
            answers.emplace_back(a, fraction);
        }
        // Moodle refuses the whole file over such a question.
        const char* refusal = answers.size() < 2 ? "меньше двух ответов (notenoughanswers)"
                              : !full ? "лучший ответ пуст, и ни один ответ не даёт 100 % (fractionsnomax)"
                                      : nullptr;
        if (refusal) {
            ++result_.Skipped;
            result_.Notes.push_back("раздел «" + TrimSpaces(division.Name) + "», вопрос " + std::to_string(number) +
                                    " «" + QuestionCaption(question.Q()) + "» не записан: " + refusal);
            return;
        }
        out() += "  <question type=\"multichoice\">\n    <name>\n";
        Text("      ", QuestionCaption(question.Q()), false);
        out() += "    </name>\n    <questiontext format=\"plain_text\">\n";
        Text("      ", question.Q());
        out() += "    </questiontext>\n    <single>true</single>\n    <shuffleanswers>false</shuffleanswers>\n";
        for (const auto& [a, fraction] : answers) {
            out() += "    <answer fraction=\"" + FractionText(fraction) + "\" format=\"plain_text\">\n";
            Text("      ", question.AGet(a));
            out() += "    </answer>\n";
        }
        out() += "  </question>\n";
    }

    void Finish()
    {
        if (replaced_ > 0)
            result_.Notes.push_back("символов, недопустимых в XML, заменено: " + std::to_string(replaced_) +
                                    " (управляющие - знаками экрана DOS, прочие - знаком \xEF\xBF\xBD)");
    }

    std::string& out() { return result_.Text; }

private:
    QuizExport& result_;
    std::size_t replaced_ = 0;
};

// A name as one line of a message: blanks and control characters as one space.
std::string OneLine(std::string_view text)
{
    std::string out;
    for (char c : text) {
        if (static_cast<unsigned char>(c) <= ' ') {
            if (!out.empty() && out.back() != ' ')
                out += ' ';
        } else {
            out += c;
        }
    }
    return Trimmed(out);
}

bool HasText(const XmlElement* element)
{
    const XmlElement* text = element ? element->Child("text") : nullptr;
    return text && !Trimmed(text->Text).empty();
}

// A single-choice or true/false question, with notes on what the test cannot
// carry: images and feedback.
void ReadChoiceQuestion(const XmlElement& question, bool trueFalse, const std::string& name,
                        ImportedTestBuilder& builder, std::vector<std::string>& notes)
{
    const std::string about = "вопрос «" + name + "»: ";
    auto note = [&](const std::string& lines, const std::string& what) { notes.push_back(lines + ": " + about + what); };
    const std::string line = "строка " + std::to_string(question.Line);
    // Moodle reads a question text without a format as HTML, and the
    // answers in the question text's format.
    const XmlElement* questionText = question.Child("questiontext");
    const MoodleTextFormat format =
        TextFormatNamed(questionText ? questionText->Attribute("format") : "", MoodleTextFormat::Html);
    const ShownText text = TextInFormat(question.TextOf("questiontext"), format);
    if (text.Images > 0)
        note(line, "изображения в тексте не перенесены (" + std::to_string(text.Images) + ")");
    std::vector<ImportedTestBuilder::Answer> answers;
    std::vector<std::size_t> imageOnly;
    bool feedback = HasText(question.Child("generalfeedback"));
    for (const auto& answer : question.Children) {
        if (answer->Name != "answer")
            continue;
        const XmlElement* raw = answer->Child("text");
        const ShownText shown =
            TextInFormat(raw ? raw->Text : std::string(), TextFormatNamed(answer->Attribute("format"), format));
        std::string answerText = Trimmed(shown.Text);
        if (trueFalse)
            answerText = answerText == "true" ? "Верно" : answerText == "false" ? "Неверно" : answerText;
        if (answerText.empty() && shown.Images > 0) {
            answerText = "[изображение]";
            imageOnly.push_back(answer->Line);
        }
        feedback = feedback || HasText(answer->Child("feedback"));
        const double fraction = ReadFraction(answer->Attribute("fraction"));
        answers.push_back({answerText, fraction});
    }
    if (!imageOnly.empty())
        note((imageOnly.size() > 1 ? "строки " : "строка ") + Lines(imageOnly),
             "ответ из одного изображения записан как «[изображение]»");
    if (feedback)
        note(line, "отзывы на ответы не перенесены");
    // Several right answers are told by the builder, for every format alike.
    builder.AddQuestion(name, text.Text, answers, question.Line);
}

} // namespace

QuizExport ExportMoodleXml(const Test& test, const DocumentOrder& order)
{
    QuizExport result;
    XmlWriter writer(result);
    writer.out() = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<quiz>\n";
    for (const DocumentOrder::DivisionEntry& entry : order.Divisions) {
        const Division& division = test.Divisions.Item(entry.Key);
        writer.out() += "  <question type=\"category\">\n    <category>\n";
        // Under the root category, as Moodle writes its own: a division named
        // "top" stays a division.
        writer.Text("      ", "$course$/top/" + TrimSpaces(division.Name));
        writer.out() += "    </category>\n  </question>\n";
        for (std::size_t j = 0; j < entry.QuestionKeys.size(); ++j)
            writer.Question(division, QuestionInOrder(division, entry.QuestionKeys, j), j + 1);
    }
    writer.out() += "</quiz>\n";
    writer.Finish();
    return result;
}

ImportedTest ImportMoodleXml(std::string_view bytes, const std::string& fileStem, const ImportProgress& progress)
{
    ImportedTest result;
    ImportedTestBuilder builder(fileStem, result);
    // The bar's first half is the reading of the file, the second the
    // questions read from it.
    const std::size_t half = bytes.size() / 2;
    ProgressTicker ticker(progress, bytes.size());
    ticker.At(0);
    // HTML put into <text> without CDATA stays HTML, words and all.
    const std::unique_ptr<XmlElement> root = ParseXml(bytes, "text", [&](std::size_t read) { ticker.At(read / 2); });
    if (root->Name != "quiz")
        throw ImportError(root->Line, "это не файл Moodle XML: корневой элемент <" + root->Name + ">");
    std::size_t questions = 0;
    const std::size_t elements = root->Children.size();
    for (std::size_t i = 0; i < elements; ++i) {
        ticker.At(half + static_cast<std::size_t>(static_cast<double>(bytes.size() - half) * i / elements));
        const auto& question = root->Children[i];
        if (question->Name != "question")
            continue;
        const std::string type = question->Attribute("type");
        const std::string name = OneLine(question->TextOf("name"));
        if (type == "category") {
            builder.SetCategory(Trimmed(question->TextOf("category")));
            continue;
        }
        ++questions;
        if (type != "multichoice" && type != "truefalse") {
            const char* named = TypeName(type);
            builder.Skip(named ? std::string(named) : type.empty() ? "без типа" : OneLine(type), name, question->Line);
            continue;
        }
        ReadChoiceQuestion(*question, type == "truefalse", name, builder, result.Notes);
    }
    if (questions == 0)
        result.Notes.push_back("в файле нет вопросов");
    builder.Finish();
    ticker.At(bytes.size());
    return result;
}

} // namespace mirvane
