#include "clipboard/ClipboardRecord.h"

#include "model/Division.h"
#include "model/Misc.h"
#include "model/Number.h"
#include "model/Question.h"
#include "model/TextLines.h"
#include "model/Utf8.h"

#include <algorithm>
#include <charconv>

namespace mirvane {

namespace {

constexpr int kRecordAnswerSlots = 9;

// The panel's boxes break a line at a lone CR or LF and at the Unicode line
// and paragraph separators, and store every break as CR LF.
std::string WithCrLfBreaks(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            out += "\r\n";
        } else if (text.substr(i, 3) == "\u2028" || text.substr(i, 3) == "\u2029") {
            out += "\r\n";
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

void AppendQuestionPart(std::string& out, const Question& question)
{
    AppendFileLine(out, ")?");
    AppendFileLine(out, question.Q());
    for (int i = 0; i < kRecordAnswerSlots; ++i) {
        AppendFileLine(out, ")! " + FormatNumber(question.AScoreGet(i)));
        AppendFileLine(out, question.AGet(i));
    }
}

std::vector<std::string_view> RecordLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t lf = text.find('\n', start);
        if (lf == std::string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        std::size_t end = lf;
        if (end > start && text[end - 1] == '\r')
            --end;
        lines.push_back(text.substr(start, end - start));
        start = lf + 1;
    }
    return lines;
}

// A record line's value is what follows its first three characters: the tag
// and a blank.
std::string_view AfterTag(std::string_view line) { return Utf8After(line, 3); }

std::int16_t ValueAfterTag(std::string_view line, std::int16_t fallback)
{
    return ReadNumber(AfterTag(line)).value_or(fallback);
}

void AppendContent(std::string& target, std::string_view line)
{
    if (!target.empty())
        target.append(kCrLf);
    target.append(line);
}

// Applies one line of a question part; `slot` is -1 while the text is read.
void ReadQuestionLine(RecordQuestion& q, int& slot, std::string_view line)
{
    const std::string_view tag = line.substr(0, 2);
    if (tag == ")?")
        return;
    if (tag == ")!") {
        ++slot;
        if (slot < static_cast<int>(q.Scores.size()))
            q.Scores[slot] = ValueAfterTag(line, 0);
        return;
    }
    if (slot < 0)
        AppendContent(q.Q, line);
    else if (slot < static_cast<int>(q.Answers.size()))
        AppendContent(q.Answers[slot], line);
}

} // namespace

std::string BuildQuestionRecord(const Question& question)
{
    std::string out;
    AppendFileLine(out, kQuestionMarker);
    AppendQuestionPart(out, question);
    return out;
}

std::string BuildDivisionRecord(const Division& division, const std::vector<std::string>& questionKeys)
{
    std::string out;
    AppendFileLine(out, kDivisionMarker);
    AppendFileLine(out, ")* " + FormatNumber(division.NQ));
    AppendFileLine(out, "): " + division.Name);
    for (const std::string& key : questionKeys)
        AppendQuestionPart(out, division.Questions.Item(key));
    return out;
}

void FillQuestion(Question& question, const RecordQuestion& part)
{
    question.QSet(part.Q);
    for (int i = 0; i < Question::kAnswerSlots; ++i) {
        question.ASet(i, part.Answers[static_cast<std::size_t>(i)]);
        question.AScoreSet(i, part.Scores[static_cast<std::size_t>(i)]);
    }
    // No box shows the last slot, so nothing else keeps its lines from
    // reading as commands in the saved file: a blank goes before a ")".
    std::string last = WithCrLfBreaks(part.Answers[kRecordAnswerSlots]);
    std::size_t at = 0;
    while (at < last.size()) {
        if (last[at] == ')')
            last.insert(at, 1, ' ');
        const std::size_t end = last.find("\r\n", at);
        if (end == std::string::npos)
            break;
        at = end + 2;
    }
    question.ASet(kRecordAnswerSlots, std::move(last));
}

void PassThroughPanel(Question& question)
{
    question.QSet(WrapEditText(WithCrLfBreaks(question.Q()), 0).Text);
    for (int i = 0; i < kRecordAnswerSlots; ++i) {
        const bool scoreShown = question.IsAnswerPresent(i);
        std::string text = WrapEditText(WithCrLfBreaks(question.AGet(i)), 0).Text;
        if (TrimBlanksView(text).empty())
            text.clear();
        if (!scoreShown)
            question.AScoreSet(i, 0);
        question.ASet(i, std::move(text));
    }
}

std::string BuildListRecord(const std::vector<std::string>& records)
{
    std::string out;
    AppendFileLine(out, kListMarker);
    for (const std::string& record : records) {
        AppendFileLine(out, ")= " + std::to_string(std::count(record.begin(), record.end(), '\n')));
        out += record;
    }
    return out;
}

bool IsClipboardRecord(std::string_view text)
{
    return text.substr(0, kQuestionMarker.size()) == kQuestionMarker ||
           text.substr(0, kDivisionMarker.size()) == kDivisionMarker ||
           text.substr(0, kListMarker.size()) == kListMarker;
}

ClipboardRecord ParseClipboardRecord(std::string_view text)
{
    ClipboardRecord record;
    const bool isQuestion = text.substr(0, kQuestionMarker.size()) == kQuestionMarker;
    const bool isDivision = text.substr(0, kDivisionMarker.size()) == kDivisionMarker;
    if (!isQuestion && !isDivision)
        return record;

    const std::vector<std::string_view> lines = RecordLines(text);
    int slot = -1;
    if (isQuestion) {
        record.RecordKind = ClipboardRecord::Kind::Question;
        record.Questions.emplace_back();
        for (std::size_t i = 1; i < lines.size(); ++i)
            ReadQuestionLine(record.Questions.back(), slot, lines[i]);
        return record;
    }

    record.RecordKind = ClipboardRecord::Kind::Division;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        const std::string_view tag = line.substr(0, 2);
        if (tag == ")*") {
            record.NQ = ValueAfterTag(line, 1);
        } else if (tag == "):") {
            // A name is one line of the file: a lone CR would end it there.
            const std::string_view value = AfterTag(line);
            record.Name = TrimSpaces(value.substr(0, value.find('\r')));
        } else if (tag == ")?") {
            record.Questions.emplace_back();
            slot = -1;
        } else if (!record.Questions.empty()) {
            ReadQuestionLine(record.Questions.back(), slot, line);
        }
    }
    return record;
}

std::vector<ClipboardRecord> ParseClipboardRecords(std::string_view text)
{
    std::vector<ClipboardRecord> records;
    if (text.substr(0, kListMarker.size()) != kListMarker) {
        ClipboardRecord single = ParseClipboardRecord(text);
        if (single.RecordKind != ClipboardRecord::Kind::None)
            records.push_back(std::move(single));
        return records;
    }
    // Past the end of the line that begins at `from`.
    auto nextLine = [&](std::size_t from) {
        const std::size_t lf = text.find('\n', from);
        return lf == std::string_view::npos ? text.size() : lf + 1;
    };
    std::size_t at = nextLine(0); // past the marker
    while (at < text.size()) {
        const std::size_t start = nextLine(at);
        std::string_view count = text.substr(at, start - at);
        while (!count.empty() && (count.back() == '\n' || count.back() == '\r'))
            count.remove_suffix(1);
        std::size_t lines = 0;
        if (count.substr(0, 3) != ")= " ||
            std::from_chars(count.data() + 3, count.data() + count.size(), lines).ec != std::errc() || lines == 0)
            break;
        std::size_t end = start;
        for (std::size_t i = 0; i < lines && end < text.size(); ++i)
            end = nextLine(end);
        ClipboardRecord record = ParseClipboardRecord(text.substr(start, end - start));
        if (record.RecordKind != ClipboardRecord::Kind::None)
            records.push_back(std::move(record));
        at = end;
    }
    return records;
}

} // namespace mirvane
