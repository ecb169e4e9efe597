// Feeds arbitrary bytes to the importers (the first byte picks Moodle XML,
// GIFT or Aiken). Beyond not crashing: whatever was imported, exported again
// to each format and imported from it, is the same test but for what the
// export left out and told: the same divisions in order, and in each the
// same questions in order with the same texts, answers and best answers.
// Nothing more is left out on the way back.
#include "interchange/Interchange.h"
#include "model/DocumentOrder.h"
#include "model/KeyCounter.h"
#include "model/Test.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

// A question as the formats carry it: scores only say which answers are
// the best, since each format writes them as its own fractions.
struct Carried {
    std::string Division;
    std::string Text;
    std::vector<std::string> Answers;
    std::vector<std::size_t> Best;
    bool operator==(const Carried&) const = default;
};

std::vector<Carried> Questions(const mirvane::Test& test)
{
    std::vector<Carried> questions;
    for (const mirvane::Division& d : test.Divisions) {
        for (const mirvane::Question& q : d.Questions) {
            Carried carried{d.Name, std::string(q.Q()), {}, {}};
            const int top = q.AScoreGet(q.GetBestAnswer());
            for (int a = 0; a < mirvane::Question::kAnswerSlots; ++a) {
                if (!q.IsAnswerPresent(a))
                    continue;
                if (q.AScoreGet(a) == top)
                    carried.Best.push_back(carried.Answers.size());
                carried.Answers.emplace_back(q.AGet(a));
            }
            questions.push_back(std::move(carried));
        }
    }
    return questions;
}

// Aiken has no categories and no line breaks within a question or an
// answer, and a line read back is wrapped anew as the panel wraps it, a
// blank becoming a break: only where the blanks fall is kept.
Carried AsAiken(Carried q)
{
    auto words = [](const std::string& text) {
        std::string out;
        for (char c : text) {
            const bool blank = c == ' ' || c == '\r' || c == '\n';
            if (!blank)
                out += c;
            else if (!out.empty() && out.back() != ' ')
                out += ' ';
        }
        if (!out.empty() && out.back() == ' ')
            out.pop_back();
        return out;
    };
    q.Division.clear();
    q.Text = words(q.Text);
    for (std::string& answer : q.Answers)
        answer = words(answer);
    return q;
}

// What a note says of a question, without the line and the question's
// name, which differ between formats: what follows the name's closing
// quote. A name may hold that quote too, so each place it stands is tried.
// Nothing for a note about no question.
std::vector<std::string> AboutQuestion(const std::string& note)
{
    std::vector<std::string> tails;
    const std::size_t named = note.find("вопрос «");
    if (named == std::string::npos)
        return tails;
    for (std::size_t end = note.find("»", named); end != std::string::npos; end = note.find("»", end + 1)) {
        if (note.size() - end > std::string_view("»: ").size())
            tails.push_back(note.substr(end));
    }
    return tails;
}

using Importer = mirvane::ImportedTest (*)(std::string_view, const std::string&);
using Normalised = Carried (*)(Carried);

// An import trims the blanks at each line's ends, which a long line wrapped
// at a blank next to another or to a tab may leave.
Carried LinesTrimmed(Carried q)
{
    auto trimmed = [](const std::string& text) {
        std::string out;
        for (std::size_t start = 0; start <= text.size();) {
            const std::size_t end = std::min(text.find("\r\n", start), text.size());
            std::string line = text.substr(start, end - start);
            while (!line.empty() && (line.back() == ' ' || line.back() == '\t'))
                line.pop_back();
            line.erase(0, std::min(line.find_first_not_of(" \t"), line.size()));
            out += (start > 0 ? "\r\n" : "") + line;
            start = end + 2;
        }
        return out;
    };
    q.Text = trimmed(q.Text);
    for (std::string& answer : q.Answers)
        answer = trimmed(answer);
    return q;
}

// The export read back holds the questions read first, in their order, less
// exactly as many as the export left out. `textsKept`: false when the export
// had to change characters, so only the count can be compared.
void CheckReadBack(const mirvane::QuizExport& exported, const std::vector<Carried>& first,
                   const std::vector<std::string>& firstNotes, Importer import, bool textsKept,
                   Normalised normalised = LinesTrimmed)
{
    const auto skipped = static_cast<std::size_t>(exported.Skipped);
    if (skipped > first.size())
        __builtin_trap();
    if (skipped == first.size())
        return; // an export of nothing is no file to read back
    mirvane::ImportedTest back;
    try {
        back = import(exported.Text, "f");
    } catch (const mirvane::ImportError&) {
        __builtin_trap(); // our own export must always read back
    }
    const std::vector<Carried> again = Questions(*back.Read);
    if (back.Skipped != 0 || again.size() + skipped != first.size())
        __builtin_trap();
    // Nothing more is left out or changed: a note about a question is one
    // the first reading gave as well (a warning about the question itself),
    // and a note about no question only shares out more questions than the
    // player asks.
    std::vector<std::vector<std::string>> told;
    for (const std::string& note : firstNotes)
        told.push_back(AboutQuestion(note));
    int general = 0;
    for (const std::string& note : back.Notes) {
        if (note.find("вопрос «") == std::string::npos) {
            ++general;
            continue;
        }
        const std::vector<std::string> about = AboutQuestion(note);
        const auto same = std::find_if(told.begin(), told.end(), [&](const std::vector<std::string>& said) {
            return std::find_first_of(said.begin(), said.end(), about.begin(), about.end()) != said.end();
        });
        if (same == told.end())
            __builtin_trap();
        told.erase(same);
    }
    if (general > (again.size() > 25 ? 1 : 0))
        __builtin_trap();
    if (!textsKept)
        return;
    std::size_t matched = 0;
    for (const Carried& q : first) {
        if (matched < again.size() && normalised(again[matched]) == normalised(q))
            ++matched;
    }
    if (matched != again.size())
        __builtin_trap();
}

mirvane::ImportedTest FromXml(std::string_view text, const std::string& stem) { return mirvane::ImportMoodleXml(text, stem); }
mirvane::ImportedTest FromGift(std::string_view text, const std::string& stem) { return mirvane::ImportGift(text, stem); }
mirvane::ImportedTest FromAiken(std::string_view text, const std::string& stem) { return mirvane::ImportAiken(text, stem); }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
    mirvane::ResetKeyNumbers();
    mirvane::ImportedTest imported;
    try {
        switch (data[0] % 3) {
        case 0: imported = mirvane::ImportMoodleXml(input, "f"); break;
        case 1: imported = mirvane::ImportGift(input, "f"); break;
        default: imported = mirvane::ImportAiken(input, "f"); break;
        }
    } catch (const mirvane::ImportError&) {
        return 0;
    }
    const mirvane::Test& test = *imported.Read;
    const std::vector<Carried> first = Questions(test);
    if (first.empty())
        return 0;
    const mirvane::DocumentOrder order = mirvane::DocumentOrder::FromCollections(test);
    const mirvane::QuizExport xml = mirvane::ExportMoodleXml(test, order);
    // Moodle XML tells each question it leaves out, and once the characters
    // it had to replace.
    const std::vector<std::string>& notes = imported.Notes;
    CheckReadBack(xml, first, notes, FromXml, xml.Notes.size() == static_cast<std::size_t>(xml.Skipped));
    CheckReadBack(mirvane::ExportGift(test, order), first, notes, FromGift, true);
    CheckReadBack(mirvane::ExportAiken(test, order), first, notes, FromAiken, true, AsAiken);
    return 0;
}
