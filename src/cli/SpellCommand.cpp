#include "cli/SpellCommand.h"

#include "check/SpellChecker.h"
#include "check/SpellingWalk.h"
#include "model/DocumentOrder.h"
#include "model/Test.h"
#include "testfile/SourceLines.h"

#include <algorithm>
#include <filesystem>
#include <future>
#include <map>
#include <memory>
#include <ostream>

namespace mirvane {

namespace {

constexpr int kExitOk = 0;
constexpr int kExitUnknown = 1;
constexpr int kExitFailure = 2;

std::int64_t Breaks(std::string_view text) { return static_cast<std::int64_t>(std::count(text.begin(), text.end(), '\n')); }

// The line of the file that holds `offset` of `texts[at]`. A question's
// answers follow its text in the file, each after its ")!" line, so an
// answer's line counts the lines of the texts before it.
std::int64_t LineOf(const std::vector<SpellingText>& texts, std::size_t at, std::size_t offset,
                    const SourceLines& lines)
{
    const SpellingText& text = texts[at];
    const std::int64_t within = Breaks(text.Text.substr(0, offset));
    auto known = [](const std::vector<std::int64_t>& list, std::size_t i) { return i < list.size() ? list[i] : 0; };
    switch (text.Field) {
    case SpellingField::Title:
        return 1;
    case SpellingField::Mark:
        return lines.Marks[static_cast<std::size_t>(text.Slot)] + 1;
    case SpellingField::DivisionName:
        return known(lines.Divisions, text.Division) + 1;
    case SpellingField::QuestionText:
    case SpellingField::Answer:
        break;
    }
    std::int64_t line = known(lines.Questions, text.Question) + 1;
    std::size_t first = at;
    while (first > 0 && texts[first].Field == SpellingField::Answer)
        --first;
    for (std::size_t before = first; before < at; ++before)
        line += Breaks(texts[before].Text) + 1 + (texts[before + 1].Field == SpellingField::Answer ? 1 : 0);
    return line + within;
}

} // namespace

int Spell(const CommandLine& line, std::ostream& out, std::ostream& err, const InputEncoding& input)
{
    if (line.names.empty()) {
        Say(err, "mirvane-cli: spell takes at least one file");
        return kExitFailure;
    }
    // The dictionaries take as long to read as a large test: both at once.
    auto opening = std::async(std::launch::async, [] { return std::make_unique<SpellChecker>(); });
    std::unique_ptr<SpellChecker> opened;
    bool refused = false;
    auto dictionaries = [&]() -> SpellChecker* {
        if (!opened && !refused) {
            opened = opening.get();
            refused = true; // until all is read
            if (!opened->Available()) {
                Say(err, "mirvane-cli: нет русского словаря Hunspell (пакет " +
                             std::string(SpellChecker::kDictionaryPackage) + "); орфография не проверена");
                return nullptr;
            }
            const std::string own = UserDictionaryPath();
            std::error_code ec;
            if (std::filesystem::exists(own, ec)) {
                if (auto problem = opened->AddWordList(own))
                    Say(err, *problem);
            }
            for (const std::string& list : line.Values("--dict")) {
                if (auto problem = opened->AddWordList(list)) {
                    Say(err, *problem);
                    return nullptr;
                }
            }
            refused = false;
        }
        return refused ? nullptr : opened.get();
    };
    bool unreadable = false;
    bool unknown = false;
    std::map<std::string, std::string> corrections; // each word's, asked once
    for (const std::string& file : line.names) {
        auto test = std::make_unique<Test>();
        SourceLines lines;
        if (!LoadInput(file, *test, err, input, &lines)) {
            unreadable = true;
            continue;
        }
        SpellChecker* ready = dictionaries();
        if (!ready)
            return kExitFailure;
        SpellChecker& checker = *ready;
        const std::vector<SpellingText> texts = SpellingTexts(*test, DocumentOrder::FromCollections(*test));
        std::vector<std::pair<std::int64_t, std::string>> found;
        for (auto next = NextMisspelling(texts, checker, {}, texts.size()); next;
             next = NextMisspelling(texts, checker, {next->Place.Text, next->Place.Offset + next->Length}, texts.size())) {
            auto [at, fresh] = corrections.try_emplace(next->Word);
            if (fresh) {
                std::string joined;
                for (const std::string& suggestion : checker.Suggest(next->Word))
                    joined += (joined.empty() ? " → " : ", ") + suggestion;
                at->second = joined;
            }
            found.emplace_back(LineOf(texts, next->Place.Text, next->Place.Offset, lines),
                               "«" + next->Word + "»" + at->second);
        }
        // Marks may stand anywhere among the test's settings.
        std::stable_sort(found.begin(), found.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        for (const auto& [at, text] : found)
            Say(out, file + ':' + std::to_string(at) + ": " + text);
        unknown = unknown || !found.empty();
    }
    return unreadable ? kExitFailure : unknown ? kExitUnknown : kExitOk;
}

} // namespace mirvane
