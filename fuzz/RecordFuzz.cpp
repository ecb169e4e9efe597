// Feeds arbitrary text to the clipboard record parser. Beyond not crashing: a
// parsed question, built into a record again and parsed once more, keeps its
// text, its nine panel answers and their scores; the questions of the records
// a list holds, put into a list again one record each, come back one record
// each, in their order.
#include "clipboard/ClipboardRecord.h"
#include "model/Question.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

void CheckQuestionRoundTrip(const mirvane::RecordQuestion& parsed)
{
    mirvane::Question q;
    q.QSet(parsed.Q);
    for (int i = 0; i < 9; ++i) {
        q.ASet(i, parsed.Answers[i]);
        q.AScoreSet(i, parsed.Scores[i]);
    }
    const mirvane::ClipboardRecord again = mirvane::ParseClipboardRecord(mirvane::BuildQuestionRecord(q));
    if (again.Questions.size() != 1)
        __builtin_trap();
    const mirvane::RecordQuestion& back = again.Questions[0];
    // Text lines that look like tags, lone CR or LF and leading empty lines do
    // not survive a record by design; compare only texts that are plain lines.
    auto plain = [](std::string_view s) {
        if (!s.empty() && (s.substr(0, 2) == "\r\n" || s.front() == '\n'))
            return false;
        std::size_t start = 0;
        while (start <= s.size()) {
            std::size_t end = s.find("\r\n", start);
            std::string_view line = s.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
            if (line.find('\r') != std::string_view::npos || line.find('\n') != std::string_view::npos)
                return false;
            if (line.substr(0, 2) == ")?" || line.substr(0, 2) == ")!" || line.substr(0, 2) == ")*" ||
                line.substr(0, 2) == "):")
                return false;
            if (end == std::string_view::npos)
                break;
            start = end + 2;
        }
        return true;
    };
    if (plain(parsed.Q) && back.Q != parsed.Q)
        __builtin_trap();
    for (int i = 0; i < 9; ++i) {
        if (back.Scores[i] != parsed.Scores[i])
            __builtin_trap();
        if (plain(parsed.Answers[i]) && back.Answers[i] != parsed.Answers[i])
            __builtin_trap();
    }
}

void CheckListRoundTrip(const std::vector<mirvane::ClipboardRecord>& records)
{
    std::vector<std::string> parts;
    std::vector<std::int16_t> firstScores;
    for (const mirvane::ClipboardRecord& record : records) {
        for (const mirvane::RecordQuestion& parsed : record.Questions) {
            mirvane::Question q;
            q.QSet(parsed.Q);
            for (int i = 0; i < 9; ++i) {
                q.ASet(i, parsed.Answers[i]);
                q.AScoreSet(i, parsed.Scores[i]);
            }
            parts.push_back(mirvane::BuildQuestionRecord(q));
            firstScores.push_back(parsed.Scores[0]);
        }
    }
    const std::vector<mirvane::ClipboardRecord> again =
        mirvane::ParseClipboardRecords(mirvane::BuildListRecord(parts));
    if (again.size() != parts.size())
        __builtin_trap();
    for (std::size_t i = 0; i < again.size(); ++i) {
        if (again[i].RecordKind != mirvane::ClipboardRecord::Kind::Question || again[i].Questions.size() != 1 ||
            again[i].Questions[0].Scores[0] != firstScores[i])
            __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const mirvane::ClipboardRecord record = mirvane::ParseClipboardRecord(text);
    if (record.RecordKind == mirvane::ClipboardRecord::Kind::Question)
        CheckQuestionRoundTrip(record.Questions.at(0));
    const std::vector<mirvane::ClipboardRecord> records = mirvane::ParseClipboardRecords(text);
    for (const mirvane::ClipboardRecord& each : records)
        if (each.RecordKind == mirvane::ClipboardRecord::Kind::None)
            __builtin_trap();
    CheckListRoundTrip(records);
    return 0;
}
