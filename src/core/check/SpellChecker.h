#pragma once
// Spelling over Hunspell: the Russian dictionary, the English one for Latin
// words, the user's own word list and the words skipped for the session.
// Each word is asked of the dictionaries once; the answer is kept.
//
// Without the Russian dictionary the checker is off: Available() is false,
// every word is known and nothing is suggested.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class Hunspell;

namespace mirvane {

class SpellChecker {
public:
    static constexpr std::string_view kDictionaryFolder = "/usr/share/hunspell";
    // The Debian package a machine without the Russian dictionary lacks.
    static constexpr std::string_view kDictionaryPackage = "hunspell-ru";

    // Opens ru_RU (and en_US when there) in `folder`.
    explicit SpellChecker(const std::string& folder = DictionaryFolder());

    // $MIRVANE_DICTIONARIES when set (another set of dictionaries, or none),
    // else Debian's folder.
    static std::string DictionaryFolder();
    ~SpellChecker();
    SpellChecker(const SpellChecker&) = delete;
    SpellChecker& operator=(const SpellChecker&) = delete;

    bool Available() const { return !dictionaries_.empty(); }

    // `word` is UTF-8. "ё" and "е" are taken for each other; a hyphenated
    // word the dictionary does not know whole is known when its parts are.
    bool IsKnown(std::string_view word);

    // Up to `count` corrections, best first, in UTF-8.
    std::vector<std::string> Suggest(std::string_view word, std::size_t count = 5);

    // Known for the rest of the session.
    void SkipAll(std::string_view word);

    // Reads a word list (UTF-8, one word a line) into the known words.
    // Nothing when read; otherwise why not, in Russian.
    std::optional<std::string> AddWordList(const std::string& path);

    // The word made known and appended to the user's list at `path` (the
    // folder made when missing). Nothing when written; otherwise why not.
    std::optional<std::string> AddToDictionary(std::string_view word, const std::string& path);

    // How many words were asked of the dictionaries (not of the cache).
    std::size_t LookUps() const { return lookUps_; }

private:
    struct Dictionary;
    bool AskDictionaries(const std::string& word);
    bool AskWhole(const std::string& word);
    void Learn(const std::string& word);

    std::vector<std::unique_ptr<Dictionary>> dictionaries_;
    std::unordered_map<std::string, bool> checked_;
    std::unordered_set<std::string> ownWords_;
    std::size_t lookUps_ = 0;
};

// The user's own dictionary: words.txt in Mirvane's folder of the user's
// data ($XDG_DATA_HOME, else ~/.local/share), shared by the editor and
// mirvane-cli.
std::string UserDictionaryPath();

} // namespace mirvane
