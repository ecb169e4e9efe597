#include "interchange/ImportedTestBuilder.h"

#include "model/KeyCounter.h"
#include "model/Misc.h"
#include "model/NodeKey.h"
#include "model/StorableText.h"
#include "model/Test.h"
#include "model/Utf8.h"

#include <algorithm>
#include <cmath>
#include <charconv>
#include <cstdlib>

namespace mirvane {

namespace {

constexpr int kAnswersKept = 9;
// The most questions a division may ask: a test file asking more is not
// read back as written.
constexpr std::size_t kMostAsked = 25;
constexpr double kFractions[] = {100, 90, 83.33333, 80, 75, 70, 66.66667, 60, 50, 40, 33.33333,
                                 30,  25, 20,       16.66667, 14.28571, 12.5, 11.11111, 10, 5, 0};

} // namespace

double MoodleFraction(int score, int bestScore)
{
    if (score == bestScore)
        return 100;
    if (bestScore <= 0)
        return score > bestScore ? 100 : 0;
    const double share = 100.0 * score / bestScore;
    double nearest = 0;
    double distance = 1e9;
    for (double f : kFractions) {
        for (double signed_ : {f, -f}) {
            const double d = std::fabs(share - signed_);
            if (d < distance) {
                distance = d;
                nearest = signed_;
            }
        }
    }
    return nearest;
}

std::string FractionText(double fraction)
{
    // to_chars, not printf: a Russian locale would write a decimal comma.
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, fraction, std::chars_format::fixed, 5);
    std::string text(buffer, written.ptr);
    while (!text.empty() && text.back() == '0')
        text.pop_back();
    if (!text.empty() && text.back() == '.')
        text.pop_back();
    return text == "-0" ? "0" : text;
}

double ReadFraction(std::string_view text)
{
    text = text.substr(text.find_first_not_of(" \t") == std::string_view::npos ? text.size() : text.find_first_not_of(" \t"));
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    double value = 0;
    const auto read = std::from_chars(text.data(), text.data() + text.size(), value);
    return read.ec == std::errc() && std::isfinite(value) ? value : 0;
}

std::int16_t ScoreFromFraction(double fraction)
{
    const double score = std::nearbyint(fraction / 10.0); // the default rounding is half to even
    return static_cast<std::int16_t>(std::clamp(score, -32768.0, 32767.0));
}

QuizFormat DetectQuizFormat(std::string_view text, std::string_view fileName)
{
    auto endsWith = [&](std::string_view suffix) {
        if (fileName.size() < suffix.size())
            return false;
        const std::string_view tail = fileName.substr(fileName.size() - suffix.size());
        return std::equal(tail.begin(), tail.end(), suffix.begin(),
                          [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
    };
    if (endsWith(".xml"))
        return QuizFormat::MoodleXml;
    if (endsWith(".gift"))
        return QuizFormat::Gift;
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first != std::string_view::npos && text[first] == '<')
        return QuizFormat::MoodleXml;
    if (text.find("ANSWER:") != std::string_view::npos && text.find('{') == std::string_view::npos)
        return QuizFormat::Aiken;
    return QuizFormat::Gift;
}

ImportedTest ImportQuiz(QuizFormat format, std::string_view text, const std::string& fileStem)
{
    switch (format) {
    case QuizFormat::MoodleXml:
        return ImportMoodleXml(text, fileStem);
    case QuizFormat::Aiken:
        return ImportAiken(text, fileStem);
    case QuizFormat::Gift:
    default:
        return ImportGift(text, fileStem);
    }
}

bool AppendEntity(std::string_view entity, std::string& out)
{
    if (entity == "amp") out += '&';
    else if (entity == "lt") out += '<';
    else if (entity == "gt") out += '>';
    else if (entity == "quot") out += '"';
    else if (entity == "apos") out += '\'';
    else if (entity == "nbsp") out += ' ';
    else if (entity.size() > 1 && entity[0] == '#') {
        const bool hex = entity[1] == 'x' || entity[1] == 'X';
        const std::string digits(entity.substr(hex ? 2 : 1));
        if (digits.empty() || digits.size() > 8)
            return false;
        char* end = nullptr;
        const unsigned long code = std::strtoul(digits.c_str(), &end, hex ? 16 : 10);
        if (*end != '\0' || code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        AppendUtf8(out, static_cast<char32_t>(code));
    } else {
        return false;
    }
    return true;
}

std::string PlainFromHtml(std::string_view html)
{
    std::string out;
    std::size_t i = 0;
    while (i < html.size()) {
        const char c = html[i];
        if (c == '<') {
            const std::size_t close = html.find('>', i);
            if (close == std::string_view::npos)
                break;
            std::string tag(html.substr(i + 1, close - i - 1));
            std::transform(tag.begin(), tag.end(), tag.begin(), [](unsigned char ch) { return std::tolower(ch); });
            const std::string name = tag.substr(0, tag.find_first_of(" \t\r\n/", tag[0] == '/' ? 1 : 0));
            if (name == "br" || name == "/p" || name == "/div" || name == "/li" || name == "/h1" || name == "/h2" ||
                name == "/h3" || name == "/tr")
                out += '\n';
            i = close + 1;
        } else if (c == '&') {
            const std::size_t semicolon = html.find(';', i);
            if (semicolon != std::string_view::npos && semicolon - i <= 10 &&
                AppendEntity(html.substr(i + 1, semicolon - i - 1), out)) {
                i = semicolon + 1;
            } else {
                out += c;
                ++i;
            }
        } else {
            out += c == '\r' || c == '\n' || c == '\t' ? ' ' : c;
            ++i;
        }
    }
    return out;
}

std::string Trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    const std::size_t last = text.find_last_not_of(" \t\r\n");
    return std::string(text.substr(first, last - first + 1));
}

std::string PlainLines(std::string_view text)
{
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            out += '\n';
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string ModelText(std::string_view text)
{
    std::string lines;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            lines += '\n';
        } else {
            lines += text[i];
        }
    }
    // Each line trimmed of its blanks, empty lines at both ends dropped.
    std::vector<std::string> kept;
    std::size_t start = 0;
    while (start <= lines.size()) {
        const std::size_t end = std::min(lines.find('\n', start), lines.size());
        std::string_view line = std::string_view(lines).substr(start, end - start);
        const std::size_t first = line.find_first_not_of(" \t");
        line = first == std::string_view::npos ? std::string_view() : line.substr(first, line.find_last_not_of(" \t") - first + 1);
        kept.emplace_back(line);
        start = end + 1;
    }
    while (!kept.empty() && kept.back().empty())
        kept.pop_back();
    std::size_t first = 0;
    while (first < kept.size() && kept[first].empty())
        ++first;
    std::string joined;
    for (std::size_t i = first; i < kept.size(); ++i) {
        if (i > first)
            joined += "\r\n";
        joined += kept[i];
    }
    return ToStorableText(joined);
}

ImportedTestBuilder::ImportedTestBuilder(const std::string& fileStem, ImportedTest& result)
    : fileStem_(fileStem), result_(result)
{
    result_.Read = std::make_unique<Test>();
    result_.Read->TestName = ModelText(fileStem);
    for (std::size_t at; (at = result_.Read->TestName.find("\r\n")) != std::string::npos;)
        result_.Read->TestName.replace(at, 2, " ");
}

void ImportedTestBuilder::SetCategory(const std::string& path)
{
    category_ = path;
    if (path.size() > 1 && path[0] == '$') {
        const std::size_t slash = path.find("$/");
        category_ = slash == std::string::npos ? std::string() : path.substr(slash + 2);
    }
}

Division& ImportedTestBuilder::DivisionNamed(const std::string& name)
{
    // A division's name is one line of the test file.
    std::string shown = name.empty() ? ModelText(fileStem_) : ModelText(name);
    for (std::size_t at; (at = shown.find("\r\n")) != std::string::npos;)
        shown.replace(at, 2, " ");
    if (auto it = divisions_.find(shown); it != divisions_.end())
        return *it->second;
    const std::string key = NextKey(NodeKind::Division);
    auto division = std::make_unique<Division>();
    division->Name = shown;
    Division& added = result_.Read->Divisions.Add(key, std::move(division));
    divisions_.emplace(shown, &added);
    return added;
}

void ImportedTestBuilder::AddQuestion(const std::string& name, const std::string& text,
                                      const std::vector<Answer>& answers, std::size_t line)
{
    Division& division = DivisionNamed(category_);
    auto question = std::make_unique<Question>();
    question->QSet(ModelText(text));
    const int kept = std::min(static_cast<int>(answers.size()), kAnswersKept);
    for (int i = 0; i < kept; ++i) {
        question->ASet(i, ModelText(answers[static_cast<std::size_t>(i)].Text));
        question->AScoreSet(i, ScoreFromFraction(answers[static_cast<std::size_t>(i)].Fraction));
    }
    if (static_cast<int>(answers.size()) > kAnswersKept)
        result_.Notes.push_back("строка " + std::to_string(line) + ": вопрос «" + name + "»: ответов " +
                                std::to_string(answers.size()) + ", сохранены первые девять");
    division.Questions.Add(NextKey(NodeKind::Question), std::move(question));
}

void ImportedTestBuilder::Skip(const std::string& type, const std::string& name, std::size_t line)
{
    ++result_.Skipped;
    result_.Notes.push_back("строка " + std::to_string(line) + ": вопрос «" + name + "» (" + type +
                            ") пропущен: проигрыватель показывает только вопросы с выбором ответа");
}

void ImportedTestBuilder::Finish()
{
    for (Division& division : result_.Read->Divisions)
        division.NQ = static_cast<std::int16_t>(std::min<std::size_t>(division.Questions.Count(), kMostAsked));
}

} // namespace mirvane
