// Questions with simple marks: "1. " or "?" starts a question, "+" and "-"
// or "а)" and "b." start its answers, "# " a division; a blank line ends a
// question.
#include "interchange/ImportedTestBuilder.h"
#include "interchange/Interchange.h"
#include "interchange/MarkedParagraphs.h"

#include "model/DocumentOrder.h"
#include "model/Misc.h"
#include "model/Number.h"
#include "model/Test.h"
#include "model/Utf8.h"

#include <algorithm>
#include <optional>

namespace mirvane {

namespace {

constexpr std::size_t kMostAnswers = 9;
// A line that begins with it is never read as a mark; the export writes it
// before a line of a text that would read as one.
constexpr std::string_view kNoMark = "\u00A0";

// The text after its leading blanks: the blanks at a line's end belong to
// its text, as the rewrap left them.
std::string_view Indented(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

std::string_view Blanks(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The letter lowercased, when it is one of the two alphabets' letters.
std::optional<char32_t> AnswerLetter(char32_t c)
{
    if (c >= U'A' && c <= U'Z')
        return c - U'A' + U'a';
    if (c >= U'a' && c <= U'z')
        return c;
    if (c >= U'А' && c <= U'Я')
        return c - U'А' + U'а';
    if (c >= U'а' && c <= U'я')
        return c;
    if (c == U'Ё' || c == U'ё')
        return U'ё';
    return std::nullopt;
}

// The letters an automatic list gives its items, as a word processor counts.
constexpr std::u32string_view kCyrillicOrder = U"абвгдежзиклмнопрстуфхцчшщэюя";
constexpr std::u32string_view kLatinOrder = U"abcdefghijklmnopqrstuvwxyz";

enum class Kind { Text, Question, Plus, Minus, Letter, Division, AnswerLine };

struct Classified {
    Kind What = Kind::Text;
    std::string_view Rest;   // the text after the mark
    char32_t Letter = 0;     // a lettered answer's letter, lowercased
    bool Star = false;       // "*" before the letter
};

bool StartsWithCaseless(std::string_view text, std::u32string_view prefix)
{
    std::size_t pos = 0;
    for (char32_t want : prefix) {
        if (pos >= text.size())
            return false;
        const char32_t got = Utf8Next(text, pos);
        const auto a = AnswerLetter(got);
        if ((a ? *a : got) != want)
            return false;
    }
    return true;
}

// What a line (trimmed of its blanks) starts with.
Classified Classify(std::string_view line)
{
    Classified c;
    c.Rest = line;
    if (line.empty() || line.substr(0, kNoMark.size()) == kNoMark)
        return c;
    if (line[0] == '#') {
        c.What = Kind::Division;
        c.Rest = Blanks(line.substr(1));
        return c;
    }
    if (line[0] == '?') {
        c.What = Kind::Question;
        c.Rest = Indented(line.substr(1));
        return c;
    }
    if (line[0] == '+' || line[0] == '-') {
        c.What = line[0] == '+' ? Kind::Plus : Kind::Minus;
        c.Rest = Indented(line.substr(1));
        return c;
    }
    // "12. " or "12) ": digits, the mark, then a blank or nothing.
    std::size_t digits = 0;
    while (digits < line.size() && digits < 6 && line[digits] >= '0' && line[digits] <= '9')
        ++digits;
    if (digits > 0 && digits < line.size() && (line[digits] == '.' || line[digits] == ')') &&
        (digits + 1 == line.size() || line[digits + 1] == ' ' || line[digits + 1] == '\t')) {
        c.What = Kind::Question;
        c.Rest = Indented(line.substr(digits + 1));
        return c;
    }
    if (StartsWithCaseless(line, U"ответ:") || StartsWithCaseless(line, U"answer:")) {
        c.What = Kind::AnswerLine;
        c.Rest = Blanks(line.substr(line.find(':') + 1));
        return c;
    }
    // "б) ", "B. ", "*в) ": a letter, ")" or "." (then a blank or nothing).
    std::size_t pos = 0;
    std::string_view rest = line;
    if (rest[0] == '*') {
        c.Star = true;
        rest = Indented(rest.substr(1));
    }
    if (rest.empty())
        return c;
    const auto letter = AnswerLetter(Utf8Next(rest, pos));
    if (letter && pos < rest.size() &&
        (rest[pos] == ')' ||
         (rest[pos] == '.' && (pos + 1 == rest.size() || rest[pos + 1] == ' ' || rest[pos + 1] == '\t')))) {
        c.What = Kind::Letter;
        c.Letter = *letter;
        c.Rest = Indented(rest.substr(pos + 1));
        return c;
    }
    c.Star = false;
    return c;
}

bool EndsWithStar(std::string& text)
{
    const std::string_view end = Blanks(text);
    if (end.empty() || end.back() != '*')
        return false;
    text = Blanks(end.substr(0, end.size() - 1));
    return true;
}

// "{2}" or "{-1}" at the end of an answer: its score, taken off the text.
std::optional<std::int16_t> TakeScore(std::string& text)
{
    const std::size_t close = text.find_last_not_of(" \t");
    if (close == std::string::npos || text[close] != '}')
        return std::nullopt;
    const std::size_t open = text.rfind('{', close);
    if (open == std::string::npos)
        return std::nullopt;
    const std::string_view inside = std::string_view(text).substr(open + 1, close - open - 1);
    // Whole numbers only: "{1.5}" stays text.
    if (inside.find_first_of(".,") != std::string_view::npos)
        return std::nullopt;
    const auto score = ReadNumber(inside);
    if (score) {
        // The blank the export writes before the braces; any others go
        // with the text's end.
        text.erase(open);
        if (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
            text.pop_back();
    }
    return score;
}

struct PendingAnswer {
    std::string Text;
    Kind Mark = Kind::Plus; // Plus, Minus, Letter; Text for a list's item
    char32_t Letter = 0;
    std::size_t Position = 0; // among the question's answers
    bool Star = false;
    bool Emphasised = true; // every line so far
    std::optional<std::int16_t> Score;

    bool NamedBy(char32_t letter) const
    {
        if (Mark == Kind::Letter)
            return Letter == letter;
        // A list's item has the letter its place gives it, in either alphabet.
        return Mark == Kind::Text && ((Position < kCyrillicOrder.size() && kCyrillicOrder[Position] == letter) ||
                                      (Position < kLatinOrder.size() && kLatinOrder[Position] == letter));
    }
};

class MarksReader {
public:
    explicit MarksReader(ImportedTestBuilder& builder) : builder_(builder) {}

    void Line(const MarkedLine& marked, std::size_t place, int listLevel)
    {
        const std::string_view raw = marked.Text;
        const std::string_view line = Indented(raw);
        // An empty numbered paragraph, left at a list's end, is a blank line.
        const bool blank = Blanks(raw).empty();
        if (listLevel == 0 && !blank) {
            StartQuestion(line, place);
            return;
        }
        if (listLevel > 0 && !blank) {
            // The list's own letter, as if typed; the marks typed after it still count.
            Classified c = Classify(line);
            if (c.What != Kind::Plus && c.What != Kind::Minus) {
                const bool star = line[0] == '*';
                c = Classified{Kind::Text, star ? Indented(line.substr(1)) : line, 0, star};
            }
            Answer(c, marked.Emphasised, place);
            return;
        }
        if (blank) {
            Finish();
            return;
        }
        const Classified c = Classify(line);
        switch (c.What) {
        case Kind::Division:
            Finish();
            builder_.SetDivision(std::string(c.Rest));
            return;
        case Kind::Question:
            StartQuestion(c.Rest, place);
            return;
        case Kind::Plus:
        case Kind::Minus:
        case Kind::Letter:
            Answer(c, marked.Emphasised, place);
            return;
        case Kind::AnswerLine:
            if (question_ && !answers_.empty() && !closed_) {
                RightLetters(c.Rest, place);
                return;
            }
            break;
        case Kind::Text:
            break;
        }
        // A line that goes on keeps its indent.
        const std::string_view text = raw.substr(0, kNoMark.size()) == kNoMark ? raw.substr(kNoMark.size()) : raw;
        if (question_ && !closed_) {
            // The question's, or its last answer's, next line.
            std::string& to = answers_.empty() ? text_ : answers_.back().Text;
            to += '\n';
            to += text;
            if (!answers_.empty())
                answers_.back().Emphasised = answers_.back().Emphasised && marked.Emphasised;
            return;
        }
        builder_.Note(place, "текст вне вопроса пропущен (вопрос начинается с номера или «?»): " +
                                 std::string(Utf8Prefix(Blanks(text), 50)));
    }

    // A table or a picture in the paragraph: told, and the question goes on.
    void LeftOut(const std::string& what, std::size_t place) { builder_.Note(place, what); }

    void Finish()
    {
        if (!question_)
            return;
        question_ = false;
        const std::string name = QuestionCaption(text_);
        if (Blanks(text_).empty()) {
            builder_.Drop(name, line_, "у вопроса нет текста");
            return;
        }
        if (answers_.empty()) {
            builder_.Drop(name, line_, "у вопроса нет ответов");
            return;
        }
        if (answers_.size() > kMostAnswers) {
            builder_.Drop(name, line_, "ответов " + std::to_string(answers_.size()) + ", а у вопроса их не больше девяти");
            return;
        }
        for (PendingAnswer& a : answers_)
            EndAnswer(a);
        std::vector<bool> right(answers_.size(), false);
        bool marked = false;
        for (std::size_t i = 0; i < answers_.size(); ++i) {
            const PendingAnswer& a = answers_[i];
            right[i] = a.Mark == Kind::Plus || a.Star ||
                       std::any_of(rightLetters_.begin(), rightLetters_.end(), [&](char32_t l) { return a.NamedBy(l); });
            marked = marked || right[i];
        }
        // Bold or underlined type marks the right answer when nothing else
        // does, and when not every answer is so.
        const auto emphasised = std::count_if(answers_.begin(), answers_.end(), [](const auto& a) { return a.Emphasised; });
        if (!marked && emphasised > 0 && static_cast<std::size_t>(emphasised) < answers_.size()) {
            for (std::size_t i = 0; i < answers_.size(); ++i)
                right[i] = answers_[i].Emphasised;
        }
        std::vector<ImportedTestBuilder::Answer> read;
        for (std::size_t i = 0; i < answers_.size(); ++i)
            read.push_back({answers_[i].Text, static_cast<double>(answers_[i].Score.value_or(right[i] ? 1 : 0))});
        builder_.AddQuestion(name, text_, read, line_);
    }

private:
    void StartQuestion(std::string_view text, std::size_t place)
    {
        Finish();
        question_ = true;
        closed_ = false;
        text_ = text;
        line_ = place;
        answers_.clear();
        rightLetters_.clear();
    }

    void Answer(const Classified& c, bool emphasised, std::size_t place)
    {
        if (!question_ || closed_) {
            builder_.Note(place, "ответ вне вопроса пропущен: " + std::string(Utf8Prefix(c.Rest, 50)));
            return;
        }
        PendingAnswer answer;
        answer.Text = c.Rest;
        answer.Mark = c.What;
        answer.Letter = c.Letter;
        answer.Star = c.Star;
        answer.Position = answers_.size();
        answer.Emphasised = emphasised;
        // The marks at its end are read once the answer has all its lines.
        answers_.push_back(std::move(answer));
    }

    // "*" and "{score}" at the end of an answer.
    static void EndAnswer(PendingAnswer& a)
    {
        const bool lettered = a.Mark == Kind::Letter || a.Mark == Kind::Text;
        if (lettered && EndsWithStar(a.Text))
            a.Star = true;
        a.Score = TakeScore(a.Text);
        if (lettered && EndsWithStar(a.Text))
            a.Star = true;
    }

    void RightLetters(std::string_view letters, std::size_t place)
    {
        closed_ = true;
        std::size_t pos = 0;
        while (pos < letters.size()) {
            const char32_t c = Utf8Next(letters, pos);
            if (c == U' ' || c == U',' || c == U'\t' || c == U';')
                continue;
            const auto letter = AnswerLetter(c);
            if (!letter || !std::any_of(answers_.begin(), answers_.end(), [&](const auto& a) { return a.NamedBy(*letter); })) {
                builder_.Note(place, "в строке «Ответ:» нет буквы ни одного из ответов: " + std::string(letters));
                return;
            }
            rightLetters_.push_back(*letter);
        }
    }

    ImportedTestBuilder& builder_;
    bool question_ = false;
    bool closed_ = false; // its "Ответ:" line read
    std::string text_;
    std::size_t line_ = 0;
    std::vector<PendingAnswer> answers_;
    std::vector<char32_t> rightLetters_;
};

} // namespace

void ReadMarkedParagraphs(const std::vector<MarkedParagraph>& paragraphs, ImportedTestBuilder& builder,
                          const ImportProgress& progress)
{
    MarksReader reader(builder);
    // The ticker counts bytes: a paragraph is taken for a kilobyte.
    constexpr std::size_t kParagraphWeight = 1024;
    ProgressTicker ticker(progress, paragraphs.size() * kParagraphWeight);
    for (std::size_t i = 0; i < paragraphs.size(); ++i) {
        ticker.At(i * kParagraphWeight);
        const MarkedParagraph& paragraph = paragraphs[i];
        for (const std::string& what : paragraph.LeftOut)
            reader.LeftOut(what, i + 1);
        for (std::size_t l = 0; l < paragraph.Lines.size(); ++l)
            reader.Line(paragraph.Lines[l], i + 1, l == 0 ? paragraph.ListLevel : -1);
        // A paragraph of a table or a picture alone is no blank line.
        if (paragraph.Lines.empty() && paragraph.LeftOut.empty())
            reader.Line({}, i + 1, -1);
    }
    reader.Finish();
}

ImportedTest ImportMarkedText(std::string_view bytes, const std::string& fileStem, std::optional<TextEncoding> encoding,
                              const ImportProgress& progress)
{
    ImportedTest result;
    ImportedTestBuilder builder(fileStem, result);
    builder.ForMarkedDocument(false);
    const std::string text = PlainLines(QuizText(bytes, encoding));
    std::vector<MarkedParagraph> lines;
    for (std::size_t pos = 0; pos <= text.size();) {
        const std::size_t end = std::min(text.find('\n', pos), text.size());
        MarkedParagraph line;
        line.Lines.push_back({text.substr(pos, end - pos), false});
        result.SourceLines.push_back(line.Lines.back().Text);
        lines.push_back(std::move(line));
        pos = end + 1;
    }
    ReadMarkedParagraphs(lines, builder, progress);
    builder.Finish();
    return result;
}

namespace {

// A line of a text that would read as a mark, or as the blank line that
// ends a question, is written after kNoMark.
void AppendTextLines(std::string& out, std::string_view firstPrefix, std::string_view text)
{
    std::size_t pos = 0;
    bool first = true;
    while (pos <= text.size()) {
        std::size_t end = text.find('\n', pos);
        end = end == std::string_view::npos ? text.size() : end;
        std::string_view line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (first) {
            out += firstPrefix;
        } else {
            const std::string_view indented = Indented(line);
            const Classified c = Classify(indented);
            if (indented.empty() || c.What != Kind::Text || line.substr(0, kNoMark.size()) == kNoMark)
                out += kNoMark;
        }
        out += line;
        out += '\n';
        first = false;
        pos = end + 1;
    }
    if (!out.empty() && out.back() == '\n')
        out.pop_back();
}

} // namespace

std::vector<ImportedDivision> ImportOverview(const Test& test)
{
    std::vector<ImportedDivision> overview;
    for (const Division& division : test.Divisions) {
        ImportedDivision& shown = overview.emplace_back();
        shown.Name = division.Name;
        for (const Question& question : division.Questions) {
            ++shown.Questions;
            if (question.AScoreGet(question.GetBestAnswer()) <= 0)
                shown.WithoutRightAnswer.push_back(QuestionCaption(question.Q()));
        }
    }
    return overview;
}

std::string ExportMarkedText(const Test& test, const DocumentOrder& order)
{
    // The byte-order mark says UTF-8 whatever the text: a test of
    // pseudo-graphics alone would otherwise be guessed as code page 866.
    std::string out(kUtf8Mark);
    for (const DocumentOrder::DivisionEntry& entry : order.Divisions) {
        const Division& division = test.Divisions.Item(entry.Key);
        out += "# " + JoinLines(division.Name) + "\n\n";
        for (std::size_t j = 0; j < entry.QuestionKeys.size(); ++j) {
            const Question& question = QuestionInOrder(division, entry.QuestionKeys, j);
            AppendTextLines(out, std::to_string(j + 1) + ". ", question.Q());
            out += '\n';
            for (int a = 0; a < Question::kAnswerSlots; ++a) {
                if (!HasAnswerText(question, a))
                    continue;
                const int score = question.AScoreGet(a);
                const bool right = score > 0;
                const std::string_view text = question.AGet(a);
                AppendTextLines(out, right ? "+ " : "- ", text);
                // Braces the text ends with would read as its score.
                if (score != (right ? 1 : 0) || (!Blanks(text).empty() && Blanks(text).back() == '}'))
                    out += " {" + std::to_string(score) + "}";
                out += '\n';
            }
            out += '\n';
        }
    }
    return out;
}

} // namespace mirvane
