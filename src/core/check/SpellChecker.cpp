#include "check/SpellChecker.h"

#include "check/SpellingWords.h"

#include <hunspell.hxx>
#include <iconv.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace mirvane {

namespace {

// Converts between encodings with iconv; an empty answer when the text does
// not convert.
std::string Convert(const std::string& text, const std::string& to, const std::string& from)
{
    iconv_t cd = iconv_open(to.c_str(), from.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1))
        return {};
    std::string out(text.size() * 4 + 4, '\0');
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    char* put = out.data();
    std::size_t outLeft = out.size();
    const std::size_t done = iconv(cd, &in, &inLeft, &put, &outLeft);
    iconv_close(cd);
    if (done == static_cast<std::size_t>(-1))
        return {};
    out.resize(out.size() - outLeft);
    return out;
}

bool IsUtf8Name(std::string name)
{
    for (char& c : name)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return name == "UTF-8" || name == "UTF8";
}

// Each "ё" as "е", and the other way round one at a time: a dictionary
// may spell either.
std::vector<std::string> YoSpellings(const std::string& word)
{
    static const std::string yo = "ё", ye = "е", bigYo = "Ё", bigYe = "Е";
    std::vector<std::string> spellings;
    std::string plain = word;
    bool changed = false;
    for (const auto& [from, to] : {std::pair{yo, ye}, std::pair{bigYo, bigYe}}) {
        for (std::size_t at = plain.find(from); at != std::string::npos; at = plain.find(from, at)) {
            plain.replace(at, from.size(), to);
            changed = true;
        }
    }
    if (changed)
        spellings.push_back(plain);
    for (const auto& [from, to] : {std::pair{ye, yo}, std::pair{bigYe, bigYo}}) {
        for (std::size_t at = word.find(from); at != std::string::npos; at = word.find(from, at + 1)) {
            std::string spelled = word;
            spelled.replace(at, from.size(), to);
            spellings.push_back(spelled);
        }
    }
    return spellings;
}

} // namespace

struct SpellChecker::Dictionary {
    Hunspell speller;
    std::string encoding; // the dictionary's own, when not UTF-8

    Dictionary(const std::string& aff, const std::string& dic) : speller(aff.c_str(), dic.c_str())
    {
        const std::string named = speller.get_dict_encoding();
        if (!IsUtf8Name(named))
            encoding = named;
    }
    std::string ToOwn(const std::string& word) const
    {
        return encoding.empty() ? word : Convert(word, encoding, "UTF-8");
    }
    std::string FromOwn(const std::string& word) const
    {
        return encoding.empty() ? word : Convert(word, "UTF-8", encoding);
    }
    bool Spell(const std::string& word)
    {
        const std::string own = ToOwn(word);
        return !own.empty() && speller.spell(own);
    }
};

SpellChecker::SpellChecker(const std::string& folder)
{
    namespace fs = std::filesystem;
    for (const char* name : {"ru_RU", "en_US"}) {
        const fs::path aff = fs::path(folder) / (std::string(name) + ".aff");
        const fs::path dic = fs::path(folder) / (std::string(name) + ".dic");
        std::error_code ec;
        if (!fs::is_regular_file(aff, ec) || !fs::is_regular_file(dic, ec)) {
            if (dictionaries_.empty())
                return; // the Russian one is what the checker is for
            continue;
        }
        dictionaries_.push_back(std::make_unique<Dictionary>(aff.string(), dic.string()));
    }
}

SpellChecker::~SpellChecker() = default;

std::string SpellChecker::DictionaryFolder()
{
    const char* named = std::getenv("MIRVANE_DICTIONARIES");
    return named ? named : std::string(kDictionaryFolder);
}

bool SpellChecker::AskWhole(const std::string& word)
{
    if (ownWords_.count(word))
        return true;
    for (auto& dictionary : dictionaries_) {
        if (dictionary->Spell(word))
            return true;
    }
    return false;
}

bool SpellChecker::AskDictionaries(const std::string& word)
{
    ++lookUps_;
    if (AskWhole(word))
        return true;
    for (const std::string& spelled : YoSpellings(word)) {
        if (AskWhole(spelled))
            return true;
    }
    if (word.find('-') == std::string::npos)
        return false;
    for (std::string_view part : HyphenParts(word)) {
        if (!part.empty() && !IsKnown(part))
            return false;
    }
    return true;
}

bool SpellChecker::IsKnown(std::string_view word)
{
    if (!Available())
        return true;
    std::string key(word);
    const auto found = checked_.find(key);
    if (found != checked_.end())
        return found->second;
    const bool known = AskDictionaries(key);
    checked_.emplace(std::move(key), known);
    return known;
}

std::vector<std::string> SpellChecker::Suggest(std::string_view word, std::size_t count)
{
    std::vector<std::string> suggestions;
    for (auto& dictionary : dictionaries_) {
        const std::string own = dictionary->ToOwn(std::string(word));
        if (own.empty())
            continue;
        for (const std::string& suggestion : dictionary->speller.suggest(own)) {
            std::string utf8 = dictionary->FromOwn(suggestion);
            if (suggestions.size() < count && !utf8.empty() &&
                std::find(suggestions.begin(), suggestions.end(), utf8) == suggestions.end())
                suggestions.push_back(std::move(utf8));
        }
        if (!suggestions.empty())
            break; // the dictionary that answers is the word's language
    }
    return suggestions;
}

void SpellChecker::Learn(const std::string& word)
{
    ownWords_.insert(word);
    checked_.clear(); // a hyphenated word may hold it
}

void SpellChecker::SkipAll(std::string_view word) { Learn(std::string(word)); }

std::optional<std::string> SpellChecker::AddWordList(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return "Не удалось прочитать словарь «" + path + "»";
    std::string line;
    while (std::getline(in, line)) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
            line.pop_back();
        const std::size_t start = line.find_first_not_of(" \t");
        if (start != std::string::npos)
            ownWords_.insert(line.substr(start));
    }
    checked_.clear();
    return std::nullopt;
}

std::optional<std::string> SpellChecker::AddToDictionary(std::string_view word, const std::string& path)
{
    Learn(std::string(word));
    std::error_code ec;
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    if (!parent.empty())
        std::filesystem::create_directories(parent, ec);
    std::ofstream out(path, std::ios::binary | std::ios::app);
    out << word << '\n';
    out.flush();
    if (!out)
        return "Не удалось записать слово в словарь «" + path + "»";
    return std::nullopt;
}

std::string UserDictionaryPath()
{
    std::filesystem::path data;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg)
        data = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        data = std::filesystem::path(home) / ".local" / "share";
    else
        data = ".";
    return (data / "mirvane" / "words.txt").string();
}

} // namespace mirvane
