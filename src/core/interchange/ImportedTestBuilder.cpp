#include "interchange/ImportedTestBuilder.h"

#include "model/CodePage.h"
#include "model/KeyCounter.h"
#include "model/Misc.h"
#include "model/NodeKey.h"
#include "model/StorableText.h"
#include "model/Test.h"
#include "model/Utf8.h"
#include "testfile/FileIo.h"

#include <algorithm>
#include <cmath>
#include <charconv>
#include <cstdlib>
#include <numeric>

namespace mirvane {

namespace {

constexpr int kAnswersKept = 9;
// The most questions the player asks in one run, over all divisions.
constexpr std::size_t kMostAsked = 25;
// A note names at most this many characters of a question or an answer.
constexpr std::size_t kNamedCharacters = 50;
// A note on dropped answers names this many of them, then counts the rest.
constexpr std::size_t kNamedAnswers = 5;

bool IsControl(unsigned char c) { return (c < 0x20 && c != '\t' && c != '\r' && c != '\n') || c == 0x7F; }

// Control characters the test file would hold raw become "?"; the count is
// added to `replaced`.
std::string WithoutControls(std::string text, int& replaced)
{
    for (char& c : text) {
        if (IsControl(static_cast<unsigned char>(c))) {
            c = '?';
            ++replaced;
        }
    }
    return text;
}

// A text as the panel stores it: the model's line breaks and characters,
// rewrapped so that no line reads as a command of the test file.
std::string PanelText(std::string_view text, int& controls, bool lineBlanks)
{
    return WrapEditText(WithoutControls(ModelText(text, lineBlanks), controls), 0).Text;
}

// A text quoted in a note: one line, at most 50 characters.
std::string Quoted(std::string_view text)
{
    int controls = 0;
    const std::string line = WithoutControls(JoinLines(text), controls);
    const std::string_view shown = Utf8Prefix(line, kNamedCharacters);
    return "«" + TrimSpaces(shown) + (shown.size() < line.size() ? "...»" : "»");
}

void AppendUtf16(std::string& out, std::string_view bytes, bool bigEndian)
{
    auto unit = [&](std::size_t i) {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<char32_t>(bigEndian ? (a << 8 | b) : (b << 8 | a));
    };
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        char32_t cp = unit(i);
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 3 < bytes.size() && unit(i + 2) >= 0xDC00 && unit(i + 2) <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
            i += 2;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        AppendUtf8(out, cp);
    }
}

// Whether decoded text is what a text file holds: no NUL, and control
// characters rare (a test may hold a few, such as 866's arrows).
bool LooksLikeText(std::string_view text)
{
    if (text.find('\0') != std::string_view::npos)
        return false;
    const std::string_view sample = text.substr(0, 64 * 1024);
    const auto controls = std::count_if(sample.begin(), sample.end(), [](char c) {
        return IsControl(static_cast<unsigned char>(c)) && c != '\f';
    });
    return static_cast<std::size_t>(controls) * 20 <= sample.size();
}
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
            if (signed_ == 100)
                continue; // only the best answers earn full credit
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
    const double score = std::nearbyint(fraction); // the default rounding is half to even
    return static_cast<std::int16_t>(std::clamp(score, -32768.0, 32767.0));
}

namespace {

bool EndsWithCaseless(std::string_view fileName, std::string_view suffix)
{
    if (fileName.size() < suffix.size())
        return false;
    const std::string_view tail = fileName.substr(fileName.size() - suffix.size());
    return std::equal(tail.begin(), tail.end(), suffix.begin(),
                      [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
}

// GIFT's answers stand in braces: "{=right ~wrong}", "{#3}", "{T}", "{}";
// a score in the marks is "{2}".
bool HasGiftAnswers(std::string_view text)
{
    if (text.find("::") != std::string_view::npos)
        return true;
    for (std::size_t open = text.find('{'); open != std::string_view::npos; open = text.find('{', open + 1)) {
        const std::size_t next = text.find_first_not_of(" \t\r\n", open + 1);
        if (next == std::string_view::npos)
            break;
        const std::string_view rest = text.substr(next, 6);
        if (std::string_view("=~#}").find(rest[0]) != std::string_view::npos || rest.substr(0, 2) == "T}" ||
            rest.substr(0, 2) == "F}" || rest.substr(0, 5) == "TRUE}" || rest.substr(0, 6) == "FALSE}")
            return true;
    }
    return false;
}

// A line that begins with a question's number ("1. ", "12) ") or "?".
bool HasNumberedQuestion(std::string_view text)
{
    for (std::size_t pos = 0; pos < text.size();) {
        std::size_t end = text.find('\n', pos);
        end = end == std::string_view::npos ? text.size() : end;
        const std::string_view line = text.substr(pos, end - pos);
        const std::size_t first = line.find_first_not_of(" \t");
        if (first != std::string_view::npos) {
            std::size_t digits = first;
            while (digits < line.size() && line[digits] >= '0' && line[digits] <= '9')
                ++digits;
            if (line[first] == '?' || (digits > first && digits + 1 < line.size() &&
                                       (line[digits] == '.' || line[digits] == ')') &&
                                       (line[digits + 1] == ' ' || line[digits + 1] == '\t')))
                return true;
        }
        pos = end + 1;
    }
    return false;
}

} // namespace

QuizFormat DetectQuizFormat(std::string_view text, std::string_view fileName)
{
    auto endsWith = [&](std::string_view suffix) { return EndsWithCaseless(fileName, suffix); };
    if (endsWith(".xml"))
        return QuizFormat::MoodleXml;
    if (endsWith(".gift"))
        return QuizFormat::Gift;
    if (endsWith(".docx"))
        return QuizFormat::Docx;
    if (endsWith(".odt"))
        return QuizFormat::Odt;
    // A zip archive: an OpenDocument names its kind in its first, stored part.
    if (text.substr(0, kZipSignature.size()) == kZipSignature)
        return text.substr(0, 256).find("application/vnd.oasis.opendocument") != std::string_view::npos ? QuizFormat::Odt
                                                                                                      : QuizFormat::Docx;
    if (text.substr(0, kUtf8Mark.size()) == kUtf8Mark)
        text.remove_prefix(kUtf8Mark.size());
    // UTF-16 is told by its text, not by its bytes.
    if (text.substr(0, 2) == "\xFF\xFE" || text.substr(0, 2) == "\xFE\xFF") {
        std::string decoded;
        AppendUtf16(decoded, text.substr(2, 64 * 1024), text[0] == '\xFE');
        return DetectQuizFormat(decoded, fileName);
    }
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first != std::string_view::npos && text[first] == '<')
        return QuizFormat::MoodleXml;
    const std::string_view sample = text.substr(0, 256 * 1024);
    if (HasGiftAnswers(sample))
        return QuizFormat::Gift;
    if (HasNumberedQuestion(sample))
        return QuizFormat::MarkedText;
    if (text.find("ANSWER:") != std::string_view::npos && text.find('{') == std::string_view::npos)
        return QuizFormat::Aiken;
    return QuizFormat::Gift;
}

ImportedTest ImportQuiz(QuizFormat format, std::string_view text, const std::string& fileStem,
                        std::optional<TextEncoding> encoding, const ImportProgress& progress)
{
    switch (format) {
    case QuizFormat::MoodleXml:
        return ImportMoodleXml(text, fileStem, progress);
    case QuizFormat::Aiken:
        return ImportAiken(text, fileStem, encoding, progress);
    case QuizFormat::MarkedText:
        return ImportMarkedText(text, fileStem, encoding, progress);
    case QuizFormat::Docx:
        return ImportDocx(text, fileStem, progress);
    case QuizFormat::Odt:
        return ImportOdt(text, fileStem, progress);
    case QuizFormat::Gift:
    default:
        return ImportGift(text, fileStem, encoding, progress);
    }
}

ProgressTicker::ProgressTicker(const ImportProgress& progress, std::size_t total) : progress_(progress), total_(total)
{
}

void ProgressTicker::Tell(std::size_t done)
{
    // Often enough for a bar to move, seldom enough to cost nothing.
    constexpr std::size_t kStretch = 64 * 1024;
    next_ = done + kStretch;
    if (progress_ && !progress_(std::min(done, total_), total_))
        throw ImportCancelled();
}

namespace {
// The bytes, each one that starts no UTF-8 character as U+FFFD.
std::string ValidUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t pos = 0; pos < bytes.size();) {
        if (static_cast<unsigned char>(bytes[pos]) < 0x80)
            out += bytes[pos++];
        else
            AppendUtf8(out, Utf8Next(bytes, pos));
    }
    return out;
}
} // namespace

std::string QuizText(std::string_view bytes, std::optional<TextEncoding> encoding)
{
    // A .docx, .odt or .zip: the archive's own signature, whatever follows.
    if (bytes.substr(0, kZipSignature.size()) == kZipSignature)
        throw ImportError(1, "не текстовый файл");
    std::string text;
    if (bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF") {
        AppendUtf16(text, bytes.substr(2), bytes[0] == '\xFE');
    } else if (bytes.substr(0, kUtf8Mark.size()) == kUtf8Mark) {
        // A byte that starts no character becomes U+FFFD: the test holds
        // UTF-8 only, whatever the mark promised.
        text = ValidUtf8(bytes.substr(kUtf8Mark.size()));
    } else {
        switch (encoding ? *encoding : GuessEncoding(bytes)) {
        case TextEncoding::Utf8:
            text = ValidUtf8(bytes);
            break;
        case TextEncoding::Cp1251:
            text = CodePage::Windows().Decode(bytes);
            break;
        default:
            text = CodePage::Dos().Decode(bytes);
            break;
        }
    }
    if (!LooksLikeText(text))
        throw ImportError(1, "не текстовый файл");
    return text;
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
    if (text.substr(0, kUtf8Mark.size()) == kUtf8Mark)
        text.remove_prefix(kUtf8Mark.size());
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

std::string ModelText(std::string_view text, bool lineBlanks)
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
    // Each line made plain, then trimmed of its blanks (a soft hyphen or a
    // typographic space at its start must not leave a blank the export
    // would lose), empty lines at both ends dropped.
    std::vector<std::string> kept;
    std::size_t start = 0;
    while (start <= lines.size()) {
        const std::size_t end = std::min(lines.find('\n', start), lines.size());
        const std::string plain = ToStorableText(std::string_view(lines).substr(start, end - start));
        std::string_view line = plain;
        const std::size_t first = line.find_first_not_of(" \t");
        // Inside a text whose blanks are kept, a line of blanks alone (the
        // rewrap leaves one where it broke a run of blanks) stays as it is.
        if (first == std::string_view::npos && !lineBlanks)
            line = {};
        else if (!lineBlanks)
            line = line.substr(first, line.find_last_not_of(" \t") - first + 1);
        kept.emplace_back(line);
        start = end + 1;
    }
    const auto blank = [](const std::string& line) { return line.find_first_not_of(" \t") == std::string::npos; };
    while (!kept.empty() && blank(kept.back()))
        kept.pop_back();
    std::size_t first = 0;
    while (first < kept.size() && blank(kept[first]))
        ++first;
    if (lineBlanks && first < kept.size()) {
        kept[first].erase(0, kept[first].find_first_not_of(" \t"));
        kept.back().erase(kept.back().find_last_not_of(" \t") + 1);
    }
    std::string joined;
    for (std::size_t i = first; i < kept.size(); ++i) {
        if (i > first)
            joined += "\r\n";
        joined += kept[i];
    }
    return joined;
}

bool HasAnswerText(const Question& question, int slot) { return !TrimBlanks(question.AGet(slot)).empty(); }

AnswersWithText CountAnswersWithText(const Question& question)
{
    AnswersWithText found;
    for (int a = 0; a < Question::kAnswerSlots; ++a) {
        if (!HasAnswerText(question, a))
            continue;
        ++found.Count;
        if (found.Best < 0 || question.AScoreGet(a) > question.AScoreGet(found.Best))
            found.Best = a;
    }
    return found;
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
    // Moodle's exports put every category under its root, "top".
    if (category_ == "top")
        category_.clear();
    else if (category_.rfind("top/", 0) == 0)
        category_.erase(0, 4);
}

Division& ImportedTestBuilder::DivisionNamed(const std::string& name)
{
    // A division's name is one line of the test file.
    int controls = 0;
    std::string shown = WithoutControls(name.empty() ? ModelText(fileStem_) : ModelText(name), controls);
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

void ImportedTestBuilder::Note(std::size_t line, const std::string& text)
{
    // One line of valid UTF-8, whatever bytes the file held.
    std::string note = place_ + std::to_string(line) + ": ";
    for (std::size_t pos = 0; pos < text.size();) {
        const char32_t cp = Utf8Next(text, pos);
        AppendUtf8(note, cp < 0x20 || cp == 0x7F ? U' ' : cp);
    }
    result_.NoteLines.resize(result_.Notes.size(), 0);
    result_.Notes.push_back(std::move(note));
    result_.NoteLines.push_back(line);
}

bool ImportedTestBuilder::AddQuestion(const std::string& name, const std::string& text,
                                      const std::vector<Answer>& answers, std::size_t line)
{
    const std::string named = "вопрос " + Quoted(name);
    int controls = 0;
    struct Kept {
        std::string Text;
        double Fraction;
    };
    std::vector<Kept> kept;
    for (const Answer& answer : answers) {
        std::string shown = PanelText(answer.Text, controls, scoresWritten_);
        // As the panel stores it: an answer blank to the player is no answer.
        if (!TrimBlanks(shown).empty())
            kept.push_back({std::move(shown), answer.Fraction});
    }
    if (kept.size() < 2) {
        Drop(name, line, kept.empty() ? "нет ни одного ответа с текстом" : "только один ответ с текстом");
        return false;
    }
    if (kept.size() > kAnswersKept) {
        // The best nine stay, in their order; the rest are named.
        std::vector<std::size_t> order(kept.size());
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(),
                         [&](std::size_t a, std::size_t b) { return kept[a].Fraction > kept[b].Fraction; });
        std::vector<bool> stays(kept.size(), false);
        for (std::size_t i = 0; i < kAnswersKept; ++i)
            stays[order[i]] = true;
        std::string dropped;
        std::size_t droppedCount = 0;
        std::vector<Kept> best;
        for (std::size_t i = 0; i < kept.size(); ++i) {
            if (stays[i])
                best.push_back(std::move(kept[i]));
            else if (++droppedCount <= kNamedAnswers)
                dropped += (dropped.empty() ? "" : ", ") + Quoted(kept[i].Text);
        }
        if (droppedCount > kNamedAnswers)
            dropped += " и ещё " + std::to_string(droppedCount - kNamedAnswers);
        Note(line, named + ": ответов " + std::to_string(kept.size()) + ", сохранены девять лучших, не вошли: " + dropped);
        kept = std::move(best);
    }

    Division& division = DivisionNamed(category_);
    auto question = std::make_unique<Question>();
    question->QSet(PanelText(text, controls, scoresWritten_));
    std::string everything(question->Q());
    double bestFraction = kept[0].Fraction;
    int rightOnes = 0;
    for (std::size_t i = 0; i < kept.size(); ++i) {
        question->ASet(static_cast<int>(i), kept[i].Text);
        question->AScoreSet(static_cast<int>(i), ScoreFromFraction(kept[i].Fraction));
        everything += kept[i].Text;
        bestFraction = std::max(bestFraction, kept[i].Fraction);
        rightOnes += kept[i].Fraction > 0 ? 1 : 0;
    }
    const std::int16_t bestScore = question->AScoreGet(question->GetBestAnswer());
    int bestOnes = 0;
    for (std::size_t i = 0; i < kept.size(); ++i)
        bestOnes += question->AScoreGet(static_cast<int>(i)) == bestScore ? 1 : 0;
    if (scoresWritten_ && bestScore <= 0)
        Note(line, named + ": нет верного ответа");
    else if (bestOnes > 1)
        Note(line, named + ": ответов с наибольшим баллом " + std::to_string(bestOnes) +
                       ", а у вопроса теста верный ответ один");
    else if (rightOnes > 1 && bestFraction < 100 && !scoresWritten_)
        Note(line, named + ": несколько верных ответов с частью баллов, в тесте верен только лучший");
    if (controls > 0)
        Note(line, named + ": управляющих символов " + std::to_string(controls) + ", заменены на «?»");
    if (const std::u32string lacking = UnstorableCharacters(everything); !lacking.empty())
        Note(line, named + ": символов нет в кодовой странице 866, в файле теста станут «?»: " + ToUtf8(lacking));
    division.Questions.Add(NextKey(NodeKind::Question), std::move(question));
    return true;
}

void ImportedTestBuilder::Skip(const std::string& type, const std::string& name, std::size_t line)
{
    ++result_.Skipped;
    Note(line, "вопрос " + Quoted(name) + " (" + type +
                   ") пропущен: проигрыватель показывает только вопросы с выбором ответа");
}

void ImportedTestBuilder::Drop(const std::string& name, std::size_t line, const std::string& reason)
{
    ++result_.Skipped;
    Note(line, "вопрос " + Quoted(name) + " пропущен: " + reason);
}

void ImportedTestBuilder::LeftOut(const std::string& name, std::size_t line, const std::string& what)
{
    Note(line, "вопрос " + Quoted(name) + ": " + what);
}

void ImportedTestBuilder::Finish()
{
    Test& test = *result_.Read;
    if (test.Divisions.Count() == 0 && result_.Notes.empty())
        throw ImportError(1, "в файле нет ни одного вопроса");
    std::vector<Division*> divisions;
    std::size_t questions = 0;
    for (Division& division : test.Divisions) {
        divisions.push_back(&division);
        questions += division.Questions.Count();
    }
    std::vector<std::size_t> asked(divisions.size());
    if (questions <= kMostAsked) {
        for (std::size_t i = 0; i < divisions.size(); ++i)
            asked[i] = divisions[i]->Questions.Count();
    } else if (divisions.size() >= kMostAsked) {
        std::fill_n(asked.begin(), kMostAsked, 1);
    } else {
        // One question from each division, the rest shared by the sizes
        // beyond that one, the largest remainders first.
        const std::size_t rest = kMostAsked - divisions.size();
        const std::size_t beyond = questions - divisions.size();
        std::vector<std::pair<std::size_t, std::size_t>> remainders; // remainder, division
        std::size_t given = divisions.size();
        for (std::size_t i = 0; i < divisions.size(); ++i) {
            const std::size_t share = rest * (divisions[i]->Questions.Count() - 1);
            asked[i] = 1 + share / beyond;
            given += share / beyond;
            remainders.emplace_back(share % beyond, i);
        }
        std::stable_sort(remainders.begin(), remainders.end(),
                         [](const auto& a, const auto& b) { return a.first > b.first; });
        for (std::size_t i = 0; given < kMostAsked && i < remainders.size(); ++i, ++given)
            ++asked[remainders[i].second];
    }
    if (questions > kMostAsked)
        result_.Notes.push_back("вопросов " + std::to_string(questions) + ", а проигрыватель задаёт не больше " +
                                std::to_string(kMostAsked) + ": разделы задают их по частям");

    // The best run: each division's asked count of its best-scoring questions.
    long best = 0;
    for (std::size_t i = 0; i < divisions.size(); ++i) {
        divisions[i]->NQ = static_cast<std::int16_t>(asked[i]);
        std::vector<int> tops;
        for (const Question& question : divisions[i]->Questions)
            tops.push_back(question.AScoreGet(question.GetBestAnswer()));
        std::sort(tops.rbegin(), tops.rend());
        for (std::size_t j = 0; j < asked[i] && j < tops.size(); ++j)
            best += std::max(tops[j], 0);
    }
    test.MarkDiscriptionsSet(0, "Не сдано");
    test.MarkScoresSet(0, Test::kFailingMarkScore);
    test.MarkDiscriptionsSet(1, "Сдано");
    test.MarkScoresSet(1, static_cast<std::int16_t>(std::clamp((best + 1) / 2, 1L, 32767L)));
}

} // namespace mirvane
