// GIFT, Moodle's text format: "$CATEGORY:" lines, then questions separated
// by blank lines, "::name::text{=right ~%50%half ~wrong}".
#include "interchange/HtmlText.h"
#include "interchange/ImportedTestBuilder.h"
#include "interchange/Interchange.h"

#include "model/DocumentOrder.h"
#include "model/Misc.h"
#include "model/Test.h"

#include <algorithm>

namespace mirvane {

namespace {

// GIFT's special characters escaped, a line break as "\n".
std::string GiftEscaped(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            out += "\\n";
            ++i;
        } else if (c == '~' || c == '=' || c == '#' || c == '{' || c == '}' || c == ':' || c == '\\') {
            out += '\\';
            out += c;
        } else {
            out += c;
        }
    }
    return out;
}

// Text with its escapes resolved.
std::string GiftText(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            ++i;
            out += text[i] == 'n' ? '\n' : text[i];
        } else {
            out += text[i];
        }
    }
    return out;
}

// The position of the first unescaped `c` at or after `from`, or npos.
std::size_t FindUnescaped(std::string_view text, char c, std::size_t from)
{
    for (std::size_t i = from; i < text.size(); ++i) {
        if (text[i] == '\\')
            ++i;
        else if (text[i] == c)
            return i;
    }
    return std::string_view::npos;
}

bool IsBlankLine(std::string_view line) { return line.find_first_not_of(" \t\r") == std::string_view::npos; }

// The position of the first unescaped "::" at or after `from`, or npos.
std::size_t FindTitleEnd(std::string_view text, std::size_t from)
{
    for (std::size_t i = from; i + 1 < text.size(); ++i) {
        if (text[i] == '\\')
            ++i;
        else if (text[i] == ':' && text[i + 1] == ':')
            return i;
    }
    return std::string_view::npos;
}

enum class TextFormat { Plain, Html };

// A leading format mark ("[html]", "[plain]", "[moodle]", "[markdown]") taken
// off the text; any other bracket is the text's own ("[Глава 2]"). Without a
// mark the text is in `unmarked`.
TextFormat TakeFormatMark(std::string_view& text, TextFormat unmarked = TextFormat::Plain)
{
    const std::size_t first = text.find_first_not_of(" \t\n");
    if (first == std::string_view::npos || text[first] != '[')
        return unmarked;
    const std::size_t end = text.find(']', first);
    if (end == std::string_view::npos || end - first > 10)
        return unmarked;
    std::string mark(text.substr(first + 1, end - first - 1));
    std::transform(mark.begin(), mark.end(), mark.begin(), [](unsigned char c) { return std::tolower(c); });
    if (mark != "html" && mark != "plain" && mark != "moodle" && mark != "markdown")
        return unmarked;
    text.remove_prefix(end + 1);
    return mark == "html" ? TextFormat::Html : TextFormat::Plain;
}

bool HasImage(std::string_view text)
{
    if (text.find_first_of("<@") == std::string_view::npos)
        return false;
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    return lower.find("<img") != std::string::npos || lower.find("@@pluginfile@@") != std::string::npos;
}

// What a question left out, told once each.
struct LeftOut {
    bool Feedback = false;
    bool Images = false;
};

// Unescaped text in its format, as the player shows text. Only HTML shows
// images: in plain text an "<img" is what the text says.
std::string ShownText(std::string_view raw, TextFormat format, LeftOut& leftOut)
{
    leftOut.Images = leftOut.Images || (format == TextFormat::Html && HasImage(raw));
    const std::string text = GiftText(raw);
    return format == TextFormat::Html ? TextFromHtml(text).Text : text;
}

// Escaped text; one that begins like a format mark gets "[plain]" first, so
// that its own bracket stays.
std::string Marked(std::string_view text)
{
    std::string_view rest = text;
    return (TakeFormatMark(rest) == TextFormat::Plain && rest.size() == text.size() ? "" : "[plain]") +
           GiftEscaped(text);
}

struct Block {
    std::string Text;
    std::size_t Line = 0;
};

void ReadQuestion(const Block& block, ImportedTestBuilder& builder)
{
    std::string_view text = block.Text;
    std::string name;
    if (text.substr(0, 2) == "::") {
        const std::size_t end = FindTitleEnd(text, 2);
        if (end == std::string_view::npos)
            throw ImportError(block.Line, "не закрыто имя вопроса «::»");
        name = Trimmed(GiftText(text.substr(2, end - 2)));
        text.remove_prefix(end + 2);
    }
    LeftOut leftOut;
    const TextFormat format = TakeFormatMark(text);
    const std::size_t open = FindUnescaped(text, '{', 0);
    if (open == std::string_view::npos) {
        builder.Skip("описание", name.empty() ? Trimmed(GiftText(text)) : name, block.Line);
        return;
    }
    const std::size_t close = FindUnescaped(text, '}', open + 1);
    const std::string_view after = close == std::string_view::npos ? std::string_view() : text.substr(close + 1);
    // Text after the answers makes a missing-word question: the blank
    // stands where the answers stood.
    std::string questionText = ShownText(text.substr(0, open), format, leftOut);
    if (!IsBlankLine(after))
        questionText += "_____" + ShownText(after, format, leftOut);
    questionText = Trimmed(questionText);
    if (name.empty())
        name = QuestionCaption(questionText);
    if (close == std::string_view::npos) {
        builder.Drop(name, block.Line, "не закрыта «{» с ответами");
        return;
    }
    const std::string_view body = std::string_view(text).substr(open + 1, close - open - 1);
    const std::string trimmedBody = Trimmed(body);
    if (trimmedBody.empty()) {
        builder.Skip("эссе", name, block.Line);
        return;
    }
    if (trimmedBody[0] == '#') {
        builder.Skip("числовой", name, block.Line);
        return;
    }
    auto report = [&] {
        if (leftOut.Feedback)
            builder.LeftOut(name, block.Line, "отзывы не перенесены");
        if (leftOut.Images)
            builder.LeftOut(name, block.Line, "изображения не перенесены");
    };

    // True or false, with feedback after "#" (Moodle writes "{TRUE#...#...}").
    const std::size_t hash = FindUnescaped(trimmedBody, '#', 0);
    const std::string_view beforeHash = std::string_view(trimmedBody).substr(0, hash);
    std::string head = beforeHash.size() <= 8 ? Trimmed(beforeHash) : std::string();
    std::transform(head.begin(), head.end(), head.begin(), [](unsigned char c) { return std::toupper(c); });
    if (head == "T" || head == "TRUE" || head == "F" || head == "FALSE") {
        leftOut.Feedback = hash != std::string::npos && !IsBlankLine(GiftText(trimmedBody.substr(hash)).substr(1));
        const bool right = head[0] == 'T';
        if (builder.AddQuestion(name, questionText,
                                {{"Верно", right ? 100.0 : 0.0}, {"Неверно", right ? 0.0 : 100.0}}, block.Line))
            report();
        return;
    }

    // Every answer begins at an unescaped "=" or "~": one pass finds them all.
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < body.size(); ++i) {
        if (body[i] == '\\')
            ++i;
        else if (body[i] == '=' || body[i] == '~')
            starts.push_back(i);
    }
    std::vector<ImportedTestBuilder::Answer> answers;
    bool wrongOnes = false;
    bool arrows = false;
    for (std::size_t k = 0; k < starts.size(); ++k) {
        const std::size_t start = starts[k];
        const std::size_t end = k + 1 < starts.size() ? starts[k + 1] : body.size();
        const bool right = body[start] == '=';
        wrongOnes = wrongOnes || !right;
        std::string_view answer = body.substr(start + 1, end - start - 1);
        double fraction = right ? 100 : 0;
        answer.remove_prefix(std::min(answer.size(), answer.find_first_not_of(" \t\n")));
        if (!answer.empty() && answer.front() == '%') {
            const std::size_t percent = answer.find('%', 1);
            if (percent != std::string_view::npos) {
                fraction = ReadFraction(answer.substr(1, percent - 1));
                answer.remove_prefix(percent + 1);
            }
        }
        const std::size_t feedback = FindUnescaped(answer, '#', 0);
        if (feedback != std::string_view::npos) {
            leftOut.Feedback = leftOut.Feedback || !IsBlankLine(answer.substr(feedback + 1));
            answer = answer.substr(0, feedback);
        }
        arrows = arrows || answer.find("->") != std::string_view::npos;
        // An answer is in the question's format unless it says otherwise.
        const TextFormat answerFormat = TakeFormatMark(answer, format);
        answers.push_back({Trimmed(ShownText(answer, answerFormat, leftOut)), fraction});
    }
    // Matching pairs have only "=" answers; one "~" makes them choices.
    if (arrows && !wrongOnes)
        builder.Skip("на соответствие", name, block.Line);
    else if (!wrongOnes)
        builder.Skip("короткий ответ", name, block.Line);
    else if (builder.AddQuestion(name, questionText, answers, block.Line))
        report();
}

} // namespace

QuizExport ExportGift(const Test& test, const DocumentOrder& order)
{
    QuizExport result;
    std::string& out = result.Text;
    out = kUtf8Mark;
    for (const DocumentOrder::DivisionEntry& entry : order.Divisions) {
        const Division& division = test.Divisions.Item(entry.Key);
        out += "$CATEGORY: $course$/" + TrimSpaces(division.Name) + "\n\n";
        for (std::size_t j = 0; j < entry.QuestionKeys.size(); ++j) {
            const Question& question = QuestionInOrder(division, entry.QuestionKeys, j);
            // GIFT trims every answer: one of tabs alone would come back empty.
            const auto [present, best] = CountAnswersWithText(question);
            if (present < 2) {
                ++result.Skipped;
                continue;
            }
            const std::string caption = QuestionCaption(question.Q());
            if (!caption.empty())
                out += "::" + GiftEscaped(caption) + "::";
            out += Marked(question.Q()) + "{";
            for (int a = 0; a < Question::kAnswerSlots; ++a) {
                if (!HasAnswerText(question, a))
                    continue;
                out += "\n\t";
                // An answer that begins with "%" gets its weight written out,
                // or its own text would be read as one.
                const std::string text = Marked(question.AGet(a));
                const bool weighted = text[text.find_first_not_of(" \t")] == '%';
                if (a == best) {
                    out += weighted ? "=%100%" : "=";
                } else {
                    const double fraction = MoodleFraction(question.AScoreGet(a), question.AScoreGet(best));
                    out += fraction == 0 && !weighted ? "~" : "~%" + FractionText(fraction) + "%";
                }
                out += text;
            }
            out += "\n}\n\n";
        }
    }
    return result;
}

ImportedTest ImportGift(std::string_view bytes, const std::string& fileStem, std::optional<TextEncoding> encoding,
                         const ImportProgress& progress)
{
    ImportedTest result;
    ImportedTestBuilder builder(fileStem, result);
    const std::string lines = PlainLines(QuizText(bytes, encoding));
    const std::string_view text = lines;
    Block block;
    std::size_t lineNumber = 0;
    std::size_t pos = 0;
    // Inside "{...}" a blank line followed by another answer does not end
    // the question; followed by anything else, the "{" was never closed.
    bool inAnswers = false;
    bool blankInAnswers = false;
    auto finish = [&] {
        if (!Trimmed(block.Text).empty())
            ReadQuestion(block, builder);
        block = Block{};
        inAnswers = false;
        blankInAnswers = false;
    };
    ProgressTicker ticker(progress, text.size());
    while (pos <= text.size()) {
        ticker.At(pos);
        const std::size_t end = std::min(text.find('\n', pos), text.size());
        const std::string_view line = text.substr(pos, end - pos);
        ++lineNumber;
        pos = end + 1;
        const std::string trimmed = Trimmed(line);
        if (trimmed.substr(0, 2) == "//")
            continue; // a comment
        if (IsBlankLine(line)) {
            if (inAnswers)
                blankInAnswers = true;
            else
                finish();
            continue;
        }
        if (blankInAnswers && std::string_view("=~#}%").find(trimmed[0]) == std::string_view::npos)
            finish(); // the question's "{" is left open: it is told, and the line starts the next
        blankInAnswers = false;
        if (trimmed.substr(0, 10) == "$CATEGORY:" && !inAnswers) {
            finish();
            builder.SetCategory(Trimmed(trimmed.substr(10)));
            continue;
        }
        if (block.Text.empty())
            block.Line = lineNumber;
        else
            block.Text += '\n';
        block.Text += line;
        for (std::size_t i = 0; i < line.size(); ++i) {
            if (line[i] == '\\')
                ++i;
            else if (line[i] == '{')
                inAnswers = true;
            else if (line[i] == '}')
                inAnswers = false;
        }
    }
    finish();
    builder.Finish();
    return result;
}

} // namespace mirvane
