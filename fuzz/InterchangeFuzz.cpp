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

#include <cstddef>
#include <cstdint>
#include <optional>
#include <set>
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

// The divisions in order, each named once.
std::vector<std::string> Divisions(const std::vector<Carried>& questions)
{
    std::vector<std::string> names;
    for (const Carried& q : questions) {
        if (names.empty() || names.back() != q.Division)
            names.push_back(q.Division);
    }
    return names;
}

// Aiken has no categories, and no line breaks within a question or an
// answer: each is one blank.
Carried AsAiken(Carried q)
{
    auto oneLine = [](const std::string& text) {
        std::string line;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            if (text[i] == '\r' || text[i] == '\n')
                line += line.empty() || line.back() == ' ' ? "" : " ";
            else
                line += text[i];
        }
        while (!line.empty() && line.back() == ' ')
            line.pop_back();
        return line;
    };
    q.Division.clear();
    q.Text = oneLine(q.Text);
    for (std::string& answer : q.Answers)
        answer = oneLine(answer);
    return q;
}

// What a note says of a question, without the line and the question's
// name, which differ between formats; nothing for a note about no question.
std::optional<std::string> AboutQuestion(const std::string& note)
{
    const std::size_t named = note.find("вопрос «");
    const std::size_t end = named == std::string::npos ? named : note.find("»", named);
    if (end == std::string::npos)
        return std::nullopt;
    return note.substr(end);
}

std::multiset<std::string> AboutQuestions(const std::vector<std::string>& notes)
{
    std::multiset<std::string> about;
    for (const std::string& note : notes) {
        if (auto said = AboutQuestion(note))
            about.insert(*said);
    }
    return about;
}

using Importer = mirvane::ImportedTest (*)(std::string_view, const std::string&);
using Normalised = Carried (*)(Carried);
Carried AsItIs(Carried q) { return q; }

// The export read back holds the questions read first, in their order, less
// exactly as many as the export left out. `textsKept`: false when the export
// had to change characters, so only the count can be compared.
void CheckReadBack(const mirvane::QuizExport& exported, const std::vector<Carried>& first,
                   const std::vector<std::string>& firstNotes, Importer import, bool textsKept,
                   Normalised normalised = AsItIs)
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
    std::multiset<std::string> told = AboutQuestions(firstNotes);
    int general = 0;
    for (const std::string& note : back.Notes) {
        const std::optional<std::string> about = AboutQuestion(note);
        if (!about) {
            ++general;
        } else if (const auto found = told.find(*about); found != told.end()) {
            told.erase(found);
        } else {
            __builtin_trap();
        }
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
