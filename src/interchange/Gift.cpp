// GIFT, Moodle's text format: "$CATEGORY:" lines, then questions separated
// by blank lines, "::name::text{=right ~%50%half ~wrong}".
#include "interchange/ImportedTestBuilder.h"
#include "interchange/Interchange.h"

#include "model/DocumentOrder.h"
#include "model/Misc.h"
#include "model/Test.h"

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


struct Block {
    std::string Text;
    std::size_t Line = 0;
};

void ReadQuestion(const Block& block, ImportedTestBuilder& builder)
{
    std::string_view text = block.Text;
    std::string name;
    if (text.substr(0, 2) == "::") {
        const std::size_t end = text.find("::", 2);
        if (end == std::string_view::npos)
            throw ImportError(block.Line, "не закрыто имя вопроса «::»");
        name = Trimmed(GiftText(text.substr(2, end - 2)));
        text.remove_prefix(end + 2);
    }
    if (!text.empty() && text.front() == '[') { // "[html]", "[plain]"... a format mark
        const std::size_t end = text.find(']');
        if (end != std::string_view::npos)
            text.remove_prefix(end + 1);
    }
    const std::size_t open = FindUnescaped(text, '{', 0);
    if (open == std::string_view::npos) {
        builder.Skip("описание", name.empty() ? Trimmed(GiftText(text)) : name, block.Line);
        return;
    }
    const std::size_t close = FindUnescaped(text, '}', open + 1);
    if (close == std::string_view::npos)
        throw ImportError(block.Line, "не закрыта «{» с ответами");
    const std::string questionText = Trimmed(GiftText(std::string(text.substr(0, open)) + " " +
                                                      std::string(text.substr(close + 1))));
    if (name.empty())
        name = QuestionCaption(questionText);
    const std::string body = Trimmed(text.substr(open + 1, close - open - 1));
    if (body.empty()) {
        builder.Skip("эссе", name, block.Line);
        return;
    }
    if (body == "T" || body == "TRUE" || body == "F" || body == "FALSE") {
        const bool right = body[0] == 'T';
        builder.AddQuestion(name, questionText, {{"Верно", right ? 100.0 : 0.0}, {"Неверно", right ? 0.0 : 100.0}},
                            block.Line);
        return;
    }
    if (body[0] == '#') {
        builder.Skip("числовой", name, block.Line);
        return;
    }
    std::vector<ImportedTestBuilder::Answer> answers;
    bool wrongOnes = false;
    bool matching = false;
    std::size_t i = 0;
    while (i < body.size()) {
        const std::size_t start = FindUnescaped(body, '=', i) < FindUnescaped(body, '~', i)
                                      ? FindUnescaped(body, '=', i)
                                      : FindUnescaped(body, '~', i);
        if (start == std::string_view::npos)
            break;
        const bool right = body[start] == '=';
        wrongOnes = wrongOnes || !right;
        std::size_t end = std::min(FindUnescaped(body, '=', start + 1), FindUnescaped(body, '~', start + 1));
        if (end == std::string_view::npos)
            end = body.size();
        std::string_view answer = std::string_view(body).substr(start + 1, end - start - 1);
        double fraction = right ? 100 : 0;
        if (!answer.empty() && answer.front() == '%') {
            const std::size_t percent = answer.find('%', 1);
            if (percent != std::string_view::npos) {
                fraction = ReadFraction(answer.substr(1, percent - 1));
                answer.remove_prefix(percent + 1);
            }
        }
        const std::size_t feedback = FindUnescaped(answer, '#', 0);
        if (feedback != std::string_view::npos)
            answer = answer.substr(0, feedback); // feedback is not kept
        if (answer.find("->") != std::string_view::npos)
            matching = true;
        answers.push_back({GiftText(Trimmed(answer)), fraction});
        i = end;
    }
    if (matching)
        builder.Skip("на соответствие", name, block.Line);
    else if (!wrongOnes)
        builder.Skip("короткий ответ", name, block.Line);
    else
        builder.AddQuestion(name, questionText, answers, block.Line);
}

} // namespace

QuizExport ExportGift(const Test& test, const DocumentOrder& order)
{
    QuizExport result;
    std::string& out = result.Text;
    for (const DocumentOrder::DivisionEntry& entry : order.Divisions) {
        const Division& division = test.Divisions.Item(entry.Key);
        out += "$CATEGORY: $course$/" + TrimSpaces(division.Name) + "\n\n";
        for (std::size_t j = 0; j < entry.QuestionKeys.size(); ++j) {
            const Question& question = QuestionInOrder(division, entry.QuestionKeys, j);
            const int best = question.GetBestAnswer();
            int present = 0;
            for (int a = 0; a < Question::kAnswerSlots; ++a)
                present += question.IsAnswerPresent(a) ? 1 : 0;
            if (present < 2 || !question.IsAnswerPresent(best)) {
                ++result.Skipped;
                continue;
            }
            out += "::" + GiftEscaped(QuestionCaption(question.Q())) + "::" + GiftEscaped(question.Q()) + "{";
            for (int a = 0; a < Question::kAnswerSlots; ++a) {
                if (!question.IsAnswerPresent(a))
                    continue;
                out += "\n\t";
                if (a == best) {
                    out += '=';
                } else {
                    const double fraction = MoodleFraction(question.AScoreGet(a), question.AScoreGet(best));
                    out += fraction == 0 ? "~" : "~%" + FractionText(fraction) + "%";
                }
                out += GiftEscaped(question.AGet(a));
            }
            out += "\n}\n\n";
        }
    }
    return result;
}

ImportedTest ImportGift(std::string_view text, const std::string& fileStem)
{
    ImportedTest result;
    ImportedTestBuilder builder(fileStem, result);
    const std::string lines = PlainLines(text);
    text = lines;
    Block block;
    std::size_t lineNumber = 0;
    std::size_t pos = 0;
    bool inAnswers = false; // a blank line inside "{...}" does not end the question
    auto finish = [&] {
        if (!Trimmed(block.Text).empty())
            ReadQuestion(block, builder);
        block = Block{};
        inAnswers = false;
    };
    while (pos <= text.size()) {
        const std::size_t end = std::min(text.find('\n', pos), text.size());
        std::string_view line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        ++lineNumber;
        pos = end + 1;
        const std::string trimmed = Trimmed(line);
        if (trimmed.substr(0, 2) == "//")
            continue; // a comment
        if (trimmed.substr(0, 10) == "$CATEGORY:" && !inAnswers) {
            finish();
            builder.SetCategory(Trimmed(trimmed.substr(10)));
            continue;
        }
        if (IsBlankLine(line) && !inAnswers) {
            finish();
            continue;
        }
        if (block.Text.empty())
            block.Line = lineNumber;
        else
            block.Text += '\n';
        block.Text += line;
        const std::size_t open = FindUnescaped(block.Text, '{', 0);
        inAnswers = open != std::string::npos && FindUnescaped(block.Text, '}', open + 1) == std::string::npos;
    }
    if (inAnswers)
        throw ImportError(block.Line, "не закрыта «{» с ответами");
    finish();
    builder.Finish();
    return result;
}

} // namespace mirvane
